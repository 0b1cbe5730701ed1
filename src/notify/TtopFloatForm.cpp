#include "notify/TtopFloatForm.h"

#include <QGuiApplication>
#include <QScreen>

namespace kovan {

TtopFloatForm::TtopFloatForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("topFloatForm"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    resize(420, 33);
    setStyleSheet(QStringLiteral("background:#013E7F"));
}

void TtopFloatForm::setPos() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect work = screen->availableGeometry();
        move(work.left() + (work.width() - width()) / 2, work.top());
    }
}

} // namespace kovan
