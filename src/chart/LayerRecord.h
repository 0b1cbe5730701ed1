#pragma once

#include "chart/ChartView.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <memory>

namespace kovan {

// Left, top, right, bottom as the layer placement is described (right/bottom exclusive).
struct LayerBounds {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// One layer of a chart, in the chart's IndexLayers in creation order.
struct LayerRecord {
    static constexpr int Indicator = 1;
    static constexpr int Extension = 2;

    std::shared_ptr<BitmapLayer> obj; // overlay on the view; extension layers only
    QString lKey;                     // 8 characters of [A-Z0-9]
    QString style;                    // extension layers: the attribute "style" as text
    LayerBounds bounds;               // nothing sets it yet: empty
    int width = 0;                    // bounds.right - bounds.left
    int height = 0;                   // bounds.bottom - bounds.top
    QJsonValue Attrib;                // the layer's attributes
    int inxType = Indicator;

    // Attributes as an object (anything else reads as an empty object).
    QJsonObject attributes() const { return Attrib.toObject(); }
};

// `length` characters drawn uniformly and independently from "A…Z0…9", from a per-thread
// generator seeded once from the high-resolution clock. Keys are not checked for uniqueness.
QString makeLayerKey(int length);

// The placement of an extension overlay within a view of maxWidth × maxHeight. No rule turns a
// style into a rectangle yet, so the result is empty; addLayer does not call it.
LayerBounds parseLayerStyle(int maxWidth, int maxHeight, const QString& style);

} // namespace kovan
