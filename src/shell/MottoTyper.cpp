#include "shell/MottoTyper.h"

namespace kovan {

QString MottoTyper::tick() {
    const QString text = motto().left(m_tag);
    ++m_tag;
    if (m_tag > 10)
        m_tag = 0;
    return text;
}

} // namespace kovan
