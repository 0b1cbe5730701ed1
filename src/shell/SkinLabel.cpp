#include "shell/SkinLabel.h"

#include <QLabel>

namespace kovan {

QLabel* skinLabel(const QString& name, const QString& text, const QFont& font, const QColor& colour,
                  QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    styleLabel(l, font, colour);
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}

void styleLabel(QLabel* label, const QFont& font, const QColor& colour) {
    label->setFont(font);
    setTextColour(label, colour);
}

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}

} // namespace kovan
