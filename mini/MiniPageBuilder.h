#pragma once
// The mini window's one-row marquee page, built without a window: the comment pipeline
// (present/CommentPipeline.h) with the mini cleaning (no image handling, no stagger), the mini
// colours and the cell formatter below.
//
// Page format: "<html><body bgcolor=gainsboro><Marquee loop=1 scrollamount=\"14\"><table><tr>"
// CR LF, one "<td>" cell per response (green number, then the text in a font that shrinks with
// its line count) each followed by CR LF, then "</tr></table></Marquee></body></html>".

#include "present/CommentPipeline.h"
#include "present/MarqueePage.h"

#include <QString>
#include <optional>

class ResponseRecord;

// What the mini builders read from the main window at every build.
struct MiniSettings : PipelineSettings
{
    int intMaxRow = 2;             // 1 to 4, or 10 for "全て"
};

struct MiniBuild : ViewBuild
{
    QString page;                     // Shown: written to "tempHtml2.html"
    MarqueePage rows;                 // Shown: the same page as WebScroll draws it
    int cells = 0;                    // responses on the page
    bool disableMiniCommand1 = false; // at the end: dat mode also disables the mini Start
};

// The file the page is written to, in the program folder (the main page's file).
QString miniPageFileName();

MiniBuild createTextFromDatWebScrollMini(ThreadPosition &position, const ResponseRecord &record,
                                         const MiniSettings &settings, qint32 &lngMsgCount);

// text2 is Text2's text; it keeps the page trimmed to its first "<dt>", as the text box does.
MiniBuild createTextWebScrollMini(ThreadPosition &position, QString &text2,
                                  const MiniSettings &settings, qint32 &lngMsgCount);

// ---- page pieces ----

// 26 ÷ lines, to the nearest whole number with halves to even (26, 13, 9, 6 for one to four
// lines); fewer than one line counts as one.
int miniFontSize(int lines);
// " color:orange;\">", " color:hotpink;\">", " color:magenta;\">" or " color:black;\">".
QString miniColour(const QString &text);
// One "<td>" cell (without the CR LF that follows it on the page).
QString miniCell(const QString &number, const QString &text, int lines);
// The page around the cells, each of which already ends in CR LF.
QString miniPage(const QString &cells);
