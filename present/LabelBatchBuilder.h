#pragma once
// The new responses of a fetch as comments for the label strip (view mode "モード１"), built
// without a window. createTextFromDatLabel works on the response record (dat mode),
// createTextLabel on the read.cgi page text held in Text2 (web mode). They share the thread
// bookkeeping, batch choice and text cleaning of the marquee builders; a comment here is plain
// multi-line text (CR LF line ends, no indent, lower case) with a colour from the label palette.
//
// The builders return the comments to create; showLabelBatch hands them to the strip with their
// indexes, then the main window calls setImage and runs the end-of-thread handling.

#include "present/BurstSpread.h"
#include "present/ImageLists.h"
#include "present/ThreadBookkeeping.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class ResponseRecord;

// What the builders read from the main window and its settings dialog at every build.
struct LabelSettings
{
    QString label3;                // Label3's caption: the thread's current page address
    QString strGetSintyakuFooter;  // "n-" or "-"
    QString comboMax;              // text of comboMax's selected item ("10" .. "30")
    QString comboMaxRow;           // text shown in comboMaxRow ("1" .. "4", "全て")
    int intNextWhen1000 = 0;
    quint32 varFontColor = 0xC0C0FF;  // 0xRRGGBB, for comments without a keyword
};

// One comment to create: its text, colour (0xRRGGBB) and position k in the batch, from 1.
struct LabelComment
{
    QString text;
    quint32 colour = 0;
    int k = 1;
};

struct LabelBuild
{
    enum class Outcome {
        Failed,      // silent end: apply the captions below if set, nothing else
        NothingNew,  // nothing changes
        FirstCall,   // position recorded, nothing shown
        Comments,    // comments to create
    };
    Outcome outcome = Outcome::Failed;

    std::optional<QString> label3;  // new caption of Label3
    std::optional<QString> label1;  // new caption of Label1 (intLastDt)

    // First call only.
    bool alreadyFull = false;     // show alreadyFullMessage(), disable Command1 and Command2
    bool startCountdown = false;  // enable TimerReget

    // Comments only.
    QList<LabelComment> comments;
    // A response that could not be read cut the batch short: create the comments above, then end
    // silently (no setImage, no end-of-thread handling).
    bool cutShort = false;
    bool callSetImage = false;    // setImage(varImageResNo, varImageUrl, 0), once, after the batch
    bool threadEnded = false;     // 1001: Command1/Command2/TimerReget off, Command1 "開始",
                                  // chkOutLineMode off, then `next`
    EndOfThreadAction next = EndOfThreadAction::Nothing;
};

LabelBuild createTextFromDatLabel(ThreadPosition &position, const ResponseRecord &record,
                                  const LabelSettings &settings, ImageLists &images);

// text2 is Text2's text; it keeps the page trimmed to its first "<dt>", as the text box does.
LabelBuild createTextLabel(ThreadPosition &position, QString &text2, const LabelSettings &settings,
                           ImageLists &images);

// Creates the comments of a batch in order through create(text, colour, index, k): index is
// lngMsgCount (1 when it is 0), and lngMsgCount moves past each comment created. Stops at the
// first comment that cannot be created and returns false; true when all were created.
using CreateLabelComment = std::function<bool(const QString &text, quint32 colour, qint32 index, int k)>;
bool showLabelBatch(const QList<LabelComment> &comments, qint32 &lngMsgCount,
                    const CreateLabelComment &create);

// The batch to spread over the interval: every comment gets its index now, in order, and
// lngMsgCount moves past them all.
QList<present::SpreadComment> indexLabelBatch(const QList<LabelComment> &comments, qint32 &lngMsgCount);
