#pragma once

#include <QString>

namespace kovan {

// The motto of the status band, typed out one character per tick (Timer2, 300 ms): tick k shows
// the first k characters, k runs 0 … 10 and starts again at 0. The full nine-character text
// therefore shows on two ticks (k = 9 and 10). Plain state, GUI thread.
class MottoTyper {
public:
    static QString motto() { return QStringLiteral("财富天下 互帮共赢"); }

    // Timer2Timer: the text to show now; then advances.
    QString tick();

    int tag() const { return m_tag; } // btmleftlabel.Tag

private:
    int m_tag = 0;
};

} // namespace kovan
