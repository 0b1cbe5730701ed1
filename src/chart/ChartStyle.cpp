#include "chart/ChartStyle.h"

#include "chart/ChartData.h"

namespace kovan {

namespace {

constexpr const char16_t* colourKeys[ChartStyle::ColourCount] = {
    u"back", u"front", u"broken", u"yinzhu", u"yangzhu", u"yinxian", u"yangxian"};

} // namespace

ChartStyle::ChartStyle() {
    m_colours.fill(0u); // what an empty colour text reads as
}

ChartStyle::ChartStyle(const QJsonObject& style)
    : m_kwidth(styleInt(style, u"kwidth")), m_kmargin(styleInt(style, u"kmargin")),
      m_linetype(styleInt(style, u"linetype")) {
    for (int c = 0; c < ColourCount; ++c) {
        try {
            m_colours[size_t(c)] = styleColor(style, QStringView(colourKeys[c]));
        } catch (const InvalidColorError&) {
            m_colours[size_t(c)].reset(); // thrown again when a drawing reads it
        }
    }
}

quint32 ChartStyle::colour(Colour c) const {
    const std::optional<quint32>& v = m_colours[size_t(c)];
    if (!v)
        throw InvalidColorError();
    return *v;
}

} // namespace kovan
