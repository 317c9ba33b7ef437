// The simulator's pieces driven in-process with a clock of our own: read.cgi ranges, fault rules
// and options, the board world's handover at 1000, dat lines, CP932, images and past logs.

#include "BoardWorld.h"
#include "PastLogs.h"
#include "ReadRange.h"
#include "SimHttp.h"
#include "SimImages.h"
#include "SimOptions.h"
#include "SimPages.h"
#include "SimTime.h"

#include "TestSupport.h"
#include "platform/Cp932.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

QList<int> span(int from, int to)
{
    QList<int> list;
    for (int n = from; n <= to; ++n)
        list << n;
    return list;
}

QList<int> withFirst(const QList<int> &rest)
{
    return QList<int>{1} + rest;
}

const qint64 kStart = QDateTime(QDate(2024, 6, 1), QTime(21, 0, 0), QTimeZone(9 * 3600)).toMSecsSinceEpoch();

BoardWorld::Settings settings(int startCount, double rate, quint32 seed = 7)
{
    BoardWorld::Settings s;
    s.port = 8080;
    s.rate = rate;
    s.seed = seed;
    s.startCount = startCount;
    s.startMs = kStart;
    return s;
}

QStringList datLines(const QByteArray &dat)
{
    QStringList lines = platform::decodeCp932(dat).split(QLatin1Char('\n'));
    EXPECT_TRUE(lines.last().isEmpty()) << "a dat ends with a line end";
    lines.removeLast();
    return lines;
}

} // namespace

TEST(ReadRange, SelectsTheResponsesOfEachAddressForm)
{
    struct Case
    {
        const char *range;
        int count;
        bool outside;
        QList<int> expected;
    };
    const QList<Case> cases = {
        {"", 10, false, span(1, 10)},
        {"l3", 10, false, withFirst(span(8, 10))},
        {"l3n", 10, false, span(8, 10)},
        {"l50", 20, false, span(1, 20)},          // >>1 is not shown twice
        {"5n-", 10, false, span(5, 10)},
        {"5-", 10, false, withFirst(span(5, 10))},
        {"5-", 10, true, span(5, 10)},            // outside hosts: "-" means from n, no >>1
        {"10n-", 10, false, {10}},                // nothing new: just the last one shown
        {"12n-", 10, false, {}},
        {"3-5", 10, false, withFirst(span(3, 5))},
        {"7", 10, false, {7}},
        {"1001n-", 1001, false, {1001}},
        {"nonsense", 4, false, span(1, 4)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(selectResponses(QString::fromLatin1(c.range), c.count, c.outside), c.expected) << c.range;
}

TEST(SimOptions, ParsesFaultRulesAndRejectsBadValues)
{
    QString error;
    auto drip = parseFaultRule(QStringLiteral("drip:/dat/"), &error);
    ASSERT_TRUE(drip);
    EXPECT_EQ(drip->mode, FaultRule::Mode::Drip);
    EXPECT_TRUE(drip->appliesTo(QStringLiteral("/livenhk/dat/1.dat")));
    EXPECT_FALSE(drip->appliesTo(QStringLiteral("/livenhk/subject.txt")));

    auto redirect = parseFaultRule(QStringLiteral("status=302:/x/"), &error);
    ASSERT_TRUE(redirect);
    EXPECT_EQ(redirect->status, 302);
    EXPECT_EQ(parseFaultRule(QStringLiteral("status"), &error)->status, 404);
    EXPECT_FALSE(parseFaultRule(QStringLiteral("status=99"), &error));
    EXPECT_FALSE(parseFaultRule(QStringLiteral("explode"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("explode")));

    const auto options = parseSimOptions({QStringLiteral("boardsim"), QStringLiteral("--fault"), QStringLiteral("stall:/dat/"),
                                          QStringLiteral("--fault"), QStringLiteral("refuse"), QStringLiteral("--rate"),
                                          QStringLiteral("0.25")},
                                         &error);
    ASSERT_TRUE(options);
    ASSERT_EQ(options->faults.size(), 2);
    EXPECT_DOUBLE_EQ(options->rate, 0.25);
    // The first rule that applies wins.
    EXPECT_EQ(findFault(options->faults, QStringLiteral("/a/dat/1.dat"))->mode, FaultRule::Mode::Stall);
    EXPECT_EQ(findFault(options->faults, QStringLiteral("/a/subject.txt"))->mode, FaultRule::Mode::Refuse);

    // TLS rules act at accept on the TLS port, never on a request path.
    QList<FaultRule> rules = {*parseFaultRule(QStringLiteral("tls-stall"), &error),
                              *parseFaultRule(QStringLiteral("bad-range:/dat/"), &error)};
    EXPECT_EQ(findFault(rules, QStringLiteral("/a/dat/1.dat"))->mode, FaultRule::Mode::BadRange);
    EXPECT_EQ(findFault(rules, QStringLiteral("/a/subject.txt")), nullptr);
    EXPECT_EQ(findTlsFault(rules)->mode, FaultRule::Mode::TlsStall);
    const auto tls = parseSimOptions({QStringLiteral("boardsim"), QStringLiteral("--tls-port"), QStringLiteral("0"),
                                      QStringLiteral("--abone-rate"), QStringLiteral("0.1")},
                                     &error);
    ASSERT_TRUE(tls);
    EXPECT_TRUE(tls->tls);
    EXPECT_DOUBLE_EQ(tls->aboneRate, 0.1);

    for (const char *bad : {"--start-count=0", "--start-count=1001", "--rate=-1", "--port=70000", "--bogus", "--abone-rate=2"})
        EXPECT_FALSE(parseSimOptions({QStringLiteral("boardsim"), QString::fromLatin1(bad)}, &error)) << bad;
}

TEST(SimTime, WritesTheServiceDateFormatInJapanTime)
{
    const qint64 t = QDateTime(QDate(2024, 6, 1), QTime(12, 0, 3, 417), QTimeZone::utc()).toMSecsSinceEpoch();
    EXPECT_EQ(formatPostTime(t), QStringLiteral("2024/06/01(土) 21:00:03.41"));
    EXPECT_EQ(formatDateField(t, QStringLiteral("Ab1+/cD0")), QStringLiteral("2024/06/01(土) 21:00:03.41 ID:Ab1+/cD0"));
    EXPECT_EQ(httpDate(t), QStringLiteral("Sat, 01 Jun 2024 12:00:03 GMT"));
}

TEST(BoardWorld, LiveThreadReachesThousandAndHandsOverToANewTopThread)
{
    BoardWorld world(settings(995, 2.0));
    const SimBoard *board = world.board(SimHost::Main, QStringLiteral("livenhk"));
    ASSERT_TRUE(board);
    const qint64 oldKey = board->byActivity().first()->key;
    EXPECT_EQ(board->thread(oldKey)->count(), 995);

    world.advanceTo(kStart + 120 * 1000); // about 240 responses at 2 a second
    board = world.board(SimHost::Main, QStringLiteral("livenhk"));
    const SimThread *old = board->thread(oldKey);
    ASSERT_EQ(old->count(), 1001);
    EXPECT_FALSE(old->live);
    EXPECT_EQ(old->responses.last().dateField, QStringLiteral("Over 1000 Thread"));

    const SimThread *next = board->byActivity().first();
    EXPECT_NE(next->key, oldKey);
    EXPECT_GT(next->key, oldKey);
    EXPECT_TRUE(next->live);
    EXPECT_GT(next->count(), 100);
    EXPECT_TRUE(next->responses.first().body.contains(QString::number(oldKey))) << "the opener links the previous part";
    EXPECT_TRUE(next->title.endsWith(QStringLiteral("Part%1").arg(old->part + 1)));
    // Its number is its creation time: the moment the 1001st was posted.
    EXPECT_EQ(next->key, old->postedMs.last() / 1000);

    int liveThreads = 0;
    for (const SimThread &thread : board->threads)
        liveThreads += thread.live ? 1 : 0;
    EXPECT_EQ(liveThreads, 1);

    const QStringList subject = simpages::subjectText(*board).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_TRUE(subject.first().startsWith(QString::number(next->key) + QStringLiteral(".dat<>")));
    EXPECT_TRUE(subject.at(1).startsWith(QString::number(oldKey) + QStringLiteral(".dat<>")));
    EXPECT_TRUE(subject.at(1).endsWith(QStringLiteral(" (1001)")));
}

TEST(BoardWorld, NextPartOpensAfterTheDelay)
{
    BoardWorld::Settings s = settings(999, 2.0);
    s.nextDelayMs = 20000;
    BoardWorld world(s);
    const QString key = QStringLiteral("livenhk");
    const qint64 oldKey = world.board(SimHost::Main, key)->byActivity().first()->key;
    qint64 now = kStart;
    while (world.board(SimHost::Main, key)->thread(oldKey)->live)
        world.advanceTo(now += 100);
    const qint64 filledMs = world.board(SimHost::Main, key)->thread(oldKey)->postedMs.last();

    world.advanceTo(filledMs + 19900);   // nobody has made the next part yet
    const SimBoard *board = world.board(SimHost::Main, key);
    EXPECT_EQ(board->byActivity().first()->key, oldKey);
    for (const SimThread &thread : board->threads)
        EXPECT_FALSE(thread.live);

    world.advanceTo(filledMs + 20000);
    board = world.board(SimHost::Main, key);
    const SimThread *next = board->byActivity().first();
    EXPECT_TRUE(next->live);
    EXPECT_EQ(next->key, (filledMs + 20000) / 1000);
    EXPECT_EQ(next->part, board->thread(oldKey)->part + 1);

    QString error;
    EXPECT_EQ(parseSimOptions({QStringLiteral("boardsim"), QStringLiteral("--next-delay=30")}, &error)->nextDelaySeconds, 30);
    EXPECT_FALSE(parseSimOptions({QStringLiteral("boardsim"), QStringLiteral("--next-delay=3601")}, &error));
}

TEST(BoardWorld, PostsAtTheRateAndIsReproducibleFromItsSeed)
{
    BoardWorld a(settings(50, 1.0));
    BoardWorld b(settings(50, 1.0));
    BoardWorld c(settings(50, 1.0, 8));
    for (BoardWorld *world : {&a, &b, &c})
        world->advanceTo(kStart + 600 * 1000);
    const SimBoard *board = a.board(SimHost::Main, QStringLiteral("livetv"));
    const int posted = board->byActivity().first()->count() - 50;
    EXPECT_GT(posted, 480);
    EXPECT_LT(posted, 720);
    EXPECT_EQ(board->byActivity().first()->dat, b.board(SimHost::Main, QStringLiteral("livetv"))->byActivity().first()->dat);
    EXPECT_NE(board->byActivity().first()->dat, c.board(SimHost::Main, QStringLiteral("livetv"))->byActivity().first()->dat);

    // Rate 0 never posts.
    BoardWorld still(settings(50, 0.0));
    still.advanceTo(kStart + 3600 * 1000);
    EXPECT_EQ(still.board(SimHost::Main, QStringLiteral("livetv"))->byActivity().first()->count(), 50);
}

TEST(BoardWorld, EveryDatLineHasTheServiceFieldsAndIsValidCp932)
{
    BoardWorld world(settings(300, 1.0));
    world.advanceTo(kStart + 60 * 1000);
    static const QRegularExpression date(
        QStringLiteral("^\\d{4}/\\d\\d/\\d\\d\\(.\\) \\d\\d:\\d\\d:\\d\\d\\.\\d\\d ID:[A-Za-z0-9+/]{8}[0OP]$"));
    int anchors = 0, images = 0, deleted = 0, multiLine = 0, keywords = 0, escapes = 0;
    for (const SimBoard &board : world.boards()) {
        for (const SimThread &thread : board.threads) {
            const QString text = platform::decodeCp932(thread.dat);
            ASSERT_FALSE(text.contains(QChar::ReplacementCharacter)) << qPrintable(board.key);
            ASSERT_EQ(platform::encodeCp932(text), thread.dat) << "every character has a CP932 form";
            const QStringList lines = datLines(thread.dat);
            ASSERT_EQ(lines.size(), thread.count());
            for (int i = 0; i < lines.size(); ++i) {
                const QStringList fields = lines.at(i).split(QStringLiteral("<>"));
                ASSERT_EQ(fields.size(), 5) << qPrintable(lines.at(i));
                EXPECT_EQ(fields.at(4), i == 0 ? thread.title : QString());
                const QString &body = fields.at(3);
                if (fields.at(2) == QStringLiteral("あぼーん")) {
                    ++deleted;
                    EXPECT_EQ(fields.at(0), QStringLiteral("あぼーん"));
                    continue;
                }
                if (fields.at(2) == QStringLiteral("Over 1000 Thread")) {
                    EXPECT_EQ(i, 1000);
                    continue;
                }
                EXPECT_TRUE(date.match(fields.at(2)).hasMatch()) << qPrintable(fields.at(2));
                EXPECT_TRUE(body.startsWith(QLatin1Char(' ')) && body.endsWith(QLatin1Char(' ')));
                EXPECT_FALSE(body.contains(QLatin1Char('"')) && !body.contains(QStringLiteral("<a href=\"")));
                anchors += body.contains(QStringLiteral("target=\"_blank\">&gt;&gt;")) ? 1 : 0;
                images += body.contains(QStringLiteral("/img/")) ? 1 : 0;
                multiLine += body.contains(QStringLiteral(" <br> ")) ? 1 : 0;
                keywords += body.contains(QStringLiteral("ｷﾀ━━━━(ﾟ∀ﾟ)━━━━!!")) || body.contains(QStringLiteral("ﾊｧﾊｧ")) ? 1 : 0;
                escapes += body.contains(QStringLiteral("&amp;")) || body.contains(QStringLiteral("&lt;")) ? 1 : 0;
            }
        }
    }
    // The variety a viewer must cope with is all there.
    EXPECT_GT(anchors, 100);
    EXPECT_GT(images, 50);
    EXPECT_GT(deleted, 5);
    EXPECT_GT(multiLine, 100);
    EXPECT_GT(keywords, 50);
    EXPECT_GT(escapes, 5);
}

TEST(BoardWorld, DeletionsRewriteEarlierResponsesTheBoardsWay)
{
    BoardWorld::Settings s = settings(100, 2.0);
    s.aboneRate = 0.2;
    BoardWorld world(s);
    world.advanceTo(kStart + 60 * 1000);
    const SimThread *thread = world.board(SimHost::Main, QStringLiteral("livenhk"))->byActivity().first();
    const QStringList lines = datLines(thread->dat);
    ASSERT_EQ(lines.size(), thread->count());
    const QString abone = QStringLiteral("あぼーん<>あぼーん<>あぼーん<>あぼーん<>");
    const int deleted = int(lines.count(abone));
    EXPECT_GT(deleted, 5);
    EXPECT_NE(lines.first(), abone);  // the title line stays
    EXPECT_EQ(thread->modifiedMs, thread->postedMs.last());
}

TEST(SimHttp, AnswersRangesAndConditionalRequestsForDatFiles)
{
    SimReply dat;
    dat.body = "0123456789";
    dat.lastModifiedMs = QDateTime(QDate(2024, 6, 1), QTime(12, 0, 3), QTimeZone::utc()).toMSecsSinceEpoch();
    const QByteArray head = "GET /b/dat/1.dat HTTP/1.0\r\nHost: h\r\n";
    struct Case
    {
        QByteArray headers;
        RangeHandling handling;
        int status;
        QByteArray body;
        QByteArray contentRange;
    };
    const Case cases[] = {
        {"Range: bytes=4-", RangeHandling::Honour, 206, "456789", "bytes 4-9/10"},
        {"range: bytes=4-5", RangeHandling::Honour, 206, "45", "bytes 4-5/10"},
        {"Range: bytes=10-", RangeHandling::Honour, 416, "", "bytes */10"},
        {"Range: bytes=4-", RangeHandling::Misplace, 206, "56789", "bytes 4-9/10"},
        {"Range: bytes=4-", RangeHandling::Ignore, 200, "0123456789", ""},
        {"If-Modified-Since: Sat, 01 Jun 2024 12:00:03 GMT\r\nRange: bytes=4-", RangeHandling::Honour, 304, "", ""},
        {"If-Modified-Since: Sat, 01 Jun 2024 12:00:02 GMT\r\nRange: bytes=4-", RangeHandling::Honour, 206, "456789", "bytes 4-9/10"},
        {"If-Modified-Since: Sat, 01 Jun 2024 12:00:03 GMT", RangeHandling::Ignore, 200, "0123456789", ""},
        {"Range: lines=1-", RangeHandling::Honour, 200, "0123456789", ""},
    };
    for (const Case &c : cases) {
        const SimReply reply = answerRange(dat, head + c.headers + "\r\n", c.handling);
        EXPECT_EQ(reply.status, c.status) << c.headers.constData();
        EXPECT_EQ(reply.body, c.body) << c.headers.constData();
        EXPECT_EQ(reply.contentRange, c.contentRange) << c.headers.constData();
    }
    // Pages without a modification time always go whole.
    SimReply page = dat;
    page.lastModifiedMs = -1;
    EXPECT_EQ(answerRange(page, head + "Range: bytes=4-\r\n", RangeHandling::Honour).status, 200);
    const QByteArray wire = serialiseReply(answerRange(dat, head + "Range: bytes=4-\r\n", RangeHandling::Honour), false,
                                           dat.lastModifiedMs);
    EXPECT_TRUE(wire.startsWith("HTTP/1.1 206 Partial Content\r\n"));
    EXPECT_TRUE(wire.contains("\r\nLast-Modified: Sat, 01 Jun 2024 12:00:03 GMT\r\n"));
    EXPECT_TRUE(wire.contains("\r\nContent-Range: bytes 4-9/10\r\n"));
}

TEST(SimPages, ReadCgiLinksAddressesThroughTheRedirector)
{
    BoardWorld world(settings(10, 1.0));
    const QString body = QStringLiteral(" うｐ <br> http://127.0.0.1:8080/img/1.jpg <br> http://127.0.0.1:8080/test/read.cgi/a/1/ ");
    const QString linked = simpages::linkBody(world, body);
    EXPECT_TRUE(linked.contains(QStringLiteral(
        "<a href=\"http://127.0.0.4:8080/127.0.0.1:8080/img/1.jpg\" target=\"_blank\">http://127.0.0.1:8080/img/1.jpg</a>")));
    EXPECT_TRUE(linked.contains(QStringLiteral(
        "<a href=\"http://127.0.0.1:8080/test/read.cgi/a/1/\" target=\"_blank\">http://127.0.0.1:8080/test/read.cgi/a/1/</a>")));
    // The viewer strips the configured prefix and is left with the picture's own address.
    QString href = linked.section(QLatin1Char('"'), 1, 1);
    EXPECT_EQ(href.remove(world.hosts().redirectorPrefix()), QStringLiteral("http://127.0.0.1:8080/img/1.jpg"));
}

TEST(SimImages, EveryPictureDecodes)
{
    const auto images = makeSimImages();
    ASSERT_EQ(images.size(), Chatter::imageNames().size());
    for (auto it = images.constBegin(); it != images.constEnd(); ++it) {
        const QImage image = QImage::fromData(it->bytes);
        EXPECT_FALSE(image.isNull()) << qPrintable(it.key());
        EXPECT_EQ(image.size(), QSize(160, 120)) << qPrintable(it.key());
    }

}

TEST(PastLogs, WritesAFinishedThreadAndItsContinuationWithPerSecondTimes)
{
    QTemporaryDir dir;
    QString error;
    const QStringList files = writePastLogs(dir.path(), 9000, 3, &error);
    ASSERT_EQ(files.size(), 2) << qPrintable(error);

    static const QRegularExpression time(QStringLiteral("(\\d+):(\\d+):(\\d+)"));
    int previousSecond = -1;
    QList<QStringList> threads;
    for (const QString &path : files) {
        const QStringList lines = datLines(testsupport::readBytes(path));
        threads << lines;
        for (const QString &line : lines) {
            const QString field = line.split(QStringLiteral("<>")).value(2);
            const auto m = time.match(field);
            if (!m.hasMatch())
                continue; // deleted responses and the closing one carry no time
            const int second = m.captured(1).toInt() * 3600 + m.captured(2).toInt() * 60 + m.captured(3).toInt();
            EXPECT_GE(second, previousSecond) << qPrintable(line);
            previousSecond = second;
        }
    }
    ASSERT_EQ(threads.at(0).size(), 1001);
    EXPECT_TRUE(threads.at(0).last().contains(QStringLiteral("Over 1000 Thread")));
    EXPECT_GT(threads.at(1).size(), 100);
    const QString firstKey = QFileInfo(files.at(0)).baseName();
    EXPECT_TRUE(threads.at(1).first().contains(QStringLiteral("127.0.0.1:9000/test/read.cgi/livenhk/") + firstKey))
        << "the continuation's opener links the finished part";
    EXPECT_GT(QFileInfo(files.at(1)).baseName().toLongLong(), firstKey.toLongLong());
    // The first response is at 20:58:30, and a thousand responses take the best part of an hour.
    EXPECT_TRUE(threads.at(0).first().contains(QStringLiteral(" 20:58:30.")));
    EXPECT_GT(previousSecond, 21 * 3600 + 20 * 60);
}
