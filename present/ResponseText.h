#pragma once
// Turns one response body into the text a presenter shows. The steps run in a fixed order that
// every presenter shares; the variants differ only in which steps they take:
//   marquee page: lines kept as "<br>", image addresses collected, stagger indent and "&nbsp;";
//   label strip:  "<br>" turned into CR LF, image addresses collected, no indent;
//   mini strip:   lines kept as "<br>", no image handling, no indent.
// The two page variants also write any markup left in the text as text, so that a response can
// neither end nor restyle the page around it.
// The link operations of core/Patterns.h rewrite the text; unlinkOtherAnchors lower-cases it.

#include "present/ImageLists.h"

#include <QString>
#include <QStringList>

enum class ImageLinkForm {
    None,          // mini strip: image addresses stay in the text, the lists are not touched
    DatAddresses,  // dat bodies: bare addresses (countImageUrls / takeImageUrls)
    WebAnchors,    // read.cgi bodies: image anchors (countImageAnchors / takeImageAnchors)
};

struct CleaningVariant
{
    ImageLinkForm images = ImageLinkForm::DatAddresses;
    bool lineEnds = false; // "<br>" becomes CR LF (label strip)
    bool stagger = false;  // 8·k spaces before the text and after each "<br>", then "&nbsp;"
    bool pageText = false; // every "<" but those of the "<br>" line breaks becomes "&lt;"
};

struct CleaningInput
{
    QString body;
    int maxRows = 10;             // lines kept: indexes 0 .. maxRows - 1
    int k = 1;                    // position in the batch, from 1
    bool lastWebElement = false;  // cut at the first "</dd>" (last element of a read.cgi page)
};

struct CleanedResponse
{
    QString text;
    int lineCount = 0;       // lines kept (may be 0 for maxRows <= 0)
    QStringList imageUrls;   // addresses found, in order
    bool hadImages = false;  // the count operation found any
};

CleanedResponse cleanResponseText(const CleaningInput &input, const CleaningVariant &variant);

// Removes "<br><br>", splits at "<br>" and keeps lines 0 .. maxRows - 1, each but the body's own
// last line followed by "<br>" (so a cut body ends in "<br>"). lineCount receives the lines kept.
QString keepFirstLines(const QString &body, int maxRows, int *lineCount);

// The text with every "<" written as "&lt;" except in "<br>": what a page shows as the text
// itself. Character references stay as they are (they only ever stand for text).
QString markupAsText(const QString &text);

// Appends each address with the response number to the image lists; returns how many.
int appendImages(ImageLists &lists, const QString &resNo, const QStringList &urls);
