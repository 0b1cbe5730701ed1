#pragma once

#include "core/RoundHalfEven.h"

#include <QRect>
#include <QSize>

#include <algorithm>

namespace kovan {

// Logical pixels (what the chart and the rates ticker lay out, what the mouse reports) to the
// device pixels of a screen with device pixel ratio `ratio`. Every position and length is
// multiplied by the ratio and rounded half to even (roundHalfEven); at ratio 1 every mapping is
// the identity, so a 1× screen gets exactly the pixels it always got.
class DeviceScale {
public:
    DeviceScale() = default;
    // Ratios that are not finite or not above 0 are taken as 1.
    explicit DeviceScale(double ratio) : m_ratio(ratio > 0 && ratio < 64 ? ratio : 1.0) {}

    double ratio() const { return m_ratio; }
    bool identity() const { return m_ratio == 1.0; }

    // A logical position (or a length from 0) in device pixels.
    int px(int v) const { return identity() ? v : roundHalfEven(v * m_ratio); }
    // How wide a one-pixel line is drawn: round(ratio), never less than one device pixel.
    int lineWidth() const { return std::max(1, roundHalfEven(m_ratio)); }
    // The pixel size a font of `pixels` logical pixels is drawn at.
    int fontPixels(int pixels) const { return std::max(1, px(pixels)); }
    // The device pixels a logical rectangle covers: its edges mapped as positions, so that
    // rectangles side by side stay side by side.
    QRect rect(const QRect& logical) const {
        if (identity())
            return logical;
        return QRect(QPoint(px(logical.left()), px(logical.top())),
                     QPoint(px(logical.right() + 1) - 1, px(logical.bottom() + 1) - 1));
    }
    // The bitmap a view of `logical` pixels is drawn into.
    QSize size(const QSize& logical) const {
        return QSize(px(logical.width()), px(logical.height()));
    }

    friend bool operator==(const DeviceScale& a, const DeviceScale& b) {
        return a.m_ratio == b.m_ratio;
    }

private:
    double m_ratio = 1.0;
};

} // namespace kovan
