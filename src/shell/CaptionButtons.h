#pragma once

#include <QRect>

namespace kovan {

// State of the title bar's minimise / maximise / close pictures and the maximise toggle.
// Image numbers index topImages. Plain state, GUI thread.
class CaptionButtons {
public:
    static constexpr int kClose = 0;
    static constexpr int kMinimise = 1, kMinimiseHover = 2;
    static constexpr int kMaximise = 3, kMaximiseHover = 4;
    static constexpr int kRestore = 5, kRestoreHover = 6;

    // MaxImg.Tag: 0 normal, 1 maximised.
    int maxTag() const { return m_maxTag; }
    bool maximised() const { return m_maxTag == 1; }

    // The picture MaxImg shows right now.
    int maxImage() const { return m_maxImage; }
    // MaxImgMouseEnter / MaxImgMouseLeave.
    void maxEnter() { m_maxImage = m_maxTag == 0 ? kMaximiseHover : kRestoreHover; }
    void maxLeave() { m_maxImage = m_maxTag == 0 ? kMaximise : kRestore; }

    int minImage() const { return m_minImage; }
    void minEnter() { m_minImage = kMinimiseHover; }
    void minLeave() { m_minImage = kMinimise; }

    // MaxImgClick / topPae2DblClick. `current` is the window's present bounds; `screen` the
    // screen's geometry and `workArea` its available area. Returns the bounds the window takes:
    // maximised = top-left of the screen, screen width × work-area height; restoring gives back
    // the bounds held before maximising.
    QRect toggle(const QRect& current, const QRect& screen, const QRect& workArea);

private:
    int m_maxTag = 0;
    int m_maxImage = kMaximise;
    int m_minImage = kMinimise;
    QRect m_normalBounds;
};

} // namespace kovan
