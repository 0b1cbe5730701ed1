#include "chart/ChartController.h"

#include "chart/ChartCodes.h"
#include "chart/ChartGeometry.h"
#include "chart/ChartScreenshot.h"
#include "chart/HistoryFile.h"
#include "core/Endpoints.h"
#include "core/Errors.h"
#include "core/Escaping.h"
#include "core/JsonParams.h"
#include "core/Trace.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

namespace kovan {

namespace {

QJsonObject parseObject(const char* what, const QString& text) {
    bool ok = false;
    const QJsonObject o = parseJsonObject(text, &ok);
    if (!ok)
        throw ConversionError(std::string(what) + ": not a JSON object");
    return o;
}

// A server address "host:port" from an instrument description. Only a plain host name or
// address goes into an address: no user part, path or query can ride along.
HostPort serverAddress(const char* what, const QString& text) {
    HostPort hp;
    bool plain = HostPort::parse(text, 88, &hp);
    for (const QChar c : hp.host)
        plain = plain && (c.isLetterOrNumber() || c == u'.' || c == u'-') && c.unicode() < 0x80;
    if (!plain)
        throw ConversionError(std::string(what) + ": not a server address");
    return hp;
}

} // namespace

ChartController::ChartController(const Options& options, const QSize& viewSize, QObject* parent)
    : QObject(parent), m_options(options), m_view(viewSize), m_TC(&m_view),
      m_runner(options.appRunning) {
    m_runner.setTiming(options.timing);
    m_runner.setPauseMs(options.replacePauseMs);
    m_runner.setReplyHandler(
        [this](const ChartReply& reply, const QString& symbol, const QString& period) {
            return mergeReply(reply, symbol, period);
        });
    m_TC.setOhlcReadout(true);
}

ChartController::~ChartController() {
    m_runner.stop();
}

QString ChartController::symbol() const {
    return jsonText(m_SymbolInfo, u"symbol");
}

QString ChartController::period() const {
    return jsonText(m_SymbolInfo, u"period");
}

int ChartController::step() const {
    return m_TC.style().step(); // the chart holds the window's style
}

void ChartController::setCaption(const QString& caption) {
    m_caption = caption;
    Q_EMIT captionChanged(caption);
}

// ---- window operations ------------------------------------------------------------------

void ChartController::init(const QString& syms, const QString& styles, const QString& sess,
                           const QString& ckey) {
    // Everything that can fail comes first: a window that cannot start starts nothing.
    const QJsonObject style = parseObject("init: style", styles);
    const QJsonObject instrument = parseObject("init: instrument", syms);
    const QJsonObject session = parseObject("init: session", sess);
    const QString sym = jsonText(instrument, u"symbol");
    const QString ped = jsonText(instrument, u"period");
    requireChartCode("init: symbol", sym);
    requireChartCode("init: period", ped);
    const HostPort dataServer = serverAddress("init: baseurl", jsonText(instrument, u"baseurl"));
    const HostPort pageServer = serverAddress("init: appurl", jsonText(instrument, u"appurl"));
    auto series = std::make_shared<ChartDataInfoRecord>();
    loadLocalHistory(*series, m_options.programDir, sym, ped);

    m_CFHKey = ckey;
    m_StyleInfo = style;
    m_SymbolInfo = instrument;
    setCaption(kCaption + u' ' + jsonText(instrument, u"showname") + u' ' + ped);
    m_sessInfo = session;
    m_PData = std::move(series);

    m_panelUrl = QUrl(pageServer.root() + QStringLiteral("/tools/chartpanel/") +
                      urlPathSegment(jsonText(m_sessInfo, u"sessid")) +
                      QStringLiteral("/?signID=") + urlQueryValue(jsonText(instrument, u"signid")) +
                      QStringLiteral("&ckey=") + urlQueryValue(ckey));
    Q_EMIT panelRequested(m_panelUrl);

    m_TC.setPData(m_PData);
    m_TC.setStyle(m_StyleInfo);
    m_TC.setSymInfo(m_SymbolInfo);

    m_runner.start({dataServer.root(), sym, ped, lastBarTime(m_PData->datalist)}, m_PData);
    invalidate(Level::Full);
    drawInvalidated();
    trace(QStringLiteral("chart window %1 %2 opened").arg(sym, ped));
}

QString ChartController::setPeriod(const QString& ped) {
    requireChartCode("setPeriod", ped);
    if (!m_PData || period() == ped) {
        invalidate(Level::Full);
        drawInvalidated();
        return QStringLiteral("0");
    }
    m_SymbolInfo.insert(QStringLiteral("period"), ped);
    // The feed hands its replies to this thread, so nothing merges while the series is being
    // replaced below; the lock only keeps the feed from asking meanwhile. A reply that was
    // requested for the old period is dropped when it arrives (its period no longer matches).
    m_PData->locked.store(true, std::memory_order_release);
    try {
        // A series still waiting for its first bars has nothing to keep: the file stays.
        if (!m_PData->datalist.empty())
            saveLocalHistory(*m_PData, m_options.programDir);
    } catch (const std::exception& e) {
        trace(QStringLiteral("chart history of %1 %2 not saved: %3")
                  .arg(m_PData->symbol, m_PData->period, QString::fromUtf8(e.what())));
    }
    m_TC.setSymInfo(m_SymbolInfo); // back to follow mode
    setCaption(kCaption + u' ' + jsonText(m_SymbolInfo, u"showname") + u' ' + ped.toUpper());
    try {
        loadLocalHistory(*m_PData, m_options.programDir, symbol(), ped);
    } catch (const std::exception& e) {
        // The series stays empty; the feed asks for the initial block.
        trace(QStringLiteral("chart history of %1 %2 not read: %3")
                  .arg(symbol(), ped, QString::fromUtf8(e.what())));
    }
    m_runner.setTarget(ped, lastBarTime(m_PData->datalist));
    m_PData->locked.store(false, std::memory_order_release);
    invalidate(Level::Full);
    drawInvalidated();
    return QStringLiteral("1");
}

QString ChartController::setChartStyle(const QString& styles) {
    const QJsonObject changes = parseObject("setChartStyle", styles);
    for (auto it = changes.begin(); it != changes.end(); ++it)
        m_StyleInfo.insert(it.key(), jsonValueText(it.value()));
    m_TC.setStyle(m_StyleInfo);
    m_TC.setAutoMove(true);
    invalidate(Level::Full);
    drawInvalidated();
    return QStringLiteral("1");
}

QString ChartController::setHandStyle(qint64 i) {
    const bool cross = i == 1;
    if (!cross && m_crossAt) {
        m_crossAt.reset(); // the cross goes with the mode
        invalidate(Level::Cursor);
        drawInvalidated();
    }
    if (cross != m_cross) {
        m_cross = cross;
        Q_EMIT crossModeChanged(cross);
    }
    return QStringLiteral("1");
}

QString ChartController::addExtend(qint64 cate, const QString& attrib) {
    const int category = cate == 2 ? 2 : 1; // any other category makes an indicator layer
    const QString key = m_TC.addLayer(category, attrib);
    invalidate(Level::Full);
    drawInvalidated();
    return key;
}

QString ChartController::removeLayer(const QString& lkey) {
    m_TC.dropLayer(lkey);
    invalidate(Level::Full); // whether or not a layer went
    drawInvalidated();
    return QStringLiteral("1");
}

QString ChartController::getChartInfo() const {
    return compactJson(QJsonObject{{QStringLiteral("styleinfo"), m_StyleInfo}});
}

void ChartController::runWebScript(const QString& jsstr) {
    Q_EMIT runScriptRequested(jsstr);
}

void ChartController::syncDraw() {
    m_TC.setPData(m_PData);
    invalidate(Level::Full);
    drawInvalidated();
}

QString ChartController::screenshot(const QDateTime& when) {
    drawInvalidated(true); // a minimised window's picture is current too
    const QString path = saveScreenshot(
        m_view.composite(), m_options.programDir + QStringLiteral("screenshots/"),
        m_PData ? m_PData->symbol : symbol(), m_PData ? m_PData->period : period(), when);
    trace(QStringLiteral("chart screenshot saved ") + path);
    return path;
}

void ChartController::close() {
    m_closed = true;
    m_runner.stop();
}

bool ChartController::crossShows() const {
    return m_cross && m_crossAt && m_viewTag != 1;
}

void ChartController::drawInvalidated(bool evenHidden) {
    if (!m_shown && !evenHidden)
        return; // the level stays pending until the window shows again
    bool framed = false;
    switch (m_invalidation.take()) {
    case Level::None:
        return;
    case Level::Cursor: // the last frame stays
        break;
    case Level::Price:
    case Level::LastBar:
        m_TC.drawLastBar(); // the screen gets the changed part only
        framed = true;
        break;
    case Level::Full:
        m_TC.draw();
        framed = true;
        break;
    }
    if (crossShows())
        m_TC.drawCross(m_crossAt->x(), m_crossAt->y());
    else if (!framed)
        m_TC.drawCross(-1, -1); // the last frame without the cross
    if (framed)                 // the price scale may have changed under the alert lines
        drawAlertLines();
}

void ChartController::setAlertLines(std::vector<ChartAlertLine> lines) {
    m_alertLines = std::move(lines);
    if (m_alertDrag &&
        std::none_of(m_alertLines.begin(), m_alertLines.end(),
                     [&](const ChartAlertLine& l) { return l.id == m_alertDrag->id; }))
        m_alertDrag.reset(); // the alert went while it was being dragged
    drawAlertLines();
}

double ChartController::priceAt(int y) const {
    if (!m_TC.FDFulled() || y < 0 || y >= m_TC.FMHeight() - 20)
        return NAN;
    return m_TC.frameScale().price(y);
}

void ChartController::drawAlertLines() {
    if (m_alertLines.empty() || !m_TC.FDFulled()) {
        m_alertOverlay.clear();
        return;
    }
    const AlertLinesFrame frame{m_TC.FMWidth(), m_TC.FMHeight(), m_TC.frameScale(),
                                int(std::clamp<qint64>(jsonInt(m_SymbolInfo, u"PIPLEN"), 0, 20)),
                                m_TC.deviceScale()};
    std::optional<ChartAlertLine> moving;
    if (m_alertDrag)
        moving = ChartAlertLine{m_alertDrag->id, m_TC.frameScale().price(m_alertDrag->row)};
    m_alertOverlay.paint(m_alertLines, frame, moving);
}

// ---- the feed's replies -------------------------------------------------------------------

ChartFeedRunner::Merged ChartController::mergeReply(const ChartReply& reply, const QString& sym,
                                                    const QString& ped) {
    ChartFeedRunner::Merged m;
    if (m_closed || !m_PData || m_PData->locked.load(std::memory_order_acquire) ||
        m_PData->symbol != sym || m_PData->period != ped || !reply.mergeable())
        return m; // requested before a period switch, or not for this window
    ChartDataInfoRecord& rec = *m_PData;
    const ChartMergeResult r = mergeChartBars(rec.datalist, reply.data);
    if (r.added)
        invalidate(Level::Full); // the bars move one slot on
    else if (r.changed)
        invalidate(Level::LastBar);
    // The price is compared in the chart's own 32-bit form: an unchanged bid does not redraw.
    const float bid = float(reply.BID);
    if (bid != m_TC.Price()) {
        m_TC.storePrice(bid);
        invalidate(Level::Price);
    }
    drawInvalidated(); // one frame for bars and price together (the chart holds the series)
    m.outcome.merged = true;
    m.lastDl = lastBarTime(rec.datalist);
    if (r.added) {
        m.outcome.save = true;
        m.outcome.historyPath = historyFilePath(m_options.programDir, rec.symbol, rec.period);
        m.outcome.bars = rec.datalist;
    }
    return m;
}

// ---- input --------------------------------------------------------------------------------

void ChartController::mouseDown(Qt::MouseButton button, int x, int y) {
    if (button == Qt::LeftButton) {
        if (const std::optional<qint64> id = m_alertOverlay.lineNear(y)) {
            const int row = m_alertOverlay.rowOf(*id);
            m_alertDrag = AlertDrag{*id, y, row, row}; // moves the alert, does not scroll
            return;
        }
        m_viewTag = 1;
        m_mp = QPoint(x, y);
    } else if (button == Qt::RightButton && m_cross) {
        m_crossAt.reset();
        invalidate(Level::Cursor);
        drawInvalidated();
        m_cross = false;
        Q_EMIT crossModeChanged(false);
        runWebScript(QStringLiteral("resetHS();"));
    } else if (button == Qt::RightButton) {
        rightClick(x, y);
    }
}

void ChartController::rightClick(int x, int y) {
    if (const std::optional<qint64> id = m_alertOverlay.lineNear(y))
        Q_EMIT alertLineMenuRequested(QPoint(x, y), *id);
    else
        Q_EMIT chartMenuRequested(QPoint(x, y), priceAt(y));
}

void ChartController::mouseMove(int x, int y) {
    if (m_alertDrag) {
        const int row = m_alertDrag->lineRow + y - m_alertDrag->startY;
        m_alertDrag->row = std::clamp(row, 0, std::max(0, m_TC.FMHeight() - 21));
        drawAlertLines();
        return;
    }
    if (m_viewTag == 1) {
        // Small moves add up: the anchor stays until a whole bar slot has been covered.
        if (m_TC.scrollPX(m_mp.x(), x)) {
            m_mp.setX(x);
            invalidate(Level::Full);
        }
    } else if (m_cross) {
        m_crossAt = QPoint(x, y);
        invalidate(Level::Cursor);
    }
    drawInvalidated();
}

void ChartController::mouseUp() {
    m_viewTag = 0;
    m_mp = QPoint(0, 0);
    if (const std::optional<AlertDrag> drag = std::exchange(m_alertDrag, std::nullopt)) {
        // The line goes back to its place until the alert's new price arrives.
        drawAlertLines();
        if (drag->row != drag->lineRow)
            Q_EMIT alertLineMoved(drag->id, priceAt(drag->row));
    }
}

bool ChartController::wheelInView(const QPoint& s, const QPoint& lt, const QSize& view) {
    // 10 and 20 stand for the window's border and caption.
    return lt.x() + 10 < s.x() && s.x() < lt.x() + view.width() && lt.y() + 20 < s.y() &&
           s.y() < lt.y() + view.height();
}

bool ChartController::wheel(const QPoint& screenPos, const QPoint& windowTopLeft, int angleDelta) {
    const QSize vs = m_view.size();
    if (angleDelta == 0 || !wheelInView(screenPos, windowTopLeft, vs))
        return false;
    const int d = chartgeo::roundEven(0.3 * vs.width());
    // Down: towards older bars; up: towards newer ones.
    const bool moved = angleDelta < 0 ? m_TC.scrollPX(0, d) : m_TC.scrollPX(d, 0);
    if (moved)
        invalidate(Level::Full);
    drawInvalidated();
    return moved;
}

bool ChartController::keyPress(int key) {
    const int st = step();
    switch (key) {
    case Qt::Key_Left:
        if (st > 0 && m_TC.scrollPX(0, st))
            invalidate(Level::Full);
        break;
    case Qt::Key_Right:
        if (st > 0 && m_TC.scrollPX(st, 0))
            invalidate(Level::Full);
        break;
    case Qt::Key_End:
        m_TC.setAutoMove(true);
        invalidate(Level::Full);
        break;
    default:
        return false;
    }
    drawInvalidated();
    return true;
}

void ChartController::setShown(bool shown) {
    if (shown == m_shown)
        return;
    m_shown = shown;
    drawInvalidated(); // what came meanwhile, in one frame
}

void ChartController::viewResized(const QSize& size) {
    viewResized(size, m_view.scale());
}

void ChartController::viewResized(const QSize& size, const DeviceScale& scale) {
    if (size == m_view.size() && scale == m_view.scale())
        return; // a resize clears the view's layers: only a real one may
    m_view.setSize(size);
    m_view.setScale(scale);
    m_TC.takeViewSize();
    invalidate(Level::Full);
    drawInvalidated();
}

} // namespace kovan
