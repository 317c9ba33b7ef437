// boardsim run as a process, read through the project's own parsers: board menu, subject.txt,
// dat, read.cgi pages (web mode), the overloaded page, the redirector and images, a live thread
// handing over at 1000, the log and a clean stop.

#include "BoardSim.h"
#include "TestSupport.h"

#include "core/Patterns.h"
#include "net/BoardMenu.h"
#include "net/DatConverter.h"
#include "net/ThreadIndex.h"
#include "platform/Cp932.h"
#include "present/ThreadBookkeeping.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using testsupport::BoardSim;

namespace {

QString getText(const QString &url, int *status = nullptr)
{
    return platform::decodeCp932(BoardSim::get(url, status));
}

// A thread's dat fetched with the viewer's request and converted by the viewer's converter.
ResponseRecord datRecord(const QString &host, const QString &board, const QString &key)
{
    return convertDat(platform::decodeCp932(
        BoardSim::exchange(host, BoardSim::viewerRequest(QStringLiteral("/%1/dat/%2.dat").arg(board, key), host))));
}

// The top thread of a board as its subject.txt lists it: number and count.
QPair<QString, int> topThread(const BoardSim &sim, const QString &board, const QString &host = QString())
{
    const QString line = getText(sim.boardUrl(board, host) + QStringLiteral("subject.txt")).section(QLatin1Char('\n'), 0, 0);
    static const QRegularExpression form(QStringLiteral("^(\\d+)\\.dat<>.* \\((\\d+)\\)$"));
    const auto m = form.match(line);
    return {m.captured(1), m.captured(2).toInt()};
}

// The first thread of the board's index with more than `atLeast` responses.
QPair<QString, int> threadWithAtLeast(const BoardSim &sim, const QString &board, int atLeast)
{
    static const QRegularExpression form(QStringLiteral("^(\\d+)\\.dat<>.* \\((\\d+)\\)$"));
    for (const QString &line : getText(sim.boardUrl(board) + QStringLiteral("subject.txt")).split(QLatin1Char('\n'))) {
        const auto m = form.match(line);
        if (m.hasMatch() && m.captured(2).toInt() > atLeast)
            return {m.captured(1), m.captured(2).toInt()};
    }
    return {};
}

// Response numbers of a read.cgi page, read the way web mode reads them.
QList<int> pageNumbers(QString page)
{
    EXPECT_TRUE(trimBeforeFirstDt(page));
    const QStringList elements = splitDtElements(page);
    QList<int> numbers;
    for (int u = 1; u < elements.size(); ++u)
        numbers << webResponseNumber(elements.at(u)).value_or(-1);
    return numbers;
}

} // namespace

class BoardSimServes : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        BoardSim::Options options;
        options.rate = 0.2;
        options.overloaded = {QStringLiteral("livetv")};
        s_sim = new BoardSim(options);
    }
    static void TearDownTestSuite()
    {
        delete s_sim;
        s_sim = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_sim->isRunning()) << qPrintable(s_sim->error()); }

    static BoardSim *s_sim;
};

BoardSim *BoardSimServes::s_sim = nullptr;

TEST_F(BoardSimServes, PrintsItsMenuAddressAndWritesMatchingServices)
{
    const BoardSim &sim = *s_sim;
    EXPECT_EQ(sim.menuUrl(), QStringLiteral("http://127.0.0.1:%1/bbsmenu.html").arg(sim.port()));
    const ServicesConfig config = sim.services();
    EXPECT_EQ(config.liveLabels, (QStringList{QStringLiteral("livenhk"), QStringLiteral("livetv"), QStringLiteral("livesports")}));
    EXPECT_EQ(config.outsideHosts, (QStringList{sim.outsideHostA(), sim.outsideHostB()}));
    EXPECT_EQ(config.redirectorPrefix, QStringLiteral("127.0.0.4:%1/").arg(sim.port()));
    EXPECT_EQ(config.tvTopPage, sim.baseUrl() + QStringLiteral("tv/"));
    EXPECT_EQ(config.tvHost, sim.host());
    EXPECT_GT(config.timeoutSeconds, 0);

    int status = 0;
    const QString tv = getText(config.tvTopPage, &status);
    EXPECT_EQ(status, 200);
    EXPECT_TRUE(tv.contains(QStringLiteral("<H1>地上波実況板勢いグラフ</H1>")));
    EXPECT_TRUE(tv.contains(QStringLiteral("<TABLE ")));
    EXPECT_LT(tv.indexOf(QStringLiteral("番組ch(NHK)")), tv.indexOf(QStringLiteral("<TABLE "))) << "the graph comes before the table";
}

TEST_F(BoardSimServes, MenuListsEveryBoardInTheFormsTheParserNormalises)
{
    const BoardSim &sim = *s_sim;
    const QByteArray bytes = BoardSim::get(sim.menuUrl());
    EXPECT_FALSE(bytes.contains("\r\n")) << "the menu uses LF line ends";
    const QString menu = platform::decodeCp932(bytes);
    EXPECT_EQ(menu.count(QStringLiteral("<BR><BR><B>")), 4);
    for (const char *form : {"<A HREF=http", "<a href=http", "<A HREF = http", "<A HREF=\"http", "<a href= http"})
        EXPECT_TRUE(menu.contains(QString::fromLatin1(form))) << form;

    const QList<BoardLink> links = parseBoardLinks(menu);
    QStringList addresses;
    for (const BoardLink &link : links)
        addresses << link.address;
    for (const QString &board : {QStringLiteral("livenhk"), QStringLiteral("livetvanime"), QStringLiteral("news"),
                                 QStringLiteral("mnewsplus"), QStringLiteral("tvd"), QStringLiteral("heavy")})
        EXPECT_TRUE(addresses.contains(sim.boardUrl(board) + QStringLiteral("subback.html"))) << qPrintable(board);
    EXPECT_TRUE(addresses.contains(sim.boardUrl(QStringLiteral("jikkyo"), sim.outsideHostA()) + QStringLiteral("subback.html")));
    EXPECT_TRUE(addresses.contains(sim.boardUrl(QStringLiteral("jk"), sim.outsideHostB()) + QStringLiteral("subback.html")));

    QStringList live;
    for (const BoardLink &link : filterLiveBoards(links, sim.services()))
        live << link.name;
    EXPECT_EQ(live, (QStringList{QStringLiteral("番組ch(NHK)"), QStringLiteral("番組ch(民放)"), QStringLiteral("アニメ特撮実況"),
                                 QStringLiteral("スポーツ実況"), QStringLiteral("野球ch")}));

    // Every board's thread-list page answers; the other links of the menu are no boards.
    int boards = 0;
    for (const BoardLink &link : links) {
        int status = 0;
        const QString page = getText(link.address, &status);
        if (status == 200) {
            ++boards;
            EXPECT_TRUE(page.contains(QStringLiteral("/l50\">1: "))) << qPrintable(link.address);
        }
    }
    EXPECT_EQ(boards, 12);
}

TEST_F(BoardSimServes, SubjectAndDatRoundTripThroughTheViewerParsers)
{
    const BoardSim &sim = *s_sim;
    for (const QString &host : {sim.host(), sim.outsideHostA()}) {
        const QString board = host == sim.host() ? QStringLiteral("news") : QStringLiteral("jikkyo");
        const QByteArray reply =
            BoardSim::exchange(host, BoardSim::viewerRequest(QStringLiteral("/%1/subject.txt").arg(board), host));
        ASSERT_TRUE(reply.startsWith("HTTP/1.1 200 OK\r\n"));
        const QByteArray body = reply.mid(reply.indexOf("\r\n\r\n") + 4);
        EXPECT_TRUE(body.endsWith('\n') && !body.contains('\r'));

        const ThreadIndexListing listing = listThreadIndex(normaliseIndexLineEnds(platform::decodeCp932(reply)), host, board);
        ASSERT_GE(listing.entries.size(), 5);
        EXPECT_EQ(listing.entries.size(), body.count('\n'));
        EXPECT_TRUE(listing.entries.first().startsWith(QStringLiteral("1: ")));
        bool sawFinished = false;
        for (int i = 0; i < listing.entries.size(); ++i) {
            const QString number = listing.addresses.at(i).section(QLatin1Char('/'), -2, -2);
            EXPECT_EQ(listing.addresses.at(i),
                      QStringLiteral("http://%1/test/read.cgi/%2/%3/l50").arg(host, board, number));
            const int count = listing.entries.at(i).section(QStringLiteral(" ("), -1).chopped(1).toInt();
            sawFinished = sawFinished || count == 1001;

            const QByteArray dat = BoardSim::exchange(
                host, BoardSim::viewerRequest(QStringLiteral("/%1/dat/%2.dat").arg(board, number), host));
            const ResponseRecord record = convertDat(platform::decodeCp932(dat));
            EXPECT_GE(record.upperBound(), count) << "the dat holds at least what the index counted";
            EXPECT_EQ(record.number(0), QStringLiteral("1"));
            EXPECT_TRUE(record.body(record.upperBound())->isEmpty());
            if (count == 1001)
                EXPECT_EQ(record.time(1000), QStringLiteral("Over 1000 Thread"));
        }
        EXPECT_TRUE(sawFinished);
    }
}

TEST_F(BoardSimServes, ReadCgiPagesFollowTheAddressFormsOfEachHost)
{
    const BoardSim &sim = *s_sim;
    const auto [key, count] = threadWithAtLeast(sim, QStringLiteral("anime"), 60);
    ASSERT_GT(count, 60);
    const QString base = sim.baseUrl() + QStringLiteral("test/read.cgi/anime/") + key + QLatin1Char('/');

    QList<int> expected{1};
    for (int n = count - 49; n <= count; ++n)
        expected << n;
    EXPECT_EQ(pageNumbers(getText(base + QStringLiteral("l50"))), expected);

    const QList<int> fromN = pageNumbers(getText(base + QStringLiteral("%1n-").arg(count - 3)));
    EXPECT_EQ(fromN, (QList<int>{count - 3, count - 2, count - 1, count}));
    EXPECT_EQ(pageNumbers(getText(base + QStringLiteral("%1-").arg(count - 1))), (QList<int>{1, count - 1, count}));

    // The last element's body is cut at "</dl>" and is what the dat holds.
    QString page = getText(base + QStringLiteral("%1n-").arg(count));
    trimBeforeFirstDt(page);
    const auto last = webResponseAt(splitDtElements(page), 1);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->number.trimmed(), QString::number(count));
    EXPECT_TRUE(last->body.endsWith(QStringLiteral("<br><br>\n")));
    const ResponseRecord record = datRecord(sim.host(), QStringLiteral("anime"), key);
    const QString datBody = *record.body(count - 1);
    if (!datBody.contains(QStringLiteral("http://")) && !datBody.contains(QLatin1Char('<')) && !datBody.contains(QLatin1Char('&')))
        EXPECT_EQ(last->body, datBody + QStringLiteral("<br><br>\n"));

    // The outside hosts take "<n>-" and leave >>1 out.
    const auto [outsideKey, outsideCount] = topThread(sim, QStringLiteral("jk"), sim.outsideHostB());
    const QString outside = QStringLiteral("http://%1/test/read.cgi/jk/%2/%3-").arg(sim.outsideHostB(), outsideKey).arg(outsideCount - 1);
    const QList<int> outsideNumbers = pageNumbers(getText(outside));
    ASSERT_FALSE(outsideNumbers.isEmpty());
    EXPECT_EQ(outsideNumbers.first(), outsideCount - 1);
    // Boards live on their own host only.
    int status = 0;
    getText(sim.boardUrl(QStringLiteral("jk")) + QStringLiteral("subject.txt"), &status);
    EXPECT_EQ(status, 404);
}

TEST_F(BoardSimServes, OverloadedBoardsAnswerTheOverloadedPage)
{
    const BoardSim &sim = *s_sim;
    for (const QString &board : {QStringLiteral("heavy"), QStringLiteral("livetv")}) {
        const auto [key, count] = topThread(sim, board);
        ASSERT_FALSE(key.isEmpty());
        const QString page = getText(sim.baseUrl() + QStringLiteral("test/read.cgi/%1/%2/l50").arg(board, key));
        EXPECT_TRUE(page.contains(QStringLiteral("<title>もうずっと人大杉</title>"))) << qPrintable(board);
        EXPECT_FALSE(page.contains(QStringLiteral("<dt>")));
        // The dat still answers: only read.cgi is overloaded.
        const ResponseRecord record = datRecord(sim.host(), board, key);
        EXPECT_GE(record.upperBound(), count);
    }
    const auto [key, count] = topThread(sim, QStringLiteral("livenhk"));
    EXPECT_FALSE(getText(sim.baseUrl() + QStringLiteral("test/read.cgi/livenhk/%1/l50").arg(key)).contains(QStringLiteral("人大杉")));
}

TEST_F(BoardSimServes, ImageLinksReachPicturesThroughTheRedirector)
{
    const BoardSim &sim = *s_sim;
    static const QRegularExpression anchor(
        QStringLiteral("<a href=\"(http://[^\"]*\\.(jpg|png|gif))\" target=\"_blank\">(http://[^<]*)</a>"));
    const QString prefix = sim.services().redirectorPrefix;
    QStringList seen;
    for (const QString &board : {QStringLiteral("news"), QStringLiteral("anime"), QStringLiteral("tvd")}) {
        const auto [key, count] = topThread(sim, board);
        const QString page = getText(sim.baseUrl() + QStringLiteral("test/read.cgi/%1/%2/").arg(board, key));
        auto it = anchor.globalMatch(page);
        while (it.hasNext()) {
            const auto m = it.next();
            QString href = m.captured(1);
            EXPECT_TRUE(href.startsWith(QStringLiteral("http://") + prefix));
            EXPECT_EQ(href.remove(prefix), m.captured(3)) << "stripping the prefix leaves the picture's address";
            seen << m.captured(3);
        }
    }
    ASSERT_FALSE(seen.isEmpty());
    for (const QString &url : seen.mid(0, 5)) {
        int status = 0;
        const QByteArray bytes = BoardSim::get(url, &status);
        EXPECT_EQ(status, 200);
        EXPECT_FALSE(QImage::fromData(bytes).isNull()) << qPrintable(url);
    }
    // The redirector itself sends the browser on.
    const QByteArray reply = BoardSim::exchange(sim.services().redirectorPrefix.chopped(1),
                                                BoardSim::viewerRequest(QLatin1Char('/') + seen.first().mid(7), sim.host()));
    EXPECT_TRUE(reply.startsWith("HTTP/1.1 302"));
    EXPECT_TRUE(reply.contains("\r\nLocation: " + seen.first().toLatin1() + "\r\n"));
}

TEST_F(BoardSimServes, DatImageAddressesAreServedPictures)
{
    const BoardSim &sim = *s_sim;
    static const QRegularExpression address(QStringLiteral("http://[^ ]*/img/[^ ]*"));
    const auto [key, count] = threadWithAtLeast(sim, QStringLiteral("news"), 999);
    const ResponseRecord record = datRecord(sim.host(), QStringLiteral("news"), key);
    QStringList found;
    int foundByViewerPattern = 0;
    for (const QString &body : record.bodies()) {
        auto it = address.globalMatch(body);
        while (it.hasNext())
            found << it.next().captured(0);
        foundByViewerPattern += countImageUrls(body);
    }
    ASSERT_GT(found.size(), 5);
    const QByteArray picture = BoardSim::get(found.first());
    EXPECT_FALSE(QImage::fromData(picture).isNull()) << qPrintable(found.first());
    // With a port-80 picture host (when the simulator may bind one) dat mode finds them too: the
    // viewer's image address pattern cannot match an address with a ":port".
    if (!found.first().section(QLatin1Char('/'), 2, 2).contains(QLatin1Char(':')))
        EXPECT_EQ(foundByViewerPattern, found.size());
}

TEST(BoardSimLive, ThreadGrowsReachesThousandAndHandsOver)
{
    // A slow rate leaves a few seconds before the thread fills, so a busy machine still sees it
    // below 1000 at the first look.
    BoardSim::Options options;
    options.rate = 2;
    options.startCount = 994;
    BoardSim sim(options);
    ASSERT_TRUE(sim.isRunning()) << qPrintable(sim.error());

    const auto [oldKey, startCount] = topThread(sim, QStringLiteral("livesports"));
    EXPECT_GE(startCount, 990);
    QPair<QString, int> top;
    ASSERT_TRUE(testsupport::waitUntil([&] {
        top = topThread(sim, QStringLiteral("livesports"));
        return top.first != oldKey;
    }, 30000));
    EXPECT_GT(top.first.toLongLong(), oldKey.toLongLong());

    const ResponseRecord old = datRecord(sim.host(), QStringLiteral("livesports"), oldKey);
    ASSERT_EQ(old.upperBound(), 1001);
    EXPECT_EQ(old.name(1000), QStringLiteral("１００１"));
    EXPECT_EQ(old.time(1000), QStringLiteral("Over 1000 Thread"));
    const QStringList subject = getText(sim.boardUrl(QStringLiteral("livesports")) + QStringLiteral("subject.txt")).split(QLatin1Char('\n'));
    EXPECT_TRUE(subject.at(1).startsWith(oldKey + QStringLiteral(".dat<>")));
    EXPECT_TRUE(subject.at(1).endsWith(QStringLiteral(" (1001)")));

    // The new part is live: it grows, and its opener links the finished one.
    const ResponseRecord first = datRecord(sim.host(), QStringLiteral("livesports"), top.first);
    EXPECT_TRUE(first.body(0)->contains(QStringLiteral("/test/read.cgi/livesports/") + oldKey));
    ASSERT_TRUE(testsupport::waitUntil([&] { return topThread(sim, QStringLiteral("livesports")).second > first.upperBound(); }, 15000));

    // The finished thread's page ends with the 1001st response.
    const QList<int> numbers = pageNumbers(getText(sim.baseUrl() + QStringLiteral("test/read.cgi/livesports/%1/l50").arg(oldKey)));
    EXPECT_EQ(numbers.last(), 1001);

    EXPECT_EQ(sim.stop(), 0) << "SIGTERM stops it cleanly";
    const QStringList log = sim.log().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(log.first(), sim.menuUrl());
    EXPECT_GT(log.size(), 5);
    for (const QString &line : log.mid(1))
        EXPECT_TRUE(line.contains(QStringLiteral("\"GET /"))) << qPrintable(line);
}

TEST(BoardSimCommandLine, HelpAndBadOptions)
{
    QProcess help;
    help.start(BoardSim::executable(), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(10000));
    EXPECT_EQ(help.exitCode(), 0);
    const QString text = QString::fromLocal8Bit(help.readAllStandardOutput());
    for (const char *word : {"--port", "--rate", "--seed", "--start-count", "--fault", "--write-services", "--write-logs",
                             "refuse", "stall", "drip", "truncate", "garbage", "huge", "status", "strict"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(word))) << word;

    QProcess bad;
    bad.start(BoardSim::executable(), {QStringLiteral("--fault"), QStringLiteral("explode")});
    ASSERT_TRUE(bad.waitForFinished(10000));
    EXPECT_EQ(bad.exitCode(), 2);
}
