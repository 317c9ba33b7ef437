#pragma once
// The mini window's one-row marquee page, built without a window. The position bookkeeping,
// batch range and first-call rule are the main builders' (present/ThreadBookkeeping.h); what
// differs is the page, the cleaning (no image handling, no stagger) and which buttons the first
// call and the end of a thread switch.
//
// Page format: "<html><body bgcolor=gainsboro><Marquee loop=1 scrollamount=\"14\"><table><tr>"
// CR LF, one "<td>" cell per response (green number, then the text in a font that shrinks with
// its line count) each followed by CR LF, then "</tr></table></Marquee></body></html>".

#include "present/ThreadBookkeeping.h"

#include <QString>
#include <optional>

class ResponseRecord;

// What the mini builders read from the main window at every build.
struct MiniSettings
{
    QString label3;                // Label3's caption: the thread's current page address
    QString strGetSintyakuFooter;  // "n-" or "-"
    QString comboMax;              // text of comboMax's selected item ("10" .. "30")
    int intMaxRow = 2;             // 1 to 4, or 10 for "全て"
    int intNextWhen1000 = 0;
};

struct MiniBuild
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
    bool alreadyFull = false;      // alreadyFullMessage(), then both Command1 buttons disabled
    bool startCountdown = false;   // enable TimerReget (Command2 is left alone)

    // Page only.
    QString page;
    int cells = 0;                 // responses on the page
    bool threadEnded = false;      // 1001: main Command1 off, TimerReget off, both Command1
                                   // captions "開始", chkOutLineMode off, then `next`
    bool disableMiniCommand1 = false; // at the end: dat mode also disables the mini Start
    EndOfThreadAction next = EndOfThreadAction::Nothing;
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
