#pragma once

#include "chart/AlertLinesOverlay.h"
#include "chart/ChartAlertLine.h"
#include "chart/ChartData.h"
#include "chart/ChartFeedRunner.h"
#include "chart/ChartInvalidation.h"
#include "chart/ChartView.h"
#include "chart/TChart.h"

#include <QDateTime>
#include <QJsonObject>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

namespace kovan {

// One chart window without its widgets: the series, the chart view with its renderer, the
// feed, the window's operations (the page commands reach them through the chart registry) and
// the rules for mouse, wheel and keys. TChartForm shows it; tests drive it directly.
//
// Caption, cursor mode and panel scripts leave through signals. GUI thread only.
//
// Drawing: each change of an operation marks its invalidation level (ChartInvalidation), and the
// operation ends in one drawing step for the highest: a frame for the price or anything more,
// a copy of the last frame for the cross-hair alone. In cross-hair mode the cross is put back
// on top of each new frame where the pointer last was (a copy of the frame, not another frame).
//
// Price alerts: the waiting alerts of the window's symbol (setAlertLines) are drawn over each
// frame in a layer of their own (AlertLinesOverlay; none while there are no lines). A left drag
// that starts within 4 pixels of a line moves that alert (alertLineMoved when it ends on
// another row); a right click in normal mode asks for the line's menu or, elsewhere, the
// chart's alert menu with the price under the cursor (in cross-hair mode a right click leaves
// the mode, as before).
class ChartController : public QObject {
    Q_OBJECT
public:
    static constexpr int kViewWidth = 532; // the chart view at design size
    static constexpr int kViewHeight = 500;
    static inline const QString kCaption = QStringLiteral("朗鸥策略行情走势图");

    struct Options {
        QString programDir; // with a trailing "/": history/ and screenshots/ live there
        ChartFeedTiming timing;
        int replacePauseMs = 1000; // pause before a failed feed's replacement
        // Feeds are replaced only while it holds; outlives the window (null: never).
        const AppRunningFlag* appRunning = nullptr;
    };

    explicit ChartController(const Options& options,
                             const QSize& viewSize = QSize(kViewWidth, kViewHeight),
                             QObject* parent = nullptr);
    ~ChartController() override;

    // ---- window operations --------------------------------------------------------------
    // Sets the window up: style, instrument, session and key; the series from the history
    // file; the panel page; the feed; the first frame. Throws ConversionError for text that is
    // not a JSON object, an unusable symbol or period (ChartCodes) or a bad server address,
    // and FileOpenError for a history file that exists but cannot be read. Nothing is started
    // when it throws.
    void init(const QString& syms, const QString& styles, const QString& sess, const QString& ckey);
    // "1" after switching to `ped`, "0" (and a redraw) when it is the current period. Throws
    // ConversionError for an unusable period.
    QString setPeriod(const QString& ped);
    // Merges the keys of a JSON object into the style (values as text), back to follow mode,
    // draws; "1". Throws ConversionError when `styles` is not a JSON object (style unchanged).
    QString setChartStyle(const QString& styles);
    // 1: cross-hair mode; anything else: normal mode (a cross on show goes). "1".
    QString setHandStyle(qint64 i);
    // A layer (1 indicator, 2 extension) from the attributes' JSON text, then a frame; its key.
    QString addExtend(qint64 cate, const QString& attrib);
    QString removeLayer(const QString& lkey); // "1"
    QString getChartInfo() const;             // {"styleinfo": style}
    void runWebScript(const QString& jsstr);  // in the panel page
    void syncDraw();                          // hands the series to the chart and draws
    // The chart view as a PNG in <programDir>screenshots/; returns the path. Throws
    // FileOpenError.
    QString screenshot(const QDateTime& when = QDateTime::currentDateTime());
    // The window closes: its feed stops for good (isRuning, then isRun).
    void close();
    // The price alerts to draw (the symbol's waiting ones); redraws them.
    void setAlertLines(std::vector<ChartAlertLine> lines);

    // ---- input (view coordinates unless said otherwise) ----------------------------------
    void mouseDown(Qt::MouseButton button, int x, int y);
    void mouseMove(int x, int y);
    void mouseUp();
    // The wheel over the view: scrolls by 30 % of the view's width when the pointer (screen
    // coordinates) lies inside the view as the window's outer top-left sees it. True when it
    // scrolled.
    bool wheel(const QPoint& screenPos, const QPoint& windowTopLeft, int angleDelta);
    static bool wheelInView(const QPoint& screenPos, const QPoint& windowTopLeft,
                            const QSize& view);
    // Left/Right: one bar slot older/newer; End: back to follow mode. True when handled.
    bool keyPress(int key);
    void viewResized(const QSize& size);
    // The view's size (logical pixels) and the device pixel ratio of its screen: a new ratio
    // redraws everything at it, like a resize. Mouse coordinates stay logical.
    void viewResized(const QSize& size, const DeviceScale& scale);
    // The window was minimised or hidden (false) or came back (true). While it is away nothing
    // is drawn: the feed keeps merging at its pace and the changes add up to one pending
    // level, drawn once when the window shows again (or for a screenshot).
    void setShown(bool shown);
    bool shown() const { return m_shown; }

    // ---- state -----------------------------------------------------------------------------
    const QString& CFHKey() const { return m_CFHKey; }
    QString caption() const { return m_caption; }
    bool crossMode() const { return m_cross; }
    bool dragging() const { return m_viewTag == 1; }
    QPoint dragAnchor() const { return m_mp; }
    bool isRuning() const { return m_runner.isRuning(); }
    const QJsonObject& StyleInfo() const { return m_StyleInfo; }
    const QJsonObject& SymbolInfo() const { return m_SymbolInfo; }
    const QJsonObject& sessInfo() const { return m_sessInfo; }
    const PChartData& PData() const { return m_PData; }
    QUrl panelUrl() const { return m_panelUrl; }
    QString symbol() const;
    QString period() const;
    TChart& chart() { return m_TC; }
    ChartView& view() { return m_view; }
    ChartFeedRunner& feed() { return m_runner; }
    const std::vector<ChartAlertLine>& alertLines() const { return m_alertLines; }
    const AlertLinesOverlay& alertOverlay() const { return m_alertOverlay; }
    // The price at row `y` of the frame on show; NaN when no frame shows or y is outside the
    // price area.
    double priceAt(int y) const;

    // Merges one reply of the feed (GUI thread; see ChartProcess). Public for tests.
    ChartFeedRunner::Merged mergeReply(const ChartReply& reply, const QString& symbol,
                                       const QString& period);

Q_SIGNALS:
    void captionChanged(const QString& caption);
    void crossModeChanged(bool on);
    void runScriptRequested(const QString& script);
    void panelRequested(const QUrl& url);
    // A right click in normal mode away from alert lines (`price`: priceAt the click, NaN when
    // there is none), and on an alert line. View coordinates.
    void chartMenuRequested(const QPoint& at, double price);
    void alertLineMenuRequested(const QPoint& at, qint64 id);
    // A drag of an alert line ended at another row: the alert wants to go to `price`.
    void alertLineMoved(qint64 id, double price);

private:
    using Level = ChartInvalidation::Level;
    void invalidate(Level level) { m_invalidation.invalidate(level); }
    // The drawing step: what the pending level asks for, once; nothing while the window is
    // away unless `evenHidden`.
    void drawInvalidated(bool evenHidden = false);
    bool crossShows() const; // cross-hair mode, the pointer over the view, no drag
    void setCaption(const QString& caption);
    int step() const;
    void drawAlertLines();
    void rightClick(int x, int y);

    Options m_options;
    ChartView m_view; // MVI
    TChart m_TC;
    ChartFeedRunner m_runner;
    PChartData m_PData;
    QJsonObject m_StyleInfo;
    QJsonObject m_SymbolInfo;
    QJsonObject m_sessInfo;
    QString m_CFHKey;
    QString m_caption;
    QUrl m_panelUrl;
    int m_viewTag = 0; // 1 while the left button is held on the view
    QPoint m_mp;       // drag anchor
    bool m_cross = false;
    std::optional<QPoint> m_crossAt; // where the cross was last drawn
    ChartInvalidation m_invalidation;
    bool m_closed = false;
    bool m_shown = true; // the view is on screen (see setShown)

    std::vector<ChartAlertLine> m_alertLines;
    AlertLinesOverlay m_alertOverlay{&m_view};
    struct AlertDrag {
        qint64 id = 0;
        int startY = 0;  // where the pointer picked the line up
        int lineRow = 0; // the line's row then
        int row = 0;     // the line's row now: it keeps its distance to the pointer
    };
    std::optional<AlertDrag> m_alertDrag; // while the left button moves an alert line
};

} // namespace kovan
