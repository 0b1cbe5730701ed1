#include "windows/TcsnmForm.h"

namespace kovan {

TcsnmForm::TcsnmForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("csnmForm"));
    setWindowTitle(QStringLiteral(""));
}

} // namespace kovan
