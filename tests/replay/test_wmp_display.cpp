// The replay display driven by a scripted player: which second is looked up, which entries a
// second shows, where the comments start, their text, colour, images and the label indexes.

#include "present/NgRules.h"
#include "replay/WmpDisplay.h"

#include "core/ServicesConfig.h"

#include <QMap>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// A strip whose labels are 300 twips high and 10 twips per character wide.
class FakeStrip : public WmpLabelHost
{
public:
    int windowWidth() const override { return 12000; }
    int frameWidth() const override { return 11000; }
    int frameHeight() const override { return frameH; }
    std::optional<TwipsRect> wmpLabelRect(qint64 index) const override
    {
        const auto it = labels.find(index);
        return it == labels.end() ? std::nullopt : std::optional<TwipsRect>(*it);
    }
    int newWmpLabelHeight() const override { return 300; }
    int wmpLabelWidth(const QString &caption) const override { return int(caption.size()) * 10; }
    bool startWmpComment(const WmpComment &c) override
    {
        if (failAt == c.index)
            return false;
        started.append(c);
        labels.insert(c.index, TwipsRect{c.placement.left, c.placement.top, wmpLabelWidth(c.text), 300});
        return true;
    }

    int frameH = 4000;
    qint64 failAt = -1;
    QList<WmpComment> started;
    QMap<qint64, TwipsRect> labels;
};

class WmpDisplayTest : public ::testing::Test
{
protected:
    WmpDisplayTest()
    {
        display.setRandomSource([this] { return random; });
        log.beginLoad();
        log.lngStartSeconds = 21 * 3600;   // offsets below count from 21:00:00
    }

    // One response per (offset in seconds, body); an offset below 0 writes a deleted response.
    void add(int offset, const QString &body = QStringLiteral("body"))
    {
        QString field = QStringLiteral("あぼーん");
        if (offset >= 0) {
            const int s = 21 * 3600 + offset;
            field = QStringLiteral("2009/01/13(火) %1:%2:%3 ID:x").arg(s / 3600)
                        .arg(s / 60 % 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
        }
        log.appendDatLine(QStringLiteral("名無し<>sage<>") + field + QStringLiteral("<>") + body + QStringLiteral("<>"));
    }

    QStringList startedNumbers() const
    {
        QStringList numbers;
        for (const WmpComment &c : strip.started)
            numbers << c.resNo;
        return numbers;
    }

    PastLog log;
    FakeStrip strip;
    WmpDisplay display{log, strip};
    WmpSettings settings;
    double random = 0.5;
};

TEST(WmpSecond, PositionsRoundToNearestWithHalvesToEven)
{
    struct Case { double position; std::optional<qint64> second; };
    const Case cases[] = {
        {12.5, 12}, {13.5, 14}, {12.49, 12}, {12.51, 13}, {0.4, 0}, {0.5, 0},
        {40000.0, 40000},   // beyond the 16-bit range of the old position value
        {std::nan(""), std::nullopt}, {INFINITY, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(wmpSecondOf(c.position), c.second) << c.position;
}

TEST(WmpPlayer, MovieNameFollowsOnlyTheReadyState)
{
    EXPECT_EQ(wmpMovieNameCaption(kWmpReady, QStringLiteral("/v/demo.mp4")), QStringLiteral("/v/demo.mp4"));
    EXPECT_EQ(wmpMovieNameCaption(kWmpPlaying, QStringLiteral("/v/demo.mp4")), std::nullopt);
}

TEST(WmpPlacementRule, TopLeftAndStep)
{
    WmpPlacementInput base;
    base.windowWidth = 12000;
    base.frameWidth = 7000;
    base.frameHeight = 4000;
    base.ownHeight = 300;
    base.ownWidth = 3000;
    base.r = 40;
    base.intScroll = 5;

    struct Case {
        const char *what; int k; int gapBase; std::optional<TwipsRect> prev; int left; int top;
    };
    const Case cases[] = {
        {"first, previous gone", 1, 1, std::nullopt, 12001, 1},
        {"previous fully entered", 2, 300, TwipsRect{5000, 900, 1999, 300}, 14000, 1},
        {"previous still entering: stacked", 3, 300, TwipsRect{5000, 900, 2000, 300}, 15000, 900 + 300 + 40},
        {"no room below: r squared", 2, 300, TwipsRect{8000, 3400, 2000, 300}, 14000, 1600},
    };
    for (const Case &c : cases) {
        WmpPlacementInput in = base;
        in.k = c.k;
        in.gapBase = c.gapBase;
        in.prev = c.prev;
        const std::optional<WmpPlacement> p = placeWmpLabel(in);
        ASSERT_TRUE(p) << c.what;
        EXPECT_EQ(p->left, c.left) << c.what;
        EXPECT_EQ(p->top, c.top) << c.what;
    }

    // (3000 + 7000) / 5 / 1000 × 120 = 240 twips a tick; with shadow the 150 ms mover, 300.
    std::optional<WmpPlacement> plain = placeWmpLabel(base);
    EXPECT_EQ(plain->timerInterval, 120);
    EXPECT_EQ(plain->tag, QStringLiteral("240"));
    WmpPlacementInput shadowed = base;
    shadowed.shadow = true;
    std::optional<WmpPlacement> shadow = placeWmpLabel(shadowed);
    EXPECT_EQ(shadow->timerInterval, 150);
    EXPECT_DOUBLE_EQ(shadow->step, 300.0);
    EXPECT_EQ(shadow->shadowLeft, shadow->left + 25);
    EXPECT_EQ(shadow->shadowTop, shadow->top + 20);
    // A crossing takes intScroll seconds: steps × ticks per second × seconds = width + frame.
    base.ownWidth = 1234;
    base.intScroll = 3;
    const WmpPlacement odd = *placeWmpLabel(base);
    EXPECT_NEAR(odd.tag.toDouble() * (1000.0 / 120) * 3, 1234 + 7000, 1e-6);

    base.intScroll = 0;
    EXPECT_FALSE(placeWmpLabel(base));
}

TEST_F(WmpDisplayTest, OnlyAPlayingPlayerShowsTheRoundedSecond)
{
    add(12, QStringLiteral("twelve"));
    add(14, QStringLiteral("fourteen"));

    EXPECT_EQ(display.tick(2, 12.0, settings).started, 0);   // paused
    EXPECT_EQ(display.tick(kWmpReady, 12.0, settings).started, 0);
    EXPECT_TRUE(strip.started.isEmpty());
    EXPECT_EQ(display.lngWmpLabelIndex(), 0);

    const WmpTickResult at12 = display.tick(kWmpPlaying, 12.5, settings);
    EXPECT_EQ(at12.started, 1);
    EXPECT_EQ(at12.lblResNo, QStringLiteral("1"));
    display.tick(kWmpPlaying, 13.5, settings);
    EXPECT_EQ(startedNumbers(), QStringList({"1", "2"}));
    EXPECT_EQ(strip.started.at(1).text, QStringLiteral("fourteen"));

    // A second seen by two ticks shows once; a position a second back shows nothing again.
    display.tick(kWmpPlaying, 14.0, settings);
    EXPECT_EQ(display.tick(kWmpPlaying, 13.0, settings).lblResNo, std::nullopt);
    EXPECT_EQ(startedNumbers(), QStringList({"1", "2"}));
}

TEST_F(WmpDisplayTest, OffsetMovesTheLookupAndSeeksStartAgain)
{
    for (int second : {20, 21, 22, 50})
        add(second, QString::number(second));
    settings.offsetSeconds = 10;
    for (double position : {10.0, 11.0, 12.4})
        display.tick(kWmpPlaying, position, settings);
    display.tick(kWmpPlaying, 11.0, settings);   // back a second: nothing again
    EXPECT_EQ(startedNumbers(), QStringList({"1", "2", "3"}));

    display.lookup().seekTo(20);                  // the slider back to 10 s
    display.tick(kWmpPlaying, 10.6, settings);    // 21: 20 and 21 again
    display.tick(kWmpPlaying, 40.0, settings);    // a jump ahead to 50
    EXPECT_EQ(startedNumbers(), QStringList({"1", "2", "3", "1", "2", "4"}));
}

TEST_F(WmpDisplayTest, ASecondShowsTheFirstRunUpToTheCapPlusOne)
{
    struct Case { const char *what; QList<int> offsets; QString combo; QStringList shown; };
    const QList<Case> cases = {
        {"three of one second, cap 2", {5, 5, 5}, "2", {"1", "2", "3"}},
        {"five of one second, cap 2", {5, 5, 5, 5, 5}, "2", {"1", "2", "3"}},
        {"cap 1 lets two through", {5, 5, 5}, "1", {"1", "2"}},
        {"unreadable cap counts as 0", {5, 5}, "", {"1"}},
        {"10, 11, 10: only the first run", {5, 6, 5}, "4", {"1"}},
        {"run after other seconds", {1, 2, -1, 5, 5, 3, 5}, "4", {"4", "5"}},
    };
    for (const Case &c : cases) {
        log.beginLoad();
        for (int offset : c.offsets)
            add(offset);
        strip.started.clear();
        settings.comboMaxWmp = c.combo;
        const WmpTickResult r = display.showWmpResAt(QStringLiteral("5"), settings);
        EXPECT_EQ(startedNumbers(), c.shown) << c.what;
        EXPECT_EQ(r.lblResNo, c.shown.last()) << c.what;
    }
}

TEST_F(WmpDisplayTest, NgRulesLeaveResponsesOutBeforeTheCap)
{
    for (const char *body : {"宣伝です", "one", "宣伝2", "two", "three", "four"})
        add(5, QString::fromUtf8(body));
    add(6);
    const NgMatcher ng(QList<NgRule>{{NgKind::Word, QStringLiteral("宣伝")}});
    settings.comboMaxWmp = QStringLiteral("2");
    settings.ng = &ng;
    display.showWmpResAt(QStringLiteral("5"), settings);
    EXPECT_EQ(startedNumbers(), (QStringList{"2", "4", "5"}));
    // The mail and the date field's ID reach the rules too.
    const NgMatcher byMail(QList<NgRule>{{NgKind::Mail, QStringLiteral("sage")}});
    const NgMatcher byId(QList<NgRule>{{NgKind::Id, QStringLiteral("x")}});
    for (const NgMatcher *all : {&byMail, &byId}) {
        strip.started.clear();
        settings.ng = all;
        display.showWmpResAt(QStringLiteral("5"), settings);
        EXPECT_TRUE(strip.started.isEmpty());
    }
}

TEST_F(WmpDisplayTest, CommentsOfOneTickStartFurtherRightAndStack)
{
    for (int n = 0; n < 3; ++n)
        add(5);
    settings.comboMaxWmp = QStringLiteral("2");
    random = 0.204;   // r = 20
    display.showWmpResAt(QStringLiteral("5"), settings);

    ASSERT_EQ(strip.started.size(), 3);
    const int w = strip.windowWidth();
    EXPECT_EQ(strip.started.at(0).placement.left, w + 1);
    EXPECT_EQ(strip.started.at(1).placement.left, w + 2000);
    EXPECT_EQ(strip.started.at(2).placement.left, w + 3000);
    EXPECT_EQ(strip.started.at(0).placement.top, 1);          // nothing before it
    EXPECT_EQ(strip.started.at(1).placement.top, 1 + 300 + 20);   // below, gap = its height + r
    EXPECT_EQ(strip.started.at(2).placement.top, 321 + 300 + 20);
    EXPECT_EQ(strip.started.at(2).ordinal, 3);

    // Indexes start at 1 and keep growing across ticks.
    EXPECT_EQ(strip.started.at(0).index, 1);
    EXPECT_EQ(strip.started.at(2).index, 3);
    strip.labels.clear();   // all unloaded by their movers
    display.showWmpResAt(QStringLiteral("5"), settings);
    EXPECT_EQ(strip.started.at(3).index, 4);
    EXPECT_EQ(strip.started.at(3).placement.top, 1);
}

TEST_F(WmpDisplayTest, TextIsCutCleanedAndColoured)
{
    struct Case { const char *body; int maxRow; const char *text; quint32 colour; };
    const quint32 font = 0x0A141E;
    const quint32 orange = 0xFF8000;
    const Case cases[] = {
        {"a<br>b<br>c<br>d<br>e", 2, "a\r\nb\r\n", font},        // a cut body keeps a line break
        {"a<br>b<br>c", 10, "a\r\nb\r\nc", font},
        {"a<br><br><br>b", 4, "a\r\nb", font},                    // "<br><br>" removed first
        {"a<br><br>b", 4, "ab", font},
        {"Hello ABC", 1, "hello abc", font},                      // lower-cased
        {"ｷﾀﾜｧ", 1, "ｷﾀﾜｧ", orange},
        {"ﾊｧﾊｧ キター", 1, "ﾊｧﾊｧ キター", orange},               // the first rule wins
        {"ﾊｧﾊｧ", 1, "ﾊｧﾊｧ", 0xFF00FF},
        {"アッー！", 1, "アッー！", 0xC000C0},
        {"<a href=\"../test/read.cgi/x/1/12\" target=\"_blank\">&gt;&gt;12</a> ok", 1, ">>12 ok", font},
    };
    settings.varFontColor = font;
    for (const Case &c : cases) {
        log.beginLoad();
        add(7, QString::fromUtf8(c.body));
        strip.started.clear();
        settings.intMaxRow = c.maxRow;
        display.showWmpResAt(QStringLiteral("7"), settings);
        ASSERT_EQ(strip.started.size(), 1) << c.body;
        EXPECT_EQ(strip.started.first().text, QString::fromUtf8(c.text)) << c.body;
        EXPECT_EQ(strip.started.first().colour, c.colour) << c.body;
    }
}

TEST_F(WmpDisplayTest, ImageAddressesAccumulateForTheViewer)
{
    add(3, QStringLiteral("see http://img.example.net/a.jpg and http://img.example.net/b.png"));
    add(4, QStringLiteral("plain"));
    add(5, QStringLiteral("again http://img.example.net/c.gif"));

    const WmpTickResult first = display.showWmpResAt(QStringLiteral("3"), settings);
    EXPECT_TRUE(first.callSetImage);
    EXPECT_EQ(strip.started.last().text, QStringLiteral("see imegewindow and imegewindow"));
    EXPECT_FALSE(display.showWmpResAt(QStringLiteral("4"), settings).callSetImage);
    EXPECT_TRUE(display.showWmpResAt(QStringLiteral("5"), settings).callSetImage);

    EXPECT_EQ(display.images().varImageResNo, QStringList({"1", "1", "3"}));
    EXPECT_EQ(display.images().varImageUrl,
              QStringList({"http://img.example.net/a.jpg", "http://img.example.net/b.png",
                           "http://img.example.net/c.gif"}));
}

TEST_F(WmpDisplayTest, ChosenStartResponseIsSecondZero)
{
    PastLog chosen;
    chosen.lngStartSeconds = *secondsOfDay(QStringLiteral("2009/01/13(火) 21:00:05 ID:a"));
    chosen.beginLoad();
    for (const char *time : {"21:00:03", "21:00:05", "21:01:05"})
        chosen.appendDatLine(QStringLiteral("n<><>%1<>at %1<>").arg(QLatin1String(time)));
    WmpDisplay replay(chosen, strip);
    replay.tick(kWmpPlaying, 0.2, settings);
    replay.tick(kWmpPlaying, 60.0, settings);
    ASSERT_EQ(strip.started.size(), 2);
    EXPECT_EQ(strip.started.at(0).text, QStringLiteral("at 21:00:05"));
    EXPECT_EQ(strip.started.at(1).text, QStringLiteral("at 21:01:05"));
}

TEST_F(WmpDisplayTest, AFailedCommentEndsTheTickButNotTheReplay)
{
    for (int n = 0; n < 3; ++n)
        add(9);
    settings.comboMaxWmp = QStringLiteral("4");
    strip.failAt = 2;
    const WmpTickResult r = display.showWmpResAt(QStringLiteral("9"), settings);
    EXPECT_EQ(r.started, 1);
    EXPECT_EQ(display.lngWmpLabelIndex(), 3);   // the failed index is not handed out again

    display.showWmpResAt(QStringLiteral("9"), settings);
    EXPECT_EQ(strip.started.size(), 4);
    EXPECT_EQ(strip.started.last().index, 5);
}

TEST_F(WmpDisplayTest, LabelIndexesDoNotRunOutOverALongReplay)
{
    add(1);
    for (int n = 0; n < 33000; ++n)
        display.showWmpResAt(QStringLiteral("1"), settings);
    EXPECT_EQ(display.lngWmpLabelIndex(), 33001);
    EXPECT_EQ(strip.started.last().index, 33000);
}

} // namespace
