#pragma once
// A thread's dat fetched again for only what is new, without I/O: what to ask for, and what the
// reply means for the bytes held.
//
// The bytes held are the raw body of the dat (CP932, headers taken off) as last received. The
// record is always converted from all of them (convertDatBody), so it is exactly the record a
// whole fetch of the same dat gives.
//
// A later fetch asks "Range: bytes=S-" and "If-Modified-Since: <the last Last-Modified seen>".
// S lies before the end held: the line end before the last line held, so the reply repeats the
// last line (at most kMaxOverlap bytes). The reply is read so:
//   - 206 that repeats those bytes exactly: the rest is appended (nothing after them: unchanged);
//   - 206 that does not (a response before the end was deleted or rewritten, so every later
//     byte moved), or starts elsewhere than S, or 416: fetch the whole dat again at once;
//   - 304: nothing new;
//   - 200: the server ignored the range; the reply is the whole dat.
// A Last-Modified in the same second as the reply's Date is not kept: a response posted later in
// that second would leave the time unchanged, and the server would answer 304 to it.
//
// Checking a single byte (the line end just before the end held) is not enough: a deletion
// that shortens the dat by exactly the length of the lines posted since brings another line end
// to that place, and the appended tail would then miss responses.
//
// The first fetch of a thread sends no extra line, so its request stays the exact one.

#include "net/FetchResult.h"

#include <QByteArray>

struct HeldDat
{
    QByteArray body;         // the dat as received, CP932, headers taken off
    QByteArray lastModified; // Last-Modified of the reply it came with (may be empty)
};

class DatExchange
{
public:
    // The most bytes of the end held that a later fetch asks for again.
    static constexpr qsizetype kMaxOverlap = 512;

    // A whole fetch when differential is false or nothing is held.
    DatExchange(HeldDat held, bool differential);

    bool isDifferential() const { return m_rangeStart >= 0; }
    // S of "Range: bytes=S-"; -1 for a whole fetch.
    qsizetype rangeStart() const { return m_rangeStart; }
    // The header lines this fetch adds to the request, each ended by CR LF (none when whole).
    QByteArray requestLines() const;

    enum class Verdict {
        Replace,    // the reply is the whole dat
        Append,     // the reply continues the dat held
        Unchanged,  // nothing new
        FetchWhole, // the bytes held are stale: fetch the whole dat at once
        Failed,     // a failed fetch (result says why); keep everything
    };
    struct Outcome
    {
        Verdict verdict = Verdict::Failed;
        HeldDat held;       // what to hold from now on (Replace, Append, Unchanged)
        FetchResult result; // success (nothingNew for Unchanged), or the failure
    };
    // Judges the whole reply (the server has closed) to the request this exchange built.
    Outcome judge(const QByteArray &reply) const;

private:
    HeldDat m_held;
    qsizetype m_rangeStart = -1;
};
