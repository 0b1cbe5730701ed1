#include "chart/TChart.h"

#include "chart/ChartFrameChange.h"
#include "chart/ChartFramePainter.h"
#include "chart/OhlcReadout.h"
#include "chart/Raster.h"
#include "chart/TextColors.h"
#include "core/JsonParams.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace kovan {

using namespace chartgeo;

namespace {

// A bitmap for a view of `logical` pixels at `scale`: device pixels, with the ratio set so that
// it is shown at its logical size. Null for an empty view.
QImage deviceBitmap(const QSize& logical, const DeviceScale& scale) {
    if (logical.isEmpty())
        return QImage();
    QImage img(scale.size(logical), QImage::Format_ARGB32_Premultiplied);
    if (!scale.identity())
        img.setDevicePixelRatio(scale.ratio());
    return img;
}

// Makes `img` a bitmap like `model` (size, format, ratio) unless it already is one.
void matchBitmap(QImage& img, const QImage& model) {
    if (img.size() == model.size() && img.format() == model.format() &&
        img.devicePixelRatio() == model.devicePixelRatio())
        return;
    img = QImage(model.size(), model.format());
    img.setDevicePixelRatio(model.devicePixelRatio());
}

} // namespace

TChart::TChart(ChartView* view) : m_FMView(view) {
    m_font.set(QGuiApplication::font().family(), 8);
    const QSize sz = m_FMView->size();
    m_FMWidth = sz.width();
    m_FMHeight = sz.height();
    m_device = m_FMView->scale();
    m_bottom = m_FMView->addLayer(QRect(QPoint(0, 0), sz), m_device.size(sz));
    m_CacheMap = deviceBitmap(sz, m_device);
}

void TChart::setSymInfo(const QJsonObject& s) {
    m_FSyminfo = s;
    m_FAutoMove = true;
}

void TChart::setPrice(float p) {
    m_FPrice = p;
    draw();
}

void TChart::scrollTo(int first) {
    m_FAutoMove = false;
    m_FDNInx = std::max(first, 0);
}

int TChart::pipLen() const {
    const qint64 v = jsonInt(m_FSyminfo, u"PIPLEN");
    return int(std::clamp<qint64>(v, 0, 20));
}

void TChart::publish(const QImage& frame, const std::vector<TextBox>& textBoxes,
                     const QRegion& changed) {
    m_frameShown = false; // the caller of a full frame sets it again
    m_lastChange = changed;
    if (m_bottom)
        m_bottom->publish(frame);
    if (m_recordText)
        m_publishedText = textBoxes;
    m_FMView->notifyPublished(changed);
}

// ---- frames ----------------------------------------------------------------------------

void TChart::draw() {
    if (!m_FPData)
        m_FPData = m_FPDPoint;
    if (m_FPData && !m_FPData->datalist.empty()) {
        drawFull();
    } else {
        m_FDFulled = false;
        drawWait();
    }
}

void TChart::drawWait() {
    const quint32 back = m_FStyle.colour(ChartStyle::Back);
    raster::fill(m_CacheMap, 0, 0, m_CacheMap.width(), m_CacheMap.height(), back);
    m_cacheText.clear();
    const quint32 fc = fontColour(m_FStyle.colour(ChartStyle::Yangxian), back);
    m_font.setPointSize(16); // the family stays what the bitmap holds
    const QString s = QStringLiteral("正在载入...");
    const int w = m_CacheMap.width(), h = m_CacheMap.height(); // device pixels, as the font
    ChartCanvas canvas{m_CacheMap, m_font, recorder(m_cacheText)};
    canvas.textDevice((w - m_font.width(s)) / 2, (h - m_font.height()) / 2, s, fc);
    canvas.finish();
    publish(m_CacheMap, m_cacheText);
}

void TChart::drawFull() {
    m_FDFulled = true;
    try {
        drawFullFrame(false);
    } catch (...) {
        // The frame is abandoned: nothing is published and the cache keeps the last good
        // frame (drawing went to the work bitmap).
    }
}

void TChart::drawLastBar() {
    if (!m_FPData)
        m_FPData = m_FPDPoint;
    if (!m_FPData || m_FPData->datalist.empty()) {
        draw();
        return;
    }
    m_FDFulled = true;
    try {
        drawFullFrame(true);
    } catch (...) {
        // The frame is abandoned: nothing is published and the cache keeps the last good
        // frame (drawing went to the work bitmap).
    }
}

void TChart::drawFullFrame(bool lastBarOnly) {
    // Our own share of the series for the whole frame, whatever the publish callback does.
    const PChartData series = m_FPData;
    if (!series)
        return;
    const ChartDataList& bars = series->datalist;
    matchBitmap(m_workMap, m_CacheMap);

    // 1. Layout: numbers only.
    ChartFrameInput in;
    in.bars = &bars;
    // Laid out in logical pixels (the canvas scales); an empty view has no bitmap to lay out.
    in.width = m_workMap.isNull() ? 0 : m_FMWidth;
    in.height = m_workMap.isNull() ? 0 : m_FMHeight;
    in.kwidth = m_FStyle.kwidth();
    in.kmargin = m_FStyle.kmargin();
    in.candles = m_FStyle.candles();
    in.follow = m_FAutoMove;
    in.firstIndex = m_FDNInx;
    in.price = m_FPrice;
    in.pipMin = float(jsonReal(m_FSyminfo, u"PIPMIN"));
    in.basePip = double(jsonInt(m_FSyminfo, u"BASEPIP"));
    in.decimals = pipLen();
    layoutFrame(
        in, [this](const QString& s) { return m_axisFont.width(s); }, m_layout);
    m_FDNInx = m_layout.firstIndex;
    if (m_layout.status != FrameStatus::Ok)
        return; // abandoned: no slot width, no bar to show, no price scale

    // 2. Paint into the work bitmap; the cache keeps the last good frame until this one is
    // complete.
    const ChartFrameLayout& l = m_layout;
    m_workText.clear();
    ChartCanvas canvas{m_workMap, m_font, recorder(m_workText)};
    paintFrame(canvas, l, m_FStyle);

    // 3. The values later drawing reads (indicators, cross-hair, scrolling).
    m_FELineST = l.first;
    m_FELineED = l.last;
    m_scale = l.scale;

    // 4. Indicator layers in order, later ones over earlier ones.
    IndicatorFrame frame{canvas, m_FStyle, bars, l.first, l.last, l.step, l.scale};
    for (const LayerRecord& layer : m_IndexLayers) {
        if (layer.inxType != LayerRecord::Indicator)
            continue;
        const QJsonObject attributes = layer.attributes();
        const QJsonValue type = attributes.value(QLatin1String("type"));
        if (const IndicatorPainter paint =
                indicatorPainter(type.isString() ? type.toString() : QString()))
            paint(frame, attributes);
    }
    canvas.finish();
    std::swap(m_CacheMap, m_workMap);
    std::swap(m_cacheText, m_workText);
    // The bitmap on show differs from this frame only inside `changed` when the frame before
    // it is on show and only its last bar or price moved (indicator lines reach further).
    std::optional<QRegion> changed;
    if (lastBarOnly && m_frameShown && !hasIndicators())
        changed = lastBarChange(m_shownLayout, l);
    publish(m_CacheMap, m_cacheText, changed ? devicePixels(*changed) : QRegion());
    m_shownLayout = l;
    m_frameShown = true;
}

QRegion TChart::devicePixels(const QRegion& logical) const {
    if (m_device.identity())
        return logical;
    // Each logical edge lands on the device pixel the scaled layout rounds it to; a line drawn
    // from that edge may be up to one line width wider, so the rectangle grows by that much.
    const int grow = m_device.lineWidth();
    const QRect bitmap(QPoint(0, 0), m_CacheMap.size());
    QRegion device;
    for (const QRect& r : logical)
        device += m_device.rect(r).adjusted(-grow, -grow, grow, grow) & bitmap;
    return device;
}

bool TChart::hasIndicators() const {
    return std::any_of(m_IndexLayers.begin(), m_IndexLayers.end(),
                       [](const LayerRecord& r) { return r.inxType == LayerRecord::Indicator; });
}

void TChart::drawIndicator(int layerInx, IndicatorPainter painter) {
    if (!m_FPData || layerInx < 0 || layerInx >= int(m_IndexLayers.size()))
        return;
    ChartCanvas canvas{m_CacheMap, m_font, recorder(m_cacheText)};
    const int st = m_FStyle.step();
    IndicatorFrame frame{canvas, m_FStyle, m_FPData->datalist, m_FELineST, m_FELineED, st, m_scale};
    painter(frame, m_IndexLayers[size_t(layerInx)].attributes());
}

void TChart::drawCross(int X, int Y) {
    if (!m_FDFulled || m_CacheMap.isNull())
        return;
    QImage& img = m_crossMaps[m_crossNext];
    m_crossNext ^= 1;
    matchBitmap(img, m_CacheMap);
    std::memcpy(img.bits(), m_CacheMap.constBits(), size_t(m_CacheMap.sizeInBytes()));
    std::vector<TextBox> boxes;
    if (m_recordText)
        boxes = m_cacheText;

    if (X >= 0 && X < m_FMWidth - 60 && Y >= 0 && Y < m_FMHeight - 20) {
        const quint32 c = m_FStyle.colour(ChartStyle::Front);
        // The read-outs are drawn on the copy in Verdana 8; the cache's font is not touched.
        // Positions are laid out in logical pixels (measured in m_axisFont) and scaled.
        ChartCanvas canvas{img, m_crossFont, recorder(boxes)};
        canvas.line(0, Y, m_FMWidth - 58, Y, c);
        canvas.line(X, 0, X, m_FMHeight - 18, c);
        QString s = priceLabel(m_scale.price(Y), pipLen());
        const quint32 tc = fontColour(c, c); // drawn on the box filled with `front`
        canvas.fill(m_FMWidth - 58, Y - 7, m_FMWidth - 5, Y + 7, c);
        canvas.text(m_FMWidth - 55, Y - 7 + (14 - m_axisFont.height()) / 2, s, tc);
        const int st = m_FStyle.step();
        const double slot = st != 0 ? double(X) / st : 0.0;
        const qint64 i = qint64(m_FELineST) + roundEven(slot);
        const ChartDataList* bars = m_FPData ? &m_FPData->datalist.bars() : nullptr;
        if (st > 0 && bars && i >= 0 && i < qint64(bars->size())) {
            s = timeLabel((*bars)[size_t(i)].dl);
            const int hb = m_FMHeight;
            canvas.fill(X - 20, hb - 18, X + 20, hb - 4, c);
            canvas.text(X - 20 + (40 - m_axisFont.width(s)) / 2, hb - 16, s, tc);
            if (m_ohlcReadout)
                paintOhlcReadout(canvas, (*bars)[size_t(i)], pipLen(), c, tc);
        }
    } // the canvas closes its painter here
    publish(img, boxes);
}

bool TChart::movePX(int X1, int X2) {
    if (!scrollPX(X1, X2))
        return false;
    draw();
    return true;
}

bool TChart::scrollPX(int X1, int X2) {
    if (!m_FDFulled)
        return false;
    const int st = m_FStyle.step();
    if (st <= 0)
        return false;
    const int n = m_FPData ? int(m_FPData->datalist.size()) : 0;
    const int f = scrollTarget(m_FDNInx, n, m_FMWidth, st, X1, X2);
    if (f < 0)
        return false;
    m_FAutoMove = false;
    m_FDNInx = f;
    return true;
}

void TChart::resize() {
    takeViewSize();
    draw();
}

void TChart::takeViewSize() {
    const QSize sz = m_FMView->size();
    m_FMWidth = sz.width();
    m_FMHeight = sz.height();
    m_device = m_FMView->scale();
    m_CacheMap = deviceBitmap(sz, m_device);
    m_cacheText.clear();
    // Every layer leaves the view, overlays included; the records stay without their overlay.
    m_FMView->clearLayers();
    for (LayerRecord& layer : m_IndexLayers)
        layer.obj.reset();
    m_bottom = m_FMView->addLayer(QRect(QPoint(0, 0), sz), m_device.size(sz));
    m_frameShown = false; // the new layer shows nothing yet
    m_FAutoMove = true;
}

} // namespace kovan
