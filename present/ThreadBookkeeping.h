#pragma once
// Where a thread stands between fetches, shared by every presenter of new responses (marquee
// page, label strip, mini strip): the first-call / later-call rule (the next-page address itself
// is nextPageAddress of net/ThreadAddress.h), which responses make up a batch, the read.cgi page
// split into its "<dt>" elements, and what follows when a thread has reached 1001.

#include "present/ThreadPosition.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class ResponseRecord;

// The last number a thread reaches: the closing response after 1000.
constexpr int kThreadEndNumber = 1001;
// Shown on the first build of a thread that is already full.
QString alreadyFullMessage();

enum class PositionStep {
    Failed,        // the build ends silently; nothing was changed
    First,         // first build of the thread: position recorded, nothing shown
    NothingNew,    // the next-page address did not move: leave everything as it is
    NewResponses,  // show the batch
};

struct PositionUpdate
{
    PositionStep step = PositionStep::Failed;
    QString label3;      // Label3's new caption (First, NewResponses)
    QString label1;      // Label1's new caption (First, NewResponses)
    bool at1001 = false; // intLastDt is 1001: already full (First) or just ended (NewResponses)
};

// Dat mode: intLastDt follows the record's highest index (the number of responses).
PositionUpdate advanceDatPosition(ThreadPosition &position, const ResponseRecord &record,
                                  const QString &label3Caption, const QString &footer);
// Web mode: intLastDt is the last response number of the fetched page.
PositionUpdate advanceWebPosition(ThreadPosition &position, int lastNumber,
                                  const QString &label3Caption, const QString &footer);

// ---- read.cgi pages (Text2) ----

// Deletes everything before the first "<dt>". False (text unchanged) when there is none.
bool trimBeforeFirstDt(QString &text2);
// The page split at "<dt>": element 0 is what precedes the first one, each following element
// is one response.
QStringList splitDtElements(const QString &text2);
// "12 ：<b>name</b>：date<dd> body" gives "12 " (the text before the first "：").
QString webResponseNumberText(const QString &element);
// The same read as a 16-bit integer, spaces ignored; nullopt when it is not one.
std::optional<int> webResponseNumber(const QString &element);

struct WebResponse
{
    QString number; // text before the first "："
    QString name;   // the header's name, inside its "<b>" when it has one
    QString mail;   // the address of the "mailto:" link around the name; empty without one
    QString dateId; // the header after its last "："
    QString body;   // between the first "<dd>" and the next (or the end)
};
// Element u of the split page; the last element's body is cut at its first "</dl>". The header
// (before "<dd>") reads "number ：name：date ID". nullopt when the element has no "<dd>" or u is
// out of range.
std::optional<WebResponse> webResponseAt(const QStringList &elements, int u);

// ---- batches ----

// Dat mode: indexes from intZenkaiLastDT while i - intZenkaiLastDT <= comboMax, stopping before
// the highest index (the record's empty trailing element). At most comboMax + 1 responses.
QList<int> datBatchIndexes(int intZenkaiLastDT, int highestIndex, int comboMax);
// Web mode: elements 2, 3, ... up to the last, while u <= comboMax (element 1 was shown by the
// previous batch). At most comboMax - 1 responses; k = u - 1.
QList<int> webBatchElements(int elementCount, int comboMax);

// comboMax's item text read as an integer; nullopt for anything else.
std::optional<int> parseComboMax(const QString &text);
// The max-lines text read as a number, "全て" counting as 10; nullopt for anything else.
std::optional<int> parseMaxRow(const QString &text);

// What follows a thread's end, by intNextWhen1000.
enum class EndOfThreadAction {
    Nothing,
    AutoMoveNextSure,  // 0: follow the top thread of the board
    ShowSureItiran,    // 1: show the thread-list window
};
EndOfThreadAction endOfThreadAction(int intNextWhen1000);
