// The settings dialogs' rules without windows: opacity, list choices, colour schemes, the
// initial font and the dialogs' opening positions.
#include "app/DialogPlacement.h"
#include "app/MainSettings.h"
#include "app/SettingsRules.h"

#include <gtest/gtest.h>

using namespace settingsrules;

TEST(OpacityRule, AlphaLabelAndColourKey)
{
    struct Case
    {
        int v;
        int alpha;
        bool colourKey;
        const char *label;
    };
    const Case cases[] = {
        {0, 255, true, "動画窓のみ透明"},
        {1, 252, false, "不透明度：99%"},   // 252.45 → 252
        {2, 250, false, "不透明度：98%"},   // 249.9 → 250
        {10, 230, false, "不透明度：90%"},  // 229.5 → 230 (half to even)
        {30, 178, false, "不透明度：70%"},  // 178.5 → 178 (half to even)
        {50, 128, false, "不透明度：50%"},  // 127.5 → 128
        {80, 51, false, "不透明度：20%"},
        {84, 41, false, "不透明度：16%"},   // 40.8 → 41, above the floor
        {85, 40, false, "不透明度：15%"},   // 38.25 → 38, raised to 40
        {90, 40, false, "不透明度：15%"},   // 25.5 → 26, raised to 40
        {100, 40, false, "不透明度：15%"},
    };
    for (const Case &c : cases) {
        const Opacity o = opacityForSlider(c.v);
        EXPECT_EQ(o.alpha, c.alpha) << "v=" << c.v;
        EXPECT_EQ(o.colourKey, c.colourKey) << "v=" << c.v;
        EXPECT_EQ(o.label, QString::fromUtf8(c.label)) << "v=" << c.v;
    }
}

TEST(OpacityRule, OutOfRangeValuesStayWithinAlphaBounds)
{
    EXPECT_EQ(opacityForSlider(-5).alpha, 255);
    EXPECT_TRUE(opacityForSlider(-5).colourKey);
    EXPECT_EQ(opacityForSlider(250).alpha, 40);
}

TEST(ListChoices, ScrollSpeedMaxRowsAndReplaySeconds)
{
    EXPECT_EQ(scrollForIndex(0), qint16(3)); // "早い"
    EXPECT_EQ(scrollForIndex(1), qint16(5));
    EXPECT_EQ(scrollForIndex(2), qint16(8)); // "遅い"
    EXPECT_FALSE(scrollForIndex(-1).has_value());
    EXPECT_FALSE(scrollForIndex(3).has_value());

    const std::pair<const char *, int> rows[] = {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4},
                                                 {"全て", 10}, {"7", 10}, {"", 10}, {"01", 10}, {" 2", 10}};
    for (const auto &[text, expected] : rows)
        EXPECT_EQ(maxRowForText(QString::fromUtf8(text)), expected) << text;

    const std::pair<const char *, int> seconds[] = {{"1", 1}, {"4", 4}, {"5", 0}, {"", 0}, {"x", 0}};
    for (const auto &[text, expected] : seconds)
        EXPECT_EQ(replaySecondsForText(QString::fromUtf8(text)), expected) << text;
}

TEST(ListChoices, ColourSchemesMatchTheirEntries)
{
    const QStringList names = fontColourEntries();
    ASSERT_EQ(names.size(), 4);
    EXPECT_EQ(names.at(3), QStringLiteral("アンニュイ"));
    EXPECT_EQ(colourForScheme(0), (RgbColor{192, 192, 255}));
    EXPECT_EQ(colourForScheme(1), (RgbColor{128, 128, 128}));
    EXPECT_EQ(colourForScheme(2), (RgbColor{255, 192, 192}));
    EXPECT_EQ(colourForScheme(3), (RgbColor{128, 128, 0}));
    EXPECT_FALSE(colourForScheme(4).has_value());
    EXPECT_FALSE(colourForScheme(-1).has_value());
}

TEST(ListChoices, InitialSelectionsAreTheFirstStartDefaults)
{
    // The stored indexes of livecfg.txt mean these positions.
    EXPECT_EQ(scrollSpeedEntries().at(kInitialScrollSpeed), QStringLiteral("普通"));
    EXPECT_EQ(maxResEntries().at(kInitialMaxRes), QStringLiteral("10"));
    EXPECT_EQ(maxRowEntries().at(kInitialMaxRow), QStringLiteral("2"));
    EXPECT_EQ(replayEntries().at(kInitialMaxWmp), QStringLiteral("2"));
    EXPECT_EQ(replayEntries().at(kInitialRegetTime), QStringLiteral("1"));
    EXPECT_EQ(fontSizeEntries().at(kInitialFontSize), QStringLiteral("18"));
    EXPECT_EQ(fontColourEntries().at(kInitialFontColour), QStringLiteral("デフォルト"));

    // MainSettings starts as those selections leave it.
    const MainSettings s;
    EXPECT_EQ(s.intScroll, *scrollForIndex(kInitialScrollSpeed));
    EXPECT_EQ(s.intMaxRow, maxRowForText(maxRowEntries().at(kInitialMaxRow)));
    EXPECT_EQ(s.intRegetWmp, replaySecondsForText(replayEntries().at(kInitialRegetTime)));
    EXPECT_EQ(s.varFontSize, fontSizeEntries().at(kInitialFontSize).toInt());
    EXPECT_EQ(s.varFontColor, *colourForScheme(kInitialFontColour));
    EXPECT_EQ(s.templates.lblMsgForeColor, s.varFontColor);
    EXPECT_EQ(s.lngToumeido, 0);
}

TEST(InitialFont, PreferredFontThenJapaneseFallbacks)
{
    const QString ms = preferredFontName();
    // The last of several matches.
    EXPECT_EQ(initialFontIndex({QStringLiteral("A"), ms, QStringLiteral("B"), ms}), 3);
    EXPECT_EQ(initialFontIndex({QStringLiteral("A"), QStringLiteral("MS PGothic")}), 1);
    // Without it: a known Japanese family, then any Japanese-capable one, then 0.
    EXPECT_EQ(initialFontIndex({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK KR"),
                                QStringLiteral("Noto Sans CJK JP")}),
              2);
    EXPECT_EQ(initialFontIndex({QStringLiteral("DejaVu Sans"), QStringLiteral("Foo Mincho")},
                               {QStringLiteral("Foo Mincho")}),
              1);
    EXPECT_EQ(initialFontIndex({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation")}), 0);
    EXPECT_EQ(initialFontIndex({}), -1);
}

TEST(CommentTemplates, StartupCopiesFromLblMsg)
{
    CommentTemplates t;
    t.lblMsg = {QStringLiteral("X"), 22};
    t.lblMsgForeColor = {1, 2, 3};
    t.copyFontNameFromLblMsg();
    EXPECT_EQ(t.lblMsgKage.family, QStringLiteral("X"));
    EXPECT_EQ(t.lblWmpMsgKage.family, QStringLiteral("X"));
    EXPECT_EQ(t.lblMsgKage.size, 18); // sizes not yet copied
    t.copyFontSizeFromLblMsg();
    EXPECT_EQ(t.lblWmpMsg.size, 22);
    EXPECT_TRUE(t.PictureMsg.family.isEmpty()); // pictures take no font name
    t.copyForeColorFromLblMsg();
    EXPECT_EQ(t.lblWmpMsgForeColor, (RgbColor{1, 2, 3}));
}

TEST(DialogPlacement, OpeningPositionsInTwips)
{
    const ButtonRelease r{/*window*/ {1500, 3000}, /*panelTop*/ 3600, /*buttonInPanel*/ {4200, 60},
                          /*mouse*/ {300, 150}};
    EXPECT_EQ(scrollSettingPosition(r), (TwipsPoint{4200 + 1500 + 300 - 1000, 3600 + 3000 + 60 + 150 - 3800}));
    EXPECT_EQ(fontDialogPosition(r), (TwipsPoint{4200 + 1500 + 300, 3600 + 3000 + 60 + 150 - 2200}));
    EXPECT_EQ(toumeiDialogPosition(r), (TwipsPoint{4200 + 1500 + 300, 3600 + 3000 + 60 + 150}));
}
