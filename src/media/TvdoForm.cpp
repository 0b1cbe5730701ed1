#include "media/TvdoForm.h"

namespace kovan {

TvdoForm::TvdoForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("vdoForm"));
    setWindowTitle(QStringLiteral(""));
}

} // namespace kovan
