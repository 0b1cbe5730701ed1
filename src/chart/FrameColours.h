#pragma once

#include <QJsonObject>

#include <array>
#include <optional>

namespace kovan {

// Style colours of one frame, each parsed on first use, so that a bad colour only fails a
// frame that actually needs it (InvalidColorError).
class FrameColours {
public:
    enum Key { Back, Front, Broken, Yinzhu, Yangzhu, Yinxian, Yangxian, Count };
    explicit FrameColours(const QJsonObject& style) : m_style(style) {}
    quint32 operator[](Key k);

private:
    const QJsonObject& m_style;
    std::array<std::optional<quint32>, Count> m_values;
};

} // namespace kovan
