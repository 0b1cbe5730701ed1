#include "shell/TickerScroll.h"

namespace kovan {

TickerScroll::Step TickerScroll::tick() {
    Step step;
    if (m_p < 25) {
        step.offset = 25 * m_j + m_p;
    } else if (m_p == 50) {
        ++m_j;
        m_p = 0;
    }
    ++m_p;
    step.done = m_j >= m_rows;
    return step;
}

int TickerScroll::skipQuietTicks() {
    int skipped = 0;
    for (;;) {
        TickerScroll ahead = *this;
        const Step step = ahead.tick();
        if (step.offset || step.done)
            return skipped;
        *this = ahead;
        ++skipped;
    }
}

} // namespace kovan
