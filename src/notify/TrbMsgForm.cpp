#include "notify/TrbMsgForm.h"

namespace kovan {

TrbMsgForm::TrbMsgForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("rbMsgForm"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    resize(300, 200);
}

void TrbMsgForm::showNewest() {
    // The notice list arrives with the signal commands; with no notice there is nothing to show.
}

} // namespace kovan
