#pragma once
// Response text reaches the thread view page after the dat conversion has turned "&lt;" back
// into "<", so a poster's "<script>" or "onerror=" arrives as live markup. The page is shown
// with scripts off, but the file also lies on disk where another browser may open it. This
// keeps only the markup a response needs and turns the rest into visible text:
//   - tags a, b, br, font, hr, i, u, s, small, big, span, em, strong, sub, sup and img stay,
//     with only the attributes href, target, color, size, face, title, width, height,
//     border and alt; every src goes (a response loads nothing by itself: the page's only
//     pictures are its own corner images), and so does an href that is not http(s)
//     ("javascript:", entity-hidden schemes, and relative or absolute paths, which would name
//     local files beside the page);
//   - any other tag, and a "<" that does not open a well-formed tag, gets its "<" written
//     as "&lt;", so the text shows as typed.
// Ordinary bodies ("<br>", ">>12", image links) come out unchanged.

#include <QString>

QString inertMarkup(const QString &text);
