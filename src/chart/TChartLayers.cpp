// TChart: the layer list and the indicators drawn from it.
#include "chart/Raster.h"
#include "chart/TChart.h"
#include "chart/TextColors.h"
#include "core/Errors.h"
#include "core/JsonParams.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace kovan {

namespace {

QJsonValue parseAttributes(const QString& lInfo) {
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(lInfo.toUtf8(), &err);
    if (err.error != QJsonParseError::NoError)
        throw ConversionError("layer attributes are not JSON");
    if (doc.isObject())
        return doc.object();
    if (doc.isArray())
        return doc.array();
    return QJsonValue();
}

// An attribute as the text a label shows: strings as they are, numbers in their shortest form.
QString attrText(const QJsonObject& o, QStringView key) {
    const QJsonValue v = o.value(key);
    if (v.isDouble())
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    return jsonText(o, key);
}

int attrInt(const QJsonObject& o, QStringView key) {
    return int(std::clamp<qint64>(jsonInt(o, key), -1000000000, 1000000000));
}

// A layer colour, or the style colour named by `fallback` when it is empty.
quint32 layerColour(const QJsonObject& attr, QStringView key, const QJsonObject& style,
                    QStringView fallback) {
    const QString s = jsonText(attr, key);
    return s.isEmpty() ? styleColor(style, fallback) : styleColor(s);
}

} // namespace

// ---- layer list ------------------------------------------------------------------------

QString TChart::addLayer(int cate, const QString& lInfo) {
    const QJsonValue attr = parseAttributes(lInfo);
    const QString lkey = jsonText(attr.toObject(), u"lkey");
    if (!lkey.isEmpty()) {
        for (LayerRecord& layer : m_IndexLayers)
            if (layer.lKey == lkey) {
                layer.Attrib = attr; // category, style and overlay stay
                return lkey;
            }
    }
    LayerRecord rec;
    rec.Attrib = attr;
    rec.lKey = makeLayerKey(8);
    if (cate == LayerRecord::Extension) {
        rec.inxType = LayerRecord::Extension;
        rec.obj = m_FMView->addLayer(QRect(), QSize()); // a slot for later content: empty
        rec.style = jsonText(attr.toObject(), u"style");
        rec.width = rec.bounds.right - rec.bounds.left;
        rec.height = rec.bounds.bottom - rec.bounds.top;
    } else {
        rec.inxType = LayerRecord::Indicator;
    }
    m_IndexLayers.push_back(std::move(rec));
    return m_IndexLayers.back().lKey;
}

void TChart::ModifyLayer(const QString& lKey, const QString& lInfo) {
    auto it = std::find_if(m_IndexLayers.begin(), m_IndexLayers.end(),
                           [&](const LayerRecord& l) { return l.lKey == lKey; });
    if (it == m_IndexLayers.end())
        return;
    it->Attrib = parseAttributes(lInfo);
    const QString style = jsonText(it->Attrib.toObject(), u"style");
    if (style != it->style) {
        it->style = style;
        it->width = it->bounds.right - it->bounds.left;
        it->height = it->bounds.bottom - it->bounds.top;
    }
}

void TChart::removeLayer(const QString& layerKey) {
    auto it = std::find_if(m_IndexLayers.begin(), m_IndexLayers.end(),
                           [&](const LayerRecord& l) { return l.lKey == layerKey; });
    if (it != m_IndexLayers.end()) {
        if (it->obj)
            m_FMView->removeLayer(it->obj);
        m_IndexLayers.erase(it);
    }
    draw();
}

// ---- indicators ------------------------------------------------------------------------

void TChart::drawIndexPPVI(int layerInx) {
    if (!m_FPData || layerInx < 0 || layerInx >= int(m_IndexLayers.size()))
        return;
    const QJsonObject a = m_IndexLayers[size_t(layerInx)].attributes();
    const ChartDataList& bars = m_FPData->datalist;
    const int last = std::min(m_FELineED, int(bars.size()) - 1);
    const qint64 itime = jsonInt(a, u"itime");
    if (itime <= 0 || last < 0 || bars[size_t(last)].dl < itime)
        return;
    const int st = step();
    int k = 0;
    for (int i = std::max(m_FELineST, 0); i <= last && bars[size_t(i)].dl < itime; ++i)
        ++k;
    const int xs = k > 0 ? k * st : 1;

    const quint32 zc = layerColour(a, u"zccolor", m_FStyle, u"yinxian");
    const quint32 zl = layerColour(a, u"zlcolor", m_FStyle, u"yangzhu");
    const quint32 pp = layerColour(a, u"ppcolor", m_FStyle, u"broken");
    QImage& img = *m_target;
    const int w = img.width(), H = img.height() - 20;
    if (xs > 1)
        raster::line(img, xs, 1, xs, H, styleColor(m_FStyle, u"front"));

    const quint32 back = styleColor(m_FStyle, u"back");
    m_font.pointSize = 8;
    // Dots on every third column from xs to w - 60 inclusive.
    auto dotted = [&](int y, quint32 c) {
        if (y < 0 || y >= img.height())
            return;
        int x = xs <= 0 ? 0 : (xs + 2) / 3 * 3;
        for (; x <= w - 60; x += 3)
            raster::setPixel(img, x, y, c);
    };

    int y = m_scale.y(jsonReal(a, u"PV"));
    dotted(y, pp);
    text(img, *m_targetText, xs + 10, y - 7, QStringLiteral("PP ") + attrText(a, u"PV"),
         fontColour(pp, back));

    // One dotted level per key with its label: above the line for resistances, below for
    // supports. The second support also gets a solid line under its dots.
    auto levels = [&](const char16_t* const* keys, const char16_t* const* labels, quint32 c,
                      int textDy, int solidIndex) {
        const quint32 textColour = fontColour(c, back);
        for (int i = 0; i < 5; ++i) {
            const int ly = m_scale.y(jsonReal(a, QStringView(keys[i])));
            if (ly <= 1 || ly >= H)
                continue;
            if (i == solidIndex)
                raster::line(img, xs, ly, w, ly, c);
            dotted(ly, c);
            text(img, *m_targetText, xs + 10, ly + textDy, QString::fromUtf16(labels[i]),
                 textColour);
        }
    };
    static constexpr const char16_t* resistances[] = {u"R5", u"R4", u"R3", u"R2", u"R1"};
    static constexpr const char16_t* resistanceLabels[] = {u"阻力5", u"阻力4", u"阻力3", u"阻力2",
                                                           u"阻力1"};
    static constexpr const char16_t* supports[] = {u"S1", u"S2", u"S3", u"S4", u"S5"};
    static constexpr const char16_t* supportLabels[] = {u"支撑1", u"支撑2", u"支撑3", u"支撑4",
                                                        u"支撑5"};
    levels(resistances, resistanceLabels, zl, -16, -1);
    levels(supports, supportLabels, zc, 5, 1);
}

void TChart::drawIndexMA(int layerInx) {
    if (!m_FPData || layerInx < 0 || layerInx >= int(m_IndexLayers.size()))
        return;
    const QJsonObject a = m_IndexLayers[size_t(layerInx)].attributes();
    const QJsonValue list = a.value(QLatin1String("MALIST"));
    if (!list.isArray() || list.toArray().isEmpty())
        return;
    const ChartDataList& bars = m_FPData->datalist;
    const int last = std::min(m_FELineED, int(bars.size()) - 1);
    const int st = step();
    quint32 c = styleColor(m_FStyle, u"front");
    std::vector<QPoint> points;
    for (const QJsonValue& ev : list.toArray()) {
        const QJsonObject e = ev.toObject();
        const int maped = attrInt(e, u"MAPED");
        if (maped < 1)
            continue;
        const QString colour = jsonText(e, u"color");
        if (!colour.isEmpty())
            c = styleColor(colour);
        const int lw = attrInt(e, u"linew");
        points.clear();
        for (int k = 0; m_FELineST + k <= last; ++k) {
            const int i = m_FELineST + k;
            points.emplace_back(k * st + st / 2, m_scale.y(avgPrice(bars, i, maped, FieldClose)));
        }
        raster::drawWideLine(*m_target, points, lw, c);
    }
}

void TChart::DrawIndexBB(int layerInx) {
    if (!m_FPData || layerInx < 0 || layerInx >= int(m_IndexLayers.size()))
        return;
    const QJsonObject a = m_IndexLayers[size_t(layerInx)].attributes();
    const quint32 c = layerColour(a, u"color", m_FStyle, u"front");
    const int n = attrInt(a, u"cycle");
    const int m = attrInt(a, u"stddev");
    const int lw = attrInt(a, u"linew");
    const ChartDataList& bars = m_FPData->datalist;
    const int last = std::min(m_FELineED, int(bars.size()) - 1);
    const int st = step();
    std::vector<QPoint> upper, middle, lower;
    for (int k = 0; m_FELineST + k <= last; ++k) {
        const int i = m_FELineST + k;
        const TMYDAr b = bandValues(bars, i, m, n);
        const int x = k * st + st / 2;
        upper.emplace_back(x, m_scale.y(b[0]));
        middle.emplace_back(x, m_scale.y(b[1]));
        lower.emplace_back(x, m_scale.y(b[2]));
    }
    raster::drawWideLine(*m_target, upper, lw, c);
    raster::drawWideLine(*m_target, middle, lw, c);
    raster::drawWideLine(*m_target, lower, lw, c);
}

} // namespace kovan
