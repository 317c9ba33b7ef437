#pragma once
// Response text reaches the thread view page after the dat conversion has turned "&lt;" back
// into "<", so a poster's "<script>" or "onerror=" arrives as live markup. The page is shown
// with scripts off, but the file also lies on disk where another browser may open it. This
// keeps only the markup a response needs and turns the rest into visible text:
//   - tags a, b, br, font, hr, i, u, s, small, big, span, em, strong, sub, sup and img stay,
//     with only the attributes href, target, color, size, face, title, src, width, height,
//     border and alt; an href or src that is not http(s) or a plain relative address is
//     dropped (so "javascript:" and entity-hidden schemes go);
//   - any other tag, and a "<" that does not open a well-formed tag, gets its "<" written
//     as "&lt;", so the text shows as typed.
// Ordinary bodies ("<br>", ">>12", image links) come out unchanged.

#include <QString>

QString inertMarkup(const QString &text);
