#pragma once
// Board text (thread titles, response text) and file names in labels, tooltips and message
// boxes. Qt guesses rich text from the text itself, so a thread title starting with
// "<font size=6>" or holding "<img src=/some/file.png>" would be drawn as markup (and load a
// local file). These keep such text as written.

#include <QString>

class QLabel;

namespace platform {

// The label shows its text as plain text from now on; returns it.
QLabel *plainTextLabel(QLabel *label);

// A tooltip that shows text as written: the text itself when Qt would not take it for markup,
// otherwise the text escaped in a paragraph that keeps its blanks and line breaks.
QString plainToolTip(const QString &text);

} // namespace platform
