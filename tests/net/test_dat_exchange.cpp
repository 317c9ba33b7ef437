#include "net/DatConverter.h"
#include "net/DatExchange.h"
#include "net/RawHttp.h"
#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace {

using Verdict = DatExchange::Verdict;

const QByteArray kHeld = "L1<>m<>t<>b1<>title\nL2<>m<>t<>b2<>\nL3<>m<>t<>b3<>\n";
const qsizetype kStart = kHeld.indexOf("\nL3");

QByteArray reply(int status, const QByteArray &body, const QByteArray &headers = {})
{
    return "HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: text/plain\r\n" + headers + "\r\n" + body;
}

QByteArray partial(const QByteArray &dat, qsizetype from, const QByteArray &extra = {})
{
    return reply(206, dat.mid(from),
                 "Content-Range: bytes " + QByteArray::number(from) + "-" + QByteArray::number(dat.size() - 1) + "/"
                     + QByteArray::number(dat.size()) + "\r\n" + extra);
}

} // namespace

TEST(DatExchange, AsksFromTheLineEndBeforeTheLastLineHeld)
{
    const DatExchange later({kHeld, "Sat, 01 Jun 2024 12:00:00 GMT"}, true);
    ASSERT_TRUE(later.isDifferential());
    EXPECT_EQ(later.rangeStart(), kStart);
    EXPECT_EQ(later.requestLines(), "Range: bytes=" + QByteArray::number(kStart)
                                        + "-\r\nIf-Modified-Since: Sat, 01 Jun 2024 12:00:00 GMT\r\n");
    // No Last-Modified seen: the range alone.
    EXPECT_EQ(DatExchange({kHeld, {}}, true).requestLines(), "Range: bytes=" + QByteArray::number(kStart) + "-\r\n");
    // The first fetch, and every fetch with differential off, adds nothing to the exact request.
    EXPECT_TRUE(DatExchange({}, true).requestLines().isEmpty());
    EXPECT_TRUE(DatExchange({kHeld, "x"}, false).requestLines().isEmpty());
    // A single line is asked for from the start; a partial last line counts as the last line.
    EXPECT_EQ(DatExchange({"one line\n", {}}, true).rangeStart(), 0);
    EXPECT_EQ(DatExchange({"a\nb\nhalf", {}}, true).rangeStart(), 3);
    // A long last line is compared by its end only.
    const QByteArray longLine = "a\n" + QByteArray(2000, 'x') + "\n";
    EXPECT_EQ(DatExchange({longLine, {}}, true).rangeStart(), longLine.size() - DatExchange::kMaxOverlap);
    // The request keeps every exact line and puts the new ones last.
    EXPECT_EQ(buildGetRequest("/b/dat/1.dat", "h", false, later.requestLines()),
              datRequest("h", "b", "1").chopped(2) + later.requestLines() + "\r\n");
}

TEST(DatExchange, ReadsEveryAnswerToALaterFetch)
{
    const QByteArray grown = kHeld + "L4<>m<>t<>b4<>\n";
    const QByteArray rewritten = QByteArray(kHeld).replace("L2<>m<>t<>b2<>", "あぼーん<>あぼーん<>あぼーん<>あぼーん<>") + "L4\n";
    struct Case
    {
        const char *what;
        QByteArray reply;
        Verdict verdict;
        QByteArray body; // held afterwards (Replace, Append, Unchanged)
        FetchFailure failure = FetchFailure::None;
    };
    const Case cases[] = {
        {"grown", partial(grown, kStart), Verdict::Append, grown},
        {"grown, no Content-Range", reply(206, grown.mid(kStart)), Verdict::Append, grown},
        {"nothing after the bytes held", partial(kHeld, kStart), Verdict::Unchanged, kHeld},
        {"not modified", reply(304, {}), Verdict::Unchanged, kHeld},
        {"a response rewritten", partial(rewritten, kStart), Verdict::FetchWhole, {}},
        {"range from elsewhere", partial(grown, kStart - 1).replace("bytes " + QByteArray::number(kStart - 1),
                                                                   "bytes " + QByteArray::number(kStart)),
         Verdict::FetchWhole, {}},
        {"Content-Range elsewhere", reply(206, grown.mid(kStart), "Content-Range: bytes 3-9/90\r\n"), Verdict::FetchWhole, {}},
        {"shorter than asked", reply(206, "\nL3"), Verdict::FetchWhole, {}},
        {"range not satisfiable", reply(416, {}), Verdict::FetchWhole, {}},
        {"range ignored", reply(200, grown), Verdict::Replace, grown},
        {"not found", reply(404, "gone"), Verdict::Failed, {}, FetchFailure::HttpStatus},
        {"cut short", partial(grown, kStart, "Content-Length: 999\r\n"), Verdict::Failed, {}, FetchFailure::ClosedEarly},
        {"redirect left over", reply(302, {}, "Location: /x\r\n"), Verdict::Failed, {}, FetchFailure::HttpStatus},
    };
    const DatExchange exchange({kHeld, "T1"}, true);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const DatExchange::Outcome outcome = exchange.judge(c.reply);
        EXPECT_EQ(outcome.verdict, c.verdict);
        EXPECT_EQ(outcome.result.failure, c.failure);
        EXPECT_EQ(outcome.held.body, c.body);
        EXPECT_EQ(outcome.result.nothingNew, c.verdict == Verdict::Unchanged);
        EXPECT_TRUE(outcome.result.raw.isEmpty());
    }
    // Last-Modified comes with the bytes; a 304 without one keeps the old. One in the second of
    // the reply's Date cannot tell a later change in that second: it is dropped.
    const QByteArray t = "Sat, 01 Jun 2024 12:00:00 GMT";
    const QByteArray lastModified = "Last-Modified: " + t + "\r\n";
    EXPECT_EQ(exchange.judge(partial(grown, kStart, lastModified)).held.lastModified, t);
    EXPECT_EQ(exchange.judge(partial(grown, kStart, lastModified + "Date: Sat, 01 Jun 2024 12:00:01 GMT\r\n"))
                  .held.lastModified, t);
    EXPECT_EQ(exchange.judge(partial(grown, kStart, lastModified + "Date: " + t + "\r\n")).held.lastModified, "");
    EXPECT_EQ(exchange.judge(partial(grown, kStart)).held.lastModified, "");
    EXPECT_EQ(exchange.judge(reply(304, {})).held.lastModified, "T1");
    // A whole fetch takes only 200.
    const DatExchange whole({}, true);
    EXPECT_EQ(whole.judge(reply(200, grown, lastModified)).held.lastModified, t);
    EXPECT_EQ(whole.judge(partial(grown, 0)).result.failure, FetchFailure::HttpStatus);
    EXPECT_EQ(whole.judge(reply(304, {})).result.failure, FetchFailure::HttpStatus);
}

TEST(DatExchange, ADeletionThatBringsALineEndToTheLastByteHeldIsCaught)
{
    // Response 1 rewritten shortens the dat by d; one new response of exactly d bytes then puts
    // a line end where the last byte held was: a one-byte check would append a wrong tail.
    const QByteArray first = "name<>sage<>2024/06/01 12:00:00.00 ID:abcdefgh<> a long first response <>title\n";
    const QByteArray held = first + "n<><>2024/06/01 12:00:01.00 ID:x<> two <>\n";
    const QByteArray abone = "あぼーん<>あぼーん<>あぼーん<>あぼーん<>\n";
    const QByteArray abonedBytes = platform::encodeCp932(QString::fromUtf8(abone));
    const qsizetype d = first.size() - abonedBytes.size();
    ASSERT_GT(d, 1);
    const QByteArray newLine = QByteArray(d - 1, 'z') + "\n";
    const QByteArray now = QByteArray(held).replace(first, abonedBytes) + newLine;
    ASSERT_EQ(now.at(held.size() - 1), '\n');

    const DatExchange exchange({held, {}}, true);
    const DatExchange::Outcome outcome = exchange.judge(partial(now, exchange.rangeStart()));
    EXPECT_EQ(outcome.verdict, Verdict::FetchWhole);
}

TEST(DatExchange, BodyConversionEqualsWholeReplyConversion)
{
    const QByteArray replies[] = {
        "HTTP/1.0 200 OK\r\nA: b\r\n\r\nn<>m<>t<>&amp;gt;&gt;1<>\r\nn2<>m<>t<>b<>\r\n",
        "HTTP/1.0 200 OK\nA: b\n\nn<>m<>t<>b<>\nrest",
        "HTTP/1.0 200 OK\rA: b\r\rn<>m<>t<>b<>\rn<>\r",
        "HTTP/1.0 200 OK\r\n\r\n\r\nafter an empty first line\r\n",
        "HTTP/1.0 200 OK\r\n\r\nn<>m<>t<>b<>\n\ncut off after an empty line\n",
    };
    for (const QByteArray &r : replies) {
        const ResponseRecord whole = convertDat(platform::decodeCp932(r));
        const ResponseRecord body = convertDatBody(platform::decodeCp932(r.mid(replyBodyStart(r))));
        EXPECT_EQ(body.names(), whole.names()) << r.toStdString();
        EXPECT_EQ(body.bodies(), whole.bodies()) << r.toStdString();
        EXPECT_EQ(body.times(), whole.times()) << r.toStdString();
    }
}
