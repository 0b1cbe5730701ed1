#pragma once

#include "shell/SkinPanel.h"

#include <QColor>
#include <QFont>

#include <functional>

namespace kovan {

// The paint functions of the skinned panels, built from the skin's images and the fixed
// colours. Each returns a SkinPanel::Painter. GUI thread.
class SkinPainters {
public:
    static const QColor& windowBlue(); // #309DE9
    static const QColor& darkLine();   // #013E7F
    static const QColor& lightLine();  // #3FA2E7

    // topImages[index] stretched over the panel.
    static SkinPanel::Painter stretched(int topIndex);
    // A picture drawn unscaled and centred; the picture is asked for at paint time.
    static SkinPanel::Painter centred(std::function<QImage()> picture);
    static SkinPanel::Painter solid(QColor colour);

    // The middle column's two left lines, the right column's right line, the status band's
    // frame and strip.
    static SkinPanel::Painter middleColumn();
    static SkinPanel::Painter rightColumn();
    static SkinPanel::Painter statusBand();
    // The divider: strip, then the arrow of the collapsed (tag 1) or expanded (tag 0) state.
    static SkinPanel::Painter divider();
    // The ticker band's left plate: blue fill and a white square from (4, 4), clipped.
    static SkinPanel::Painter earnPlate();

    // Navigation button: navButtonImages[tag], white caption, bold while the tag is 1.
    static SkinPanel::Painter navButton(QFont font);
    // A filter or style button; `groupTag` and `count` are read at paint time.
    static SkinPanel::Painter groupButton(std::function<int()> groupTag, int count, QFont font);
    // A single header button (always the selected look).
    static SkinPanel::Painter singleButton(QFont font);
    // The instrument button: the single look plus the drop arrow at its right end.
    static SkinPanel::Painter symbolTypeButton(QFont font);
    // Service button: topImages 19 / 20 / 21 by tag, caption in white.
    static SkinPanel::Painter serviceButton(QFont font);

    static QFont captionFont(int pixelSize, bool bold = false);
};

} // namespace kovan
