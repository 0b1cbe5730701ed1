#pragma once

#include <QString>

namespace kovan {

// Instrument and period codes of a chart. They become path segments of the feed's addresses
// and the name of the history file, and the series record holds at most 15 characters of
// each; a code that does not fit is refused, never cut, so that two codes never share a file.
//
// A usable code has 1 to 15 characters, none of them a control character, "/" or "\", no
// blank at either end (the file name drops those), and is neither "." nor "..".

// Empty when `code` is usable; otherwise what is wrong with it, for the page's error.
QString chartCodeProblem(const QString& code);

// Throws ConversionError("<what>: <problem>") when `code` is not usable.
void requireChartCode(const char* what, const QString& code);

} // namespace kovan
