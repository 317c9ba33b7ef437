#pragma once
// Turns a whole HTTP reply carrying a thread's dat file into the response record.
//
//   1. line ends normalised (CR LF and lone CR read as one line end);
//   2. entities replaced over the whole text, in this order: "&amp;", "&lt;", "&gt;", "&\t;"
//      (four characters: ampersand, backslash, t, semicolon; becomes two blanks), "&quot;",
//      "&nbsp;" — so "&amp;gt;" ends as ">";
//   3. the part between the first empty line and the next one is kept (headers dropped);
//   4. every line of it except the text after the last line end becomes response i + 1:
//      field 0 name, field 1 mail, field 2 date-and-ID, field 3 body ("<>"-separated);
//   5. one empty element follows the last response.
//
// It never fails:
//   - a reply without an empty line (no headers end, or an empty reply) has no dat lines: the
//     record gets the single empty element, as after Stop;
//   - a line with fewer than four fields still counts as a response, so numbers stay the line
//     numbers; its missing fields are empty (a line without "<>" is all name).

#include "net/ResponseRecord.h"

#include <QString>

ResponseRecord convertDat(const QString &text);
// Steps 1, 2, 4 and 5 on a dat body whose headers were taken off before decoding: for a reply
// whose body starts after its first empty line (replyBodyStart), convertDatBody(body) equals
// convertDat(reply).
ResponseRecord convertDatBody(const QString &body);
