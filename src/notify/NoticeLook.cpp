#include "notify/NoticeLook.h"

#include <QLabel>

namespace kovan::look {

QFont song(int pixelSize, bool bold) {
    QFont f(QStringLiteral("SimSun"));
    f.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("NSimSun"),
                   QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC"),
                   QStringLiteral("WenQuanYi Micro Hei")});
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

QFont tahoma(int pixelSize, bool bold) {
    QFont f(QStringLiteral("Tahoma"));
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"),
                   QStringLiteral("Noto Sans CJK SC")});
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}

QLabel* label(const QString& name, const QString& text, const QFont& font, const QColor& colour,
              QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFont(font);
    setTextColour(l, colour);
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}

} // namespace kovan::look
