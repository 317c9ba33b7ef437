#pragma once
// The marquee page of new responses (view mode "モード２"), built without a window: the comment
// pipeline (present/CommentPipeline.h) with the marquee cleaning, the marquee colours (keywords,
// then random pastels in dat mode and white in web mode) and the page formatter below.
// createTextFromDatWebScroll works on the response record (dat mode), createTextWebScroll on
// the read.cgi page text held in Text2 (web mode).
//
// Page format: "<html><body bgcolor=#003366><table width=\"100%\"><tr><td>", then five
// <Marquee> elements per response (four black outline copies, then the coloured text), each
// followed by CR LF, then "</td></tr></table>".

#include "present/CommentPipeline.h"
#include "present/KeywordColour.h"
#include "present/MarqueePage.h"

#include <QString>
#include <optional>

class ResponseRecord;

// What the builders read from the main window and its settings dialog at every build.
struct MarqueeSettings : PipelineSettings
{
    QString comboMaxRow;            // text shown in comboMaxRow ("1" .. "4", "全て")
    int intScroll = 5;              // 3 fast, 5 normal, 8 slow
};

struct MarqueeBuild : ViewBuild
{
    bool disableCommand2 = false;  // first call at 1001 in dat mode: Command2 off too
    QString page;                  // Shown: written to "tempHtml2.html"
    MarqueePage rows;              // Shown: the same page as WebScroll draws it
};

// The file the page is written to, in the program folder.
QString marqueePageFileName();

MarqueeBuild createTextFromDatWebScroll(ThreadPosition &position, const ResponseRecord &record,
                                        const MarqueeSettings &settings, ImageLists &images,
                                        qint32 &lngMsgCount, const RandomSource &random = {});

// text2 is Text2's text; it keeps the page trimmed to its first "<dt>", as the text box does.
MarqueeBuild createTextWebScroll(ThreadPosition &position, QString &text2,
                                 const MarqueeSettings &settings, ImageLists &images,
                                 qint32 &lngMsgCount);

// ---- page pieces (also used by tests and benchmarks) ----

// scrollamount for intScroll 3, 5, 8 ("22", "13", "5"); nullopt for any other value.
std::optional<QString> marqueeScrollAmount(int intScroll);
// The five elements of one response at batch position k, with L lines above it in the batch.
QString marqueeRows(const QString &text, const QString &colour, int k, int linesAbove,
                    const QString &scrollAmount);
QString marqueePage(const QString &rows);
// The page's background, bgcolor=#003366.
constexpr MarqueeRgb kMarqueePageBackground = 0x003366;

// The five elements of marqueeRows as the surface draws them, appended to out: the text is read
// as the page reader reads it, once for the four black copies and, when markup other than its
// line breaks could colour it differently, once more for the coloured one.
void appendMarqueeRowElements(QList<MarqueeElement> &out, const QString &text, const QString &colour,
                              int k, int linesAbove, int scrollAmount);
// The colour of a declaration such as " color:orange;" (black when it names none).
MarqueeRgb declaredColour(const QString &declaration);
