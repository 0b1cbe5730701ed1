#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace kovan {

// The text labels of the skinned windows (the main window's bands, the corner pop-up, the
// floating bar): a font and a text colour, drawn straight onto the skin. GUI thread only.

// A new label `name` with its text, font and colour, on a transparent background.
QLabel* skinLabel(const QString& name, const QString& text, const QFont& font, const QColor& colour,
                  QWidget* parent);
// Gives a label (also a clickable one) its font and text colour.
void styleLabel(QLabel* label, const QFont& font, const QColor& colour);
// The text colour alone (hover colours of link captions).
void setTextColour(QLabel* label, const QColor& colour);

} // namespace kovan
