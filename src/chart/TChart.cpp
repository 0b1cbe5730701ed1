#include "chart/TChart.h"

#include "chart/Raster.h"
#include "chart/TextColors.h"
#include "core/JsonParams.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace kovan {

using namespace chartgeo;

namespace {

// Style colours of one frame, each parsed on first use, so that a bad colour only fails a
// frame that actually needs it.
class FrameColours {
public:
    enum Key { Back, Front, Broken, Yinzhu, Yangzhu, Yinxian, Yangxian, Count };
    explicit FrameColours(const QJsonObject& style) : m_style(style) {}
    quint32 operator[](Key k) {
        static constexpr const char16_t* names[Count] = {
            u"back", u"front", u"broken", u"yinzhu", u"yangzhu", u"yinxian", u"yangxian"};
        if (!m_values[k])
            m_values[k] = styleColor(m_style, QStringView(names[k]));
        return *m_values[k];
    }

private:
    const QJsonObject& m_style;
    std::array<std::optional<quint32>, Count> m_values;
};

// A font's pixel height for its point size on the 96-dpi screens the chart was laid out for
// (8 pt → 11 px, 16 pt → 21 px).
int pixelSize(int pointSize) {
    return (pointSize * 96 + 36) / 72;
}

} // namespace

TChart::TChart(ChartView* view) : m_FMView(view) {
    m_font.family = QGuiApplication::font().family();
    const QSize sz = m_FMView->size();
    m_FMWidth = sz.width();
    m_FMHeight = sz.height();
    m_bottom = m_FMView->addLayer(QRect(QPoint(0, 0), sz), sz);
    if (!sz.isEmpty())
        m_CacheMap = QImage(sz, QImage::Format_ARGB32_Premultiplied);
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

int TChart::step() const {
    return styleInt(m_FStyle, u"kwidth") + styleInt(m_FStyle, u"kmargin");
}

int TChart::pipLen() const {
    const qint64 v = jsonInt(m_FSyminfo, u"PIPLEN");
    return int(std::clamp<qint64>(v, 0, 20));
}

// ---- text ------------------------------------------------------------------------------

const QFontMetrics& TChart::metrics() const {
    if (!m_metrics || m_metricsFont.family != m_font.family ||
        m_metricsFont.pointSize != m_font.pointSize) {
        m_metricsFont = m_font;
        m_qfont = QFont(m_font.family);
        m_qfont.setPixelSize(pixelSize(m_font.pointSize));
        m_metrics = std::make_unique<QFontMetrics>(m_qfont);
    }
    return *m_metrics;
}

QFont TChart::qfont() const {
    metrics();
    return m_qfont;
}

int TChart::textWidth(const QString& s) const {
    return metrics().horizontalAdvance(s);
}

int TChart::textHeight(const QString& s) const {
    Q_UNUSED(s);
    return metrics().height();
}

void TChart::text(QImage& img, std::vector<TextBox>& boxes, int x, int y, const QString& s,
                  quint32 colour) {
    if (img.isNull() || s.isEmpty())
        return;
    const QFontMetrics& fm = metrics();
    QPainter p(&img);
    p.setFont(m_qfont);
    p.setPen(QColor::fromRgba(colour | 0xFF000000u));
    p.drawText(x, y + fm.ascent(), s);
    if (m_recordText)
        boxes.push_back({QRect(x, y, fm.horizontalAdvance(s), fm.height()), s});
}

void TChart::publish(const QImage& frame, const std::vector<TextBox>& textBoxes) {
    if (m_bottom)
        m_bottom->publish(frame);
    if (m_recordText)
        m_publishedText = textBoxes;
    m_FMView->notifyPublished();
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
    FrameColours col(m_FStyle);
    const quint32 back = col[FrameColours::Back];
    raster::fill(m_CacheMap, 0, 0, m_CacheMap.width(), m_CacheMap.height(), back);
    m_cacheText.clear();
    const quint32 fc = fontColour(col[FrameColours::Yangxian], back);
    m_font.pointSize = 16; // the family stays what the bitmap holds
    const QString s = QStringLiteral("正在载入...");
    const int w = m_CacheMap.width(), h = m_CacheMap.height();
    text(m_CacheMap, m_cacheText, (w - textWidth(s)) / 2, (h - textHeight(s)) / 2, s, fc);
    publish(m_CacheMap, m_cacheText);
}

void TChart::drawFull() {
    m_FDFulled = true;
    try {
        drawFullFrame();
    } catch (...) {
        // The frame is abandoned: nothing is published and the cache keeps the last good
        // frame (drawing went to the work bitmap).
    }
}

void TChart::drawFullFrame() {
    const ChartDataList& bars = m_FPData->datalist;
    const int n = int(bars.size());
    const int kwidth = styleInt(m_FStyle, u"kwidth");
    const int kmargin = styleInt(m_FStyle, u"kmargin");
    const int st = kwidth + kmargin;
    if (st <= 0)
        throw std::runtime_error("bar slot without width");
    if (m_workMap.size() != m_CacheMap.size() || m_workMap.format() != m_CacheMap.format())
        m_workMap = QImage(m_CacheMap.size(), m_CacheMap.format());
    QImage& img = m_workMap;
    m_target = &img;
    m_targetText = &m_workText;
    m_workText.clear();
    // Indicators called outside a frame draw into the cache again, whether or not this frame
    // is abandoned.
    struct RestoreTarget {
        TChart* c;
        ~RestoreTarget() {
            c->m_target = &c->m_CacheMap;
            c->m_targetText = &c->m_cacheText;
        }
    } restore{this};

    float p = m_FPrice;
    const int w = img.width(), h = img.height();
    const int W = w - 60, H = h - 20;
    const int every = labelEvery(st);
    const int slots = slotCount(W, st);

    // Visible range; in follow mode FDNInx takes the first bar before it is raised to 0.
    const Range r = visibleRange(m_FAutoMove, m_FDNInx, n, W, st);
    if (m_FAutoMove)
        m_FDNInx = n - slots + 3 * st;
    const int first = r.first, last = r.last;
    if (first >= n)
        throw std::runtime_error("first visible bar past the series");

    float hi = bars[size_t(first)].high, lo = bars[size_t(first)].low;
    for (int i = first; i <= last; ++i) {
        hi = std::max(hi, bars[size_t(i)].high);
        lo = std::min(lo, bars[size_t(i)].low);
    }
    if (p == 0)
        p = bars[size_t(n - 1)].close;
    if (last == n - 1) {
        hi = std::max(hi, p);
        lo = std::min(lo, p);
    }

    // Price scale. A flat range without margin or a pip of 0 has no scale: the frame is
    // abandoned rather than drawn from infinities.
    const float pip = float(jsonReal(m_FSyminfo, u"PIPMIN"));
    const double basepip = double(jsonInt(m_FSyminfo, u"BASEPIP"));
    hi = float(double(hi) + basepip * double(pip));
    lo = float(double(lo) - basepip * double(pip));
    const double span = double(hi) / double(pip) - double(lo) / double(pip);
    if (pip == 0 || !std::isfinite(span) || span == 0 || !std::isfinite(hi) || !std::isfinite(lo))
        throw std::runtime_error("no price scale");
    const float ppp = float(H / span);
    if (!std::isfinite(ppp) || ppp == 0)
        throw std::runtime_error("no price scale");
    const PriceScale sc{hi, lo, ppp, pip};
    const int decimals = pipLen();

    FrameColours col(m_FStyle);
    const quint32 back = col[FrameColours::Back];
    raster::fill(img, 0, 0, w, h, back);

    const quint32 broken = col[FrameColours::Broken];
    raster::line(img, 0, 0, w, 0, broken);
    raster::line(img, 0, 0, 0, h, broken);
    raster::line(img, 0, h - 1, w, h - 1, broken);
    raster::line(img, w - 1, 0, w - 1, h, broken);
    raster::line(img, 0, H, w, H, broken);
    raster::line(img, W, 0, W, H, broken);

    // Axis text: Verdana 8, font colour from `back`.
    m_font = Font{QStringLiteral("Verdana"), 8};
    const quint32 axisText = fontColour(back, back);
    const int k = priceLabelCount(H);
    for (int i = 1; i <= k - 2; ++i) {
        const double v = double(hi) - i * (double(hi) - double(lo)) / k;
        text(img, m_workText, W + 4, sc.y(v) - 4, priceLabel(v, decimals), axisText);
    }

    const bool candles = styleInt(m_FStyle, u"linetype") == 0;
    std::vector<QPoint> linePoints;
    if (!candles)
        linePoints.reserve(size_t(std::max(slots, 0)));
    for (int j = 0; j < slots && first + j < n; ++j) {
        const int i = first + j;
        const ChartDataListRecord& bar = bars[size_t(i)];
        float open = bar.open, close = bar.close, low = bar.low, high = bar.high;
        const bool newestMoved = i == n - 1 && close != p && p > 0;
        if ((j + 1) % every == 0) {
            const int half = every / 2;
            const int x = (j - half) * st;
            qint64 t = bars[size_t(first + j - half)].dl;
            if (!candles)
                t += 28800; // the line chart's labels read eight hours later
            raster::line(img, x, H, x, H + 5, col[FrameColours::Front]);
            const QString s = timeLabel(t);
            text(img, m_workText, x - textWidth(s) / 2, H + 5, s, axisText);
        }
        if (candles) {
            const int x0 = kmargin + j * st, x1 = x0 + kwidth;
            if (newestMoved) {
                close = p;
                low = std::min(low, p);
                high = std::max(high, p);
            }
            int yc = sc.y(close), yo = sc.y(open);
            quint32 wick;
            if (yc < yo) {
                raster::fill(img, x0, yc, x1, yo, col[FrameColours::Yangzhu]);
                wick = col[FrameColours::Yangxian];
            } else {
                if (yc == yo)
                    yo = yc - 1;
                raster::fill(img, x0, yo, x1, yc, col[FrameColours::Yinzhu]);
                wick = col[FrameColours::Yinxian];
            }
            const int xw = kmargin + j * st + kwidth / 2;
            raster::line(img, xw, sc.y(high), xw, sc.y(low), wick);
        } else {
            linePoints.emplace_back(kmargin + j * st, sc.y(newestMoved ? p : close));
        }
    }
    if (!candles)
        raster::drawWideLine(img, linePoints, kwidth, col[FrameColours::Front]);

    // Current price marker.
    const QString ps = priceLabel(p, decimals);
    if (lo < p && p <= hi) {
        const int y = sc.y(p);
        const quint32 front = col[FrameColours::Front];
        raster::fill(img, w - 56, y - 8, w - 4, y + 8, front);
        m_font.pointSize = 8;
        text(img, m_workText, w - 54, y - 7, ps, back);
        raster::line(img, 0, y, w - 56, y, front);
    }

    m_FELineST = first;
    m_FELineED = last;
    m_scale = sc;

    for (int li = 0; li < int(m_IndexLayers.size()); ++li) {
        const LayerRecord& layer = m_IndexLayers[size_t(li)];
        if (layer.inxType != LayerRecord::Indicator)
            continue;
        const QJsonValue type = layer.attributes().value(QLatin1String("type"));
        const QString t = type.isString() ? type.toString() : QString();
        if (t == QLatin1String("PPVI"))
            drawIndexPPVI(li);
        else if (t == QLatin1String("BB"))
            DrawIndexBB(li);
        else if (t == QLatin1String("MA"))
            drawIndexMA(li);
        else if (t == QLatin1String("MKDT"))
            drawMktDTI(li);
    }
    std::swap(m_CacheMap, m_workMap);
    std::swap(m_cacheText, m_workText);
    publish(m_CacheMap, m_cacheText);
}

void TChart::drawCross(int X, int Y) {
    if (!m_FDFulled || m_CacheMap.isNull())
        return;
    if (m_crossMap.size() != m_CacheMap.size() || m_crossMap.format() != m_CacheMap.format())
        m_crossMap = QImage(m_CacheMap.size(), m_CacheMap.format());
    std::memcpy(m_crossMap.bits(), m_CacheMap.constBits(), size_t(m_CacheMap.sizeInBytes()));
    std::vector<TextBox> boxes;
    if (m_recordText)
        boxes = m_cacheText;

    if (X >= 0 && X < m_FMWidth - 60 && Y >= 0 && Y < m_FMHeight - 20) {
        const quint32 c = styleColor(m_FStyle, u"front");
        QImage& img = m_crossMap;
        raster::line(img, 0, Y, m_FMWidth - 58, Y, c);
        raster::line(img, X, 0, X, m_FMHeight - 18, c);
        QString s = priceLabel(m_scale.price(Y), pipLen());
        m_font = Font{QStringLiteral("Verdana"), 8};
        const quint32 tc = fontColour(c, c); // drawn on the box filled with `front`
        raster::fill(img, m_FMWidth - 58, Y - 7, m_FMWidth - 5, Y + 7, c);
        text(img, boxes, m_FMWidth - 55, Y - 7 + (14 - textHeight(s)) / 2, s, tc);
        const int st = step();
        const double slot = st != 0 ? double(X) / st : 0.0;
        const qint64 i = qint64(m_FELineST) + roundEven(slot);
        const ChartDataList* bars = m_FPData ? &m_FPData->datalist : nullptr;
        if (st > 0 && bars && i >= 0 && i < qint64(bars->size())) {
            s = timeLabel((*bars)[size_t(i)].dl);
            const int hb = img.height();
            raster::fill(img, X - 20, hb - 18, X + 20, hb - 4, c);
            text(img, boxes, X - 20 + (40 - textWidth(s)) / 2, hb - 16, s, tc);
        }
    }
    publish(m_crossMap, boxes);
}

bool TChart::movePX(int X1, int X2) {
    if (!m_FDFulled)
        return false;
    const int st = step();
    if (st <= 0)
        return false;
    const int n = m_FPData ? int(m_FPData->datalist.size()) : 0;
    const int f = scrollTarget(m_FDNInx, n, m_FMWidth, st, X1, X2);
    if (f < 0)
        return false;
    m_FAutoMove = false;
    m_FDNInx = f;
    draw();
    return true;
}

void TChart::resize() {
    const QSize sz = m_FMView->size();
    m_FMWidth = sz.width();
    m_FMHeight = sz.height();
    m_CacheMap = sz.isEmpty() ? QImage() : QImage(sz, QImage::Format_ARGB32_Premultiplied);
    m_target = &m_CacheMap;
    m_cacheText.clear();
    // Every layer leaves the view, overlays included; the records stay without their overlay.
    m_FMView->clearLayers();
    for (LayerRecord& layer : m_IndexLayers)
        layer.obj.reset();
    m_bottom = m_FMView->addLayer(QRect(QPoint(0, 0), sz), sz);
    m_FAutoMove = true;
    draw();
}

} // namespace kovan
