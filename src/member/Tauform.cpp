#include "member/Tauform.h"

namespace kovan {

Tauform::Tauform(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("auform"));
    setWindowTitle(QStringLiteral("会员登录"));
}

} // namespace kovan
