// TChart: the layer list.
#include "chart/TChart.h"

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
    dropLayer(layerKey);
    draw();
}

void TChart::dropLayer(const QString& layerKey) {
    auto it = std::find_if(m_IndexLayers.begin(), m_IndexLayers.end(),
                           [&](const LayerRecord& l) { return l.lKey == layerKey; });
    if (it != m_IndexLayers.end()) {
        if (it->obj)
            m_FMView->removeLayer(it->obj);
        m_IndexLayers.erase(it);
    }
}

} // namespace kovan
