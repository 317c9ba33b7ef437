#pragma once
// The TV momentum-graph window shows the outside site's top page cut down to its graph part:
// the heading made a bold line, everything from the first table on dropped, and a credit line
// with a link to the site added.

#include <QString>

// The heading as the site writes it, and what replaces it.
QString tvGraphHeading();
QString tvGraphHeadingReplacement();

// The new page from the HTML inside the document's root element (head and body).
// The heading and "<TABLE " are found whatever the letter case of the tags: the browser's
// serialisation of the document need not keep the case the site wrote them in.
// A page without "<TABLE " is used whole; one without the heading keeps its own.
QString tvGraphPage(const QString &rootInnerHtml, const QString &topPage, const QString &host);

// "Powered&nbsp;By&nbsp;" + a link (target=new) to topPage reading host, then "</body></html>".
QString tvGraphCredit(const QString &topPage, const QString &host);
