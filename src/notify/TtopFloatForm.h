#pragma once

#include "core/PageHooks.h"

#include "core/Guarded.h"
#include "core/ProgramState.h"
#include "notify/FloatBarState.h"
#include "notify/NewsAnimate.h"

#include <QImage>
#include <QJsonObject>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class QLabel;

namespace kovan {

class ClickLabel;
class WindowDragFilter;

// The floating bar (topFloatForm): a borderless 632-pixel strip near the top of the screen
// without a taskbar button. The upper strip holds the caption (double-click pins the bar on
// top), a spinner, the news ticker and a close button; the lower strip, uncovered while the
// mouse is over the bar (33 → 75 pixels), shows the first held real-time signal.
//
// FloatBarState and NewsAnimate hold the rules; this class binds them to the height (500 ms),
// spinner (100 ms) and ticker timers. All three run only while the bar shows; the ticker
// resumes where it stood when the bar shows again.
//
// Created hidden at start-up, kept for the whole run. GUI thread only.
class TtopFloatForm : public QWidget, private NewsAnimate::View {
    Q_OBJECT
public:
    // What the bar's clicks reach. Every callable may be empty.
    struct Targets {
        ShowOptPage showoptPage;
        std::function<bool()> mainWindowVisible;
        std::function<void()> showMainWindow; // visible, where it was
        std::function<void(const QString& key)> switchPae;
        std::function<QString()> sessid;
        // The bar was closed (its close picture, or the window manager's close).
        std::function<void()> closed = {};
    };

    // `topInfoList`: the news the ticker shows; `realtimeSignals`: the held signals of the
    // instant-trade strip (GUI thread only). Both must outlive the bar.
    TtopFloatForm(Guarded<QList<topInfoRuntimeRecord>>& topInfoList,
                  const QJsonObject& realtimeSignals, QWidget* parent = nullptr);

    void setTargets(Targets targets) { m_targets = std::move(targets); }
    // The screen setPos places the bar on (default: the primary screen's geometry).
    void setScreenSource(std::function<QRect()> source) { m_screen = std::move(source); }
    // The expiry clock of the ticker (tests); default: the local wall-clock time.
    void setClock(std::function<qint64()> nowLocalSecs);

    // Places the bar 120 pixels left of the screen's right edge, 5 below its top.
    void setPos();
    // Off where the compositor places windows: the bar is dragged through it.
    void setPlacesItself(bool on);

    // Handlers, callable directly.
    void Label5Click();    // "即时交易": the strip shows the first held signal
    void Label17Click();   // "详情" (also Image7)
    void Label18Click();   // "更多" (the label)
    void Image8Click();    // "更多" (the picture)
    void Image5Click();    // close
    void Label2DblClick(); // pin / unpin
    void Image3DblClick(); // folder marker
    void ampan1Click();    // the ticker panels
    void ampan2Click();

    // Timer ticks, callable directly (tests pass the cursor position).
    void Timer1Timer(const QPoint& cursor); // height control
    void Timer2Timer();                     // spinner
    void amiTick();                         // one ticker step

    const FloatBarState& state() const { return m_state; }
    const NewsAnimate& ticker() const { return m_ticker; }
    qint64 shownSignalId() const { return m_shownId; }
    const QTimer& timer1() const { return m_Timer1; }
    const QTimer& timer2() const { return m_Timer2; }
    const QTimer& amiTimer() const { return m_amiTimer; }
    // Named children (to_sym, to_postype, to_price, to_dlstr, to_sl, to_tp, amilabel, Label2,
    // amtit1, amtit2, …) are reachable through findChild.

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // NewsAnimate::View
    void setInfos(int panel, int impant, const QString& title) override;
    void ampos(int top1, int top2) override;

    // A ticker panel ampan<n> with its stars picture amimg<n> and title amtit<n>.
    struct TickerPanel {
        QWidget* panel = nullptr;
        ClickLabel* image = nullptr;
        ClickLabel* title = nullptr;
    };
    // A "详情" / "更多" button: its picture and its caption.
    struct LinkButton {
        QString imageName, labelName, caption;
        int left = 0;
    };

    void bindDragging();
    void buildUpperStrip();
    void makeTickerPanel(int panel);
    void buildLowerStrip();
    void buildSignalFields();
    void buildLinkButtons();
    void makeLinkButton(ClickLabel*& image, ClickLabel*& label, const LinkButton& b,
                        const QPixmap& picture);
    void ampanClick(int panel); // panel 1 or 2
    void applyHeight();
    void pauseTicker();
    void resumeTicker();
    void showMainIfHidden();

    FloatBarState m_state;
    NewsAnimate m_ticker;
    const QJsonObject& m_signals;
    Targets m_targets;
    std::function<QRect()> m_screen;
    std::function<qint64()> m_now;
    qint64 m_shownId = 0; // Label17.Tag
    WindowDragFilter* m_drag = nullptr;

    QImage m_upperStrip, m_star1, m_star2, m_star3, m_folderClosed, m_folderOpen;

    QWidget* m_RzPanel1 = nullptr;
    QLabel* m_amilabel = nullptr;
    ClickLabel* m_Label2 = nullptr;
    QWidget* m_topicpanel = nullptr;
    std::array<TickerPanel, 2> m_ampan; // ampan1, ampan2
    ClickLabel* m_Image5 = nullptr;
    QWidget* m_topodpanel = nullptr;
    ClickLabel* m_Label5 = nullptr;
    ClickLabel* m_Image3 = nullptr;
    QLabel* m_to_sym = nullptr;
    QLabel* m_to_postype = nullptr;
    QLabel* m_dsell = nullptr;
    QLabel* m_dbuy = nullptr;
    QLabel* m_to_price = nullptr;
    QLabel* m_to_dlstr = nullptr;
    QLabel* m_to_sl = nullptr;
    QLabel* m_to_tp = nullptr;
    ClickLabel* m_Image7 = nullptr;
    ClickLabel* m_Label17 = nullptr;
    ClickLabel* m_Image8 = nullptr;
    ClickLabel* m_Label18 = nullptr;

    QTimer m_Timer1;          // height control, 500 ms
    QTimer m_Timer2;          // spinner, 100 ms
    QTimer m_amiTimer;        // news ticker, single shot with the wait the ticker asks for
    int m_amiRemainingMs = 0; // the ticker's wait left when the bar was hidden
};

} // namespace kovan
