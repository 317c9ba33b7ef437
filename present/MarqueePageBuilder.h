#pragma once
// The marquee page of new responses (view mode "モード２"), built without a window.
// createTextFromDatWebScroll works on the response record (dat mode), createTextWebScroll on
// the read.cgi page text held in Text2 (web mode). Each returns what the main window must do:
// captions to set, buttons and the countdown to switch, the page to write to "tempHtml2.html"
// and show in WebScroll, whether to call setImage, and what follows the end of the thread.
//
// Page format: "<html><body bgcolor=#003366><table width=\"100%\"><tr><td>", then five
// <Marquee> elements per response (four black outline copies, then the coloured text), each
// followed by CR LF, then "</td></tr></table>".

#include "present/ImageLists.h"
#include "present/KeywordColour.h"
#include "present/ThreadBookkeeping.h"

#include <QString>
#include <optional>

class ResponseRecord;

// What the builders read from the main window and its settings dialog at every build.
struct MarqueeSettings
{
    QString label3;                 // Label3's caption: the thread's current page address
    QString strGetSintyakuFooter;   // "n-" or "-"
    QString comboMax;               // text of comboMax's selected item ("10" .. "30")
    QString comboMaxRow;            // text shown in comboMaxRow ("1" .. "4", "全て")
    int intScroll = 5;              // 3 fast, 5 normal, 8 slow
    int intNextWhen1000 = 0;
};

struct MarqueeBuild
{
    enum class Outcome {
        Failed,     // silent end: apply the captions below if set, nothing else
        NothingNew, // nothing changes
        FirstCall,  // position recorded, no page
        Page,       // a page to write and show
    };
    Outcome outcome = Outcome::Failed;

    std::optional<QString> label3; // new caption of Label3
    std::optional<QString> label1; // new caption of Label1 (intLastDt)

    // First call only.
    bool alreadyFull = false;      // show alreadyFullMessage(), disable Command1 ...
    bool disableCommand2 = false;  // ... and Command2 (dat mode)
    bool startCountdown = false;   // enable TimerReget and Command2

    // Page only.
    QString page;
    bool callSetImage = false;     // setImage(varImageResNo, varImageUrl, 0), once
    bool threadEnded = false;      // 1001: Command1/Command2 off, Command1 "開始",
                                   // TimerReget off, chkOutLineMode off, then `next`
    EndOfThreadAction next = EndOfThreadAction::Nothing;
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
