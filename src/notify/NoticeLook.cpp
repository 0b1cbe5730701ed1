#include "notify/NoticeLook.h"

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

} // namespace kovan::look
