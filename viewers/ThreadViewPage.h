#pragma once
// The thread view page ("image/tempHtml3.html"): a title, then one white box with rounded
// corners per response (number, name twice and date above the body), on a #DCDCDC page. Lines
// end with CR LF.

#include "viewers/ViewerHosts.h"

#include <QString>
#include <functional>
#include <optional>

// The page's title: the lblCaption text with every "Kestrelon" removed.
QString threadViewTitle(const QString &lblCaption);

// The header line and the empty line after it.
QString threadViewHeader(const QString &title);

// The block of one response (18 lines and an empty line). Names, date texts and bodies pass
// through inertMarkup; the body first loses its anchors (unlinkResAnchorsRaw) and gets its
// image addresses linked (linkImageUrls).
QString threadViewBlock(const QString &number, const QString &name, const QString &dateAndId,
                        const QString &body);

// The last line.
QString threadViewFooter();

// The whole page for responses 0 to the highest index of the host's record, read one element
// at a time. afterBlock runs after each block (the window lets events run there); when it
// returns false the build is abandoned. std::nullopt when abandoned or when the record shrank
// under the build (an element no longer there).
std::optional<QString> buildThreadViewPage(const ThreadViewHost &host, const QString &title,
                                           const std::function<bool()> &afterBlock = {});
