#include "windows/TtosForm.h"

namespace kovan {

TtosForm::TtosForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tosForm"));
    setWindowTitle(QStringLiteral("用户需知"));
}

} // namespace kovan
