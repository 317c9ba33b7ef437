#pragma once
// The thread index (subject.txt) of a board turned into the thread list: visible entries
// ("1: title (count)") and the thread page addresses beside them, entry i of one belonging to
// entry i of the other.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct ThreadIndexListing
{
    QStringList entries;   // List5: "<n>: " + title field
    QStringList addresses; // List6: "http://<strSvr>/test/read.cgi/<strBan>/<number>/l50"
    // Responses per hour since each thread's key at the time of listing (momentumPerHour).
    QList<std::optional<double>> momentum;
};

// The index socket's reply with every line end made CR LF: CR LF and lone CR become LF first,
// then every LF becomes CR LF.
QString normaliseIndexLineEnds(const QString &text);

// Lists the threads of a normalised reply (headers, an empty line, then one thread a line with
// fields joined by "<>": "<number>.dat" and the title with its response count).
// - A reply without the empty line after its headers lists nothing: without it there is no
//   telling header lines from index lines.
// - Only lines ended by CR LF are listed: text after the final line end may be a line cut off
//   in transfer.
// - A line with fewer than two fields (a blank line, stray text) is skipped; entries are numbered
//   by their position in the list, so the numbers stay consecutive.
// A title containing "<>" is cut at it. Momentum is taken at nowSeconds (epoch seconds), by
// default the moment of the call.
ThreadIndexListing listThreadIndex(const QString &reply, const QString &strSvr,
                                   const QString &strBan, std::optional<qint64> nowSeconds = std::nullopt);
