#pragma once

#include <QtGlobal>

namespace kovan {

// The colour a chart text shows in when its font colour is set from a style colour.
//
// Chart texts take their font colour from a style colour (0xFFRRGGBB). The look users know is
// that of a platform that read such a value as a system colour numbered by its lowest byte:
// light-grey axis labels and waiting message on the default black background, black
// read-outs in the white cross-hair boxes. We reproduce that table (Windows' default system
// colours; numbers past the table are black) and add one rule of our own: when the result
// would hardly show on what it is drawn over (`under`, e.g. the black-on-black pivot label of
// the default style), it becomes light grey on dark backgrounds and black on light ones.
// A transparent colour (from an empty style string) counts as black.
quint32 fontColour(quint32 styleColour, quint32 under);

// The system colour `index` of that table, 0xFFRRGGBB.
quint32 systemColour(int index);

} // namespace kovan
