#pragma once
// The road from a fetched thread to what a view shows, shared by every view (label strip, marquee
// page, mini strip) and both fetch modes:
//
//   source    the response record (dat mode) or the read.cgi page text in Text2 (web mode)
//   position  first call / nothing new / new responses, and the next-page address
//   batch     the responses new since the previous fetch, capped by comboMax
//   filter    a ResponseFilter may hide responses from every view
//   cleaning  ResponseText.h, in the view's variant
//   colour, formatter   the view's own (MarqueePageBuilder, LabelBatchBuilder, MiniPageBuilder)
//
// Dat and web mode differ only in the source: where the last number and a response's fields are
// read from, and which responses make up a batch. Everything a build decides besides its output
// (captions, the first call, the end of the thread) is in ViewBuild, the same for every view.

#include "present/ImageLists.h"
#include "present/ResponseText.h"
#include "present/ThreadBookkeeping.h"

#include <QList>
#include <QString>
#include <optional>

class ResponseRecord;

// One response as the thread gives it, before any cleaning (markup and all).
struct ResponseFields
{
    QString number;  // dat: "1", "2" ...; web: the text before the first "：", spaces kept
    QString name;
    QString mail;
    QString dateId;  // date, time and ID
    QString body;
};

// The filter stage. hides() runs once per response of every batch, before cleaning, and for the
// thread view once per response of the record; it runs on the UI thread inside a build, so it
// must not start a fetch or re-enter the live cycle. A hidden response takes no place in its
// batch: the responses after it move up (position, stagger, comment index).
class ResponseFilter
{
public:
    virtual ~ResponseFilter() = default;
    virtual bool hides(const ResponseFields &response) const = 0;
};

// Record element i as fields (empty fields outside the record).
ResponseFields datResponseFields(const ResponseRecord &record, int i);
// True when filter (may be null) hides record element i.
bool isHiddenResponse(const ResponseFilter *filter, const ResponseRecord &record, int i);

// Where a build reads the thread: exactly one of the two is set.
struct CommentSource
{
    const ResponseRecord *record = nullptr;  // dat mode
    QString *text2 = nullptr;                // web mode; kept trimmed to its first "<dt>", as the
                                             // text box keeps it
    static CommentSource dat(const ResponseRecord &record) { return {&record, nullptr}; }
    static CommentSource web(QString &text2) { return {nullptr, &text2}; }
    bool isDat() const { return record != nullptr; }
};

// What every view's build decides besides its own output.
struct ViewBuild
{
    enum class Outcome {
        Failed,     // silent end: apply the captions below if set, and the end of the thread
        NothingNew, // nothing changes
        FirstCall,  // position recorded, nothing shown
        Shown,      // the view's output is ready
    };
    Outcome outcome = Outcome::Failed;

    std::optional<QString> label3; // new caption of Label3
    std::optional<QString> label1; // new caption of Label1 (intLastDt)

    // First call only.
    bool alreadyFull = false;      // the thread is at 1001: alreadyFullMessage(), Start off
    bool startCountdown = false;   // otherwise: TimerReget on

    bool callSetImage = false;     // setImage(varImageResNo, varImageUrl, 0), once, after showing
    // The position reached 1001 on a later call: the cycle ends and `next` follows, whether or
    // not the output could be built or shown (a finished thread is never fetched again).
    bool threadEnded = false;
    EndOfThreadAction next = EndOfThreadAction::Nothing;
};

// What the pipeline reads from the main window and its settings dialog at every build; each
// view's settings add their own.
struct PipelineSettings
{
    QString label3;                 // Label3's caption: the thread's current page address
    QString strGetSintyakuFooter;   // "n-" or "-"
    QString comboMax;               // text of comboMax's selected item ("10" .. "30")
    int intNextWhen1000 = 0;
    const ResponseFilter *filter = nullptr;
};

struct BatchResponse
{
    ResponseFields fields;
    int k = 1;                    // position among the responses shown, from 1
    bool lastWebElement = false;  // the page's last element: cleaning cuts it at "</dd>"
};

struct CommentBatch
{
    // True after a later call that found new responses and a comboMax it could read: the view
    // builds its output from `responses`. False: `build` is complete as it stands.
    bool ready = false;
    // False when a page element could not be read: `responses` holds those before it.
    bool complete = true;
    QList<BatchResponse> responses;
};

// The position, batch and filter stages. Fills build's outcome for a first call or nothing new,
// the captions, and the end of the thread.
CommentBatch selectBatch(ThreadPosition &position, const CommentSource &source,
                         const PipelineSettings &settings, ViewBuild &build);

// The cleaning stage for one response of a batch; image addresses go to images (when the
// variant collects them) and set build.callSetImage.
CleanedResponse cleanBatchResponse(const BatchResponse &response, int maxRows,
                                   const CleaningVariant &variant, ImageLists *images,
                                   ViewBuild &build);

// The index of the next comment, lngMsgCount (1 when it is 0), moving lngMsgCount past it. It
// grows for the whole run; past the 32-bit range it starts again at 1.
qint32 takeCommentIndex(qint32 &lngMsgCount);
