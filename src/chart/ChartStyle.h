#pragma once

#include <QJsonObject>

#include <array>
#include <optional>

namespace kovan {

// A chart style (a JSON object of colour texts and widths) as the drawing reads it, taken apart
// once when the style is set instead of key by key in every frame.
//
// A colour text that is not a colour is kept as such: reading that colour throws
// InvalidColorError, so a bad colour fails exactly the drawing that reads it, at the moment it
// reads it (a full frame is abandoned there, the waiting message and the cross-hair pass the
// error on), and a style with a bad colour that nothing draws fails nothing.
class ChartStyle {
public:
    enum Colour { Back, Front, Broken, Yinzhu, Yangzhu, Yinxian, Yangxian, ColourCount };

    ChartStyle(); // the empty style: every colour 0 (transparent black), widths 0, candles
    explicit ChartStyle(const QJsonObject& style);

    // 0xAARRGGBB; throws InvalidColorError when the style's text for it is not a colour.
    quint32 colour(Colour c) const;

    int kwidth() const { return m_kwidth; } // body width; line width in line mode
    int kmargin() const { return m_kmargin; }
    int step() const { return m_kwidth + m_kmargin; } // one bar slot
    bool candles() const { return m_linetype == 0; }

private:
    std::array<std::optional<quint32>, ColourCount> m_colours; // none: not a colour
    int m_kwidth = 0;
    int m_kmargin = 0;
    int m_linetype = 0;
};

} // namespace kovan
