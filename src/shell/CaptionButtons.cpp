#include "shell/CaptionButtons.h"

namespace kovan {

QRect CaptionButtons::toggle(const QRect& current, const QRect& screen, const QRect& workArea) {
    if (m_maxTag == 1) {
        m_maxTag = 0;
        m_maxImage = kMaximise;
        return m_normalBounds;
    }
    m_maxTag = 1;
    m_maxImage = kRestore;
    m_normalBounds = current;
    return {screen.left(), screen.top(), screen.width(), workArea.height()};
}

} // namespace kovan
