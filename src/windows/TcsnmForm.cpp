#include "windows/TcsnmForm.h"

#include "web/WebEngineSetup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace kovan {

TcsnmForm::TcsnmForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("csnmForm"));
    setWindowTitle(QString());
    setWindowIcon(QApplication::windowIcon());
    setFixedSize(994, 772);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_navWeb = new QWebEngineView(sharedProfile(), this);
    m_navWeb->setObjectName(QStringLiteral("navWeb"));
    layout->addWidget(m_navWeb);
}

QString TcsnmForm::captionFor(const QString& title) {
    return title.isEmpty() ? QStringLiteral("请稍候...") : title;
}

void TcsnmForm::shownormalwindow(const QString& _title, const QString& _url) {
    setWindowTitle(captionFor(_title));
    m_navWeb->load(QUrl(_url));
    show();
    raise();
    activateWindow();
}

void TcsnmForm::closeEvent(QCloseEvent* event) {
    // Stops the page (sound and video included) while the window is hidden.
    m_navWeb->load(QUrl(QStringLiteral("about:blank")));
    hide();
    event->ignore();
}

} // namespace kovan
