// The label builders: which responses of a fetch become comments, their text and colours, the
// image lists and the end of a thread; and the numbering of the comments they create.
#include "TestSupport.h"
#include "net/DatConverter.h"
#include "net/ResponseRecord.h"
#include "platform/Cp932.h"
#include "present/LabelBatchBuilder.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const QString kThread = QStringLiteral("http://livea.example.net/test/read.cgi/livenhk/1231808850/");
constexpr quint32 kFontColour = 0x123456;

ResponseRecord makeRecord(const QStringList &bodies)
{
    QStringList numbers, names, times, all = bodies;
    for (int i = 0; i < bodies.size(); ++i) {
        numbers << QString::number(i + 1);
        names << QStringLiteral("名無しさん");
        times << QStringLiteral("2009/01/13(火) 21:00:00 ID:abc");
    }
    numbers << QString();
    names << QString();
    times << QString();
    all << QString();
    ResponseRecord record;
    record.assign(numbers, names, times, all);
    return record;
}

struct DatThread
{
    ThreadPosition position;
    LabelSettings settings;
    ImageLists images;

    explicit DatThread(int shown)
    {
        position.blnIsFirst = shown < 0;
        position.intLastDt = position.intZenkaiLastDT = std::max(shown, 0);
        settings.label3 = kThread + (shown < 0 ? QStringLiteral("l50") : QString::number(shown) + QStringLiteral("n-"));
        settings.strGetSintyakuFooter = QStringLiteral("n-");
        settings.comboMax = QStringLiteral("30");
        settings.comboMaxRow = QStringLiteral("全て");
        settings.intNextWhen1000 = 2;
        settings.varFontColor = kFontColour;
    }

    LabelBuild build(const ResponseRecord &record)
    {
        LabelBuild b = createTextFromDatLabel(position, record, settings, images);
        if (b.label3)
            settings.label3 = *b.label3;
        return b;
    }
};

QStringList texts(const LabelBuild &build)
{
    QStringList out;
    for (const LabelComment &c : build.comments)
        out << c.text;
    return out;
}

} // namespace

TEST(LabelBuilder, FirstCallRecordsThePositionAndLaterCallsMakeComments)
{
    DatThread thread(-1);
    const LabelBuild first = thread.build(makeRecord({QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(first.outcome, LabelBuild::Outcome::FirstCall);
    EXPECT_TRUE(first.comments.isEmpty());
    EXPECT_TRUE(first.startCountdown);
    EXPECT_FALSE(first.alreadyFull);
    EXPECT_EQ(first.label3, kThread + QStringLiteral("2n-"));
    EXPECT_EQ(thread.position.intZenkaiLastDT, 2);

    // Nothing new: no comment, nothing changes.
    const LabelBuild same = thread.build(makeRecord({QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(same.outcome, LabelBuild::Outcome::NothingNew);
    EXPECT_TRUE(same.comments.isEmpty());
    EXPECT_FALSE(same.label3.has_value());

    const LabelBuild later = thread.build(makeRecord({QStringLiteral("a"), QStringLiteral("b"),
                                                      QStringLiteral("c"), QStringLiteral("d")}));
    ASSERT_EQ(later.outcome, LabelBuild::Outcome::Shown);
    EXPECT_EQ(texts(later), (QStringList{QStringLiteral("c"), QStringLiteral("d")}));
    EXPECT_EQ(later.comments.at(0).k, 1);
    EXPECT_EQ(later.comments.at(1).k, 2);
    EXPECT_EQ(later.label1, QStringLiteral("4"));
    EXPECT_FALSE(later.threadEnded);

    // A thread that is full at the first call says so and counts nothing.
    QStringList full;
    for (int n = 1; n <= 1001; ++n)
        full << QStringLiteral("x");
    DatThread ended(-1);
    const LabelBuild atEnd = ended.build(makeRecord(full));
    EXPECT_TRUE(atEnd.alreadyFull);
    EXPECT_FALSE(atEnd.startCountdown);
}

TEST(LabelBuilder, CleansEachResponseIntoPlainLowerCaseLines)
{
    DatThread thread(1);
    thread.settings.comboMaxRow = QStringLiteral("2");
    const LabelBuild build = thread.build(makeRecord({
        QStringLiteral("old"),
        QStringLiteral(" ｷﾀ━ <br> ﾊｧﾊｧ "),                        // two lines, orange wins
        QStringLiteral(" ABC Def <br><br> x <br> 3 <br> 4 "),         // cut to two lines
        QStringLiteral(" ﾊｧﾊｧ "),
        QStringLiteral(" ウホッ！ "),
        QStringLiteral(" plain "),
    }));
    ASSERT_EQ(build.comments.size(), 5);
    const QList<LabelComment> &c = build.comments;
    EXPECT_EQ(c[0].text, QStringLiteral(" ｷﾀ━ \r\n ﾊｧﾊｧ "));
    EXPECT_EQ(c[0].colour, 0xFF8000u);
    EXPECT_EQ(c[1].text, QStringLiteral(" abc def  x \r\n 3 \r\n"));  // no indent, no "&nbsp;"
    EXPECT_EQ(c[1].colour, kFontColour);
    EXPECT_EQ(c[2].colour, 0xFF00FFu);
    EXPECT_EQ(c[3].colour, 0xC000C0u);
    EXPECT_EQ(c[4].colour, kFontColour);
    EXPECT_EQ(c[4].k, 5);
}

TEST(LabelBuilder, CapsTheBatchCollectsImagesAndEndsTheThread)
{
    DatThread thread(0);
    thread.settings.comboMax = QStringLiteral("10");
    QStringList bodies;
    for (int n = 1; n <= 25; ++n)
        bodies << QStringLiteral("レス%1").arg(n);
    bodies[1] = QStringLiteral("見て http://img.example.net/a.jpg ");
    EXPECT_EQ(thread.build(makeRecord(bodies)).comments.size(), 11);
    EXPECT_EQ(thread.images.varImageUrl, QStringList{QStringLiteral("http://img.example.net/a.jpg")});
    EXPECT_EQ(thread.images.varImageResNo, QStringList{QStringLiteral("2")});

    DatThread ending(998);
    ending.settings.intNextWhen1000 = 0;
    QStringList full;
    for (int n = 1; n <= 1001; ++n)
        full << QStringLiteral("x");
    const LabelBuild last = ending.build(makeRecord(full));
    EXPECT_EQ(last.comments.size(), 3);
    EXPECT_TRUE(last.threadEnded);
    EXPECT_EQ(last.next, EndOfThreadAction::AutoMoveNextSure);
    EXPECT_FALSE(last.callSetImage);
}

TEST(LabelBuilder, RealDatResponsesBecomeComments)
{
    const QString dat = platform::decodeCp932(
        testsupport::fixtureBytes(QStringLiteral("real/shiwano2ch__1231808850.dat")));
    ASSERT_FALSE(dat.isEmpty());
    const QStringList lines = dat.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString head = QStringLiteral("HTTP/1.0 200 OK\r\n\r\n");
    DatThread thread(-1);
    thread.build(convertDat(head + lines.mid(0, 20).join(QLatin1Char('\n')) + QLatin1Char('\n')));
    const LabelBuild build = thread.build(convertDat(head + dat));
    ASSERT_EQ(build.outcome, LabelBuild::Outcome::Shown);
    EXPECT_EQ(build.comments.size(), lines.size() - 20);
    for (const LabelComment &c : build.comments) {
        EXPECT_FALSE(c.text.contains(QStringLiteral("<br>"))) << qPrintable(c.text);
        EXPECT_FALSE(c.text.contains(QStringLiteral("&nbsp;")));
        EXPECT_EQ(c.text, c.text.toLower());
    }
}

TEST(LabelBuilder, WebPagesSkipTheFirstElementAndStopAtComboMax)
{
    ThreadPosition position;
    position.blnIsFirst = false;
    LabelSettings settings;
    settings.label3 = kThread + QStringLiteral("49n-");
    settings.strGetSintyakuFooter = QStringLiteral("n-");
    settings.comboMax = QStringLiteral("10");
    settings.comboMaxRow = QStringLiteral("全て");
    ImageLists images;
    QString text2 = platform::decodeCp932(
        testsupport::fixtureBytes(QStringLiteral("readcgi/livenhk_1231808850_49n-.html")));
    const LabelBuild build = createTextLabel(position, text2, settings, images);
    ASSERT_EQ(build.outcome, LabelBuild::Outcome::Shown);
    EXPECT_EQ(build.comments.size(), 9);
    EXPECT_TRUE(build.comments.first().text.startsWith(QStringLiteral(" >>50 \r\n はやい ")));
    EXPECT_TRUE(build.callSetImage);

    // The last element ends at "</dl>"; at 1001 the thread ends.
    ThreadPosition end;
    end.blnIsFirst = false;
    settings.label3 = kThread + QStringLiteral("999n-");
    settings.comboMax = QStringLiteral("30");
    settings.intNextWhen1000 = 1;
    QString last = QStringLiteral("<dl><dt>999 ：a：b<dd> x <br><br><dt>1000 ：a：b<dd> y <br><br><dt>1001 ：a：b<dd> over </dl><a href=x>")
        ;
    const LabelBuild ended = createTextLabel(end, last, settings, images);
    EXPECT_EQ(texts(ended), (QStringList{QStringLiteral(" y "), QStringLiteral(" over ")}));
    EXPECT_TRUE(ended.threadEnded);
    EXPECT_EQ(ended.next, EndOfThreadAction::ShowSureItiran);

    // An element without "<dd>" cuts the batch: the comments before it, no setImage; the thread
    // has reached 1001 all the same, so the cycle ends rather than fetching it for ever.
    ThreadPosition broken;
    broken.blnIsFirst = false;
    QString bad = QStringLiteral("<dt>998 ：a<dd> x <dt>999 ：a<dd> http://img.example.net/b.jpg <dt>1000 ：a <dt>1001 ：a<dd> z </dl>");
    const LabelBuild cut = createTextLabel(broken, bad, settings, images);
    EXPECT_TRUE(cut.cutShort);
    EXPECT_EQ(cut.comments.size(), 1);
    EXPECT_TRUE(cut.threadEnded);
    EXPECT_FALSE(cut.callSetImage);
}

TEST(LabelBuilder, ShowLabelBatchNumbersCommentsForTheWholeRun)
{
    const QList<LabelComment> batch = {{QStringLiteral("a"), 1, 1}, {QStringLiteral("b"), 2, 2},
                                       {QStringLiteral("c"), 3, 3}};
    QList<QPair<qint32, int>> created;
    auto create = [&](const QString &, quint32, qint32 i, int k) {
        created.append({i, k});
        return true;
    };
    qint32 lngMsgCount = 0;
    EXPECT_TRUE(showLabelBatch(batch, lngMsgCount, create));
    EXPECT_TRUE(showLabelBatch(batch, lngMsgCount, create));
    EXPECT_EQ(created, (QList<QPair<qint32, int>>{{1, 1}, {2, 2}, {3, 3}, {4, 1}, {5, 2}, {6, 3}}));
    EXPECT_EQ(lngMsgCount, 7);

    // Nothing to show leaves the count alone; a failure stops the batch at that comment.
    EXPECT_TRUE(showLabelBatch({}, lngMsgCount, create));
    EXPECT_EQ(lngMsgCount, 7);
    int calls = 0;
    EXPECT_FALSE(showLabelBatch(batch, lngMsgCount, [&](const QString &, quint32, qint32, int) {
        return ++calls < 2;
    }));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(lngMsgCount, 8);

    // Past sixteen bits and at the end of the 32-bit range the numbering goes on.
    created.clear();
    lngMsgCount = 32767;
    showLabelBatch(batch, lngMsgCount, create);
    EXPECT_EQ(created.at(2).first, 32769);
    lngMsgCount = std::numeric_limits<qint32>::max();
    created.clear();
    showLabelBatch(batch.mid(0, 2), lngMsgCount, create);
    EXPECT_EQ(created.at(1).first, 1);
}
