#include "windows/TftForm.h"

namespace kovan {

TftForm::TftForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ftForm"));
    setWindowTitle(QStringLiteral(""));
}

} // namespace kovan
