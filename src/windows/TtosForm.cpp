#include "windows/TtosForm.h"

#include "core/Trace.h"
#include "shell/SkinImages.h"
#include "web/WebEngineSetup.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWebEngineView>

#include <exception>

namespace kovan {

namespace {
constexpr int kTile = 14; // TOPIMG13 is a 14 × 14 tile
} // namespace

TtosForm::TtosForm(SettingsStore& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_settings(settings) {
    setObjectName(QStringLiteral("tosForm"));
    setWindowTitle(QStringLiteral("用户需知"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setModal(true);
    setFixedSize(kWidth, kHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    m_tosWeb = new QWebEngineView(sharedProfile(), this);
    m_tosWeb->setObjectName(QStringLiteral("tosWeb"));
    m_tosWeb->setGeometry(0, 0, kWidth, kWebHeight);
    connect(m_tosWeb, &QWebEngineView::loadFinished, this, &TtosForm::tosWebDocumentComplete);

    m_RzPanel1 = new QWidget(this);
    m_RzPanel1->setObjectName(QStringLiteral("RzPanel1"));
    m_RzPanel1->setGeometry(0, kWebHeight, kWidth, kHeight - kWebHeight);
    m_RzPanel1->installEventFilter(this);

    m_tosagtbtn = new QPushButton(QStringLiteral("我已理解并接受以上内容"), m_RzPanel1);
    m_tosagtbtn->setObjectName(QStringLiteral("tosagtbtn"));
    m_tosagtbtn->setGeometry(202, 15, 185, 34);
    m_tosagtbtn->setCursor(Qt::PointingHandCursor);
    // Two looks, enabled and disabled, in the colour of the menu highlight.
    m_tosagtbtn->setStyleSheet(
        QStringLiteral("QPushButton{color:palette(highlighted-text);background:palette(highlight);"
                       "border:1px solid palette(dark);border-radius:3px}"
                       "QPushButton:hover{border-color:palette(highlighted-text)}"
                       "QPushButton:disabled{color:palette(mid);background:palette(button)}"));
    m_tosagtbtn->setEnabled(false);
    connect(m_tosagtbtn, &QPushButton::clicked, this, &TtosForm::tosagtbtnClick);
}

void TtosForm::loadTosUrl(const QString& url, const QString& skey) {
    m_tosagtbtn->setEnabled(false);
    m_skey = skey;
    if (!skin().appIcon.isNull())
        setWindowIcon(QIcon(QPixmap::fromImage(skin().appIcon)));
    m_tosWeb->load(QUrl(url));
}

bool TtosForm::showModal() {
    return exec() == QDialog::Accepted;
}

void TtosForm::tosWebDocumentComplete(bool ok) {
    // Only a page that arrived can be accepted: a failed load leaves the button as it is.
    if (ok)
        m_tosagtbtn->setEnabled(true);
}

void TtosForm::tosagtbtnClick() {
    if (m_skey.isEmpty() || !m_tosagtbtn->isEnabled())
        return;
    m_settings.setValue(m_skey, QStringLiteral("1"));
    try {
        m_settings.save();
    } catch (const std::exception& e) {
        trace(QStringLiteral("terms accepted, settings not saved: ") + QString::fromUtf8(e.what()));
        return;
    }
    accept();
}

void TtosForm::RzPanel1Paint() {
    QPainter p(m_RzPanel1);
    const QImage tile = skin().top(SkinImages::kPageTile);
    if (tile.isNull()) {
        p.fillRect(m_RzPanel1->rect(), palette().window());
        return;
    }
    const int w = m_RzPanel1->width(), h = m_RzPanel1->height();
    const int cols = (w + kTile - 1) / kTile, rows = (h + kTile - 1) / kTile;
    for (int c = 0; c <= cols; ++c)
        for (int r = 0; r <= rows; ++r)
            p.drawImage(QRect(kTile * c, kTile * r, kTile, kTile), tile);
}

bool TtosForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_RzPanel1 && event->type() == QEvent::Paint) {
        RzPanel1Paint();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kovan
