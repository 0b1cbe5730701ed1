#include "chart/FrameColours.h"

#include "core/ChartData.h"

namespace kovan {

quint32 FrameColours::operator[](Key k) {
    static constexpr const char16_t* names[Count] = {u"back",    u"front",   u"broken",  u"yinzhu",
                                                     u"yangzhu", u"yinxian", u"yangxian"};
    if (!m_values[k])
        m_values[k] = styleColor(m_style, QStringView(names[k]));
    return *m_values[k];
}

} // namespace kovan
