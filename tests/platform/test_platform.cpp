#include "TestSupport.h"
#include "platform/Cp932.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

TEST(Cp932, RoundTripsTheCharactersThreadsUse)
{
    // Half-width katakana, the box-drawing dash, the wave dash and circled digits are where
    // CP932 differs from plain Shift_JIS mappings.
    const QString text = QStringLiteral("ｷﾀ━━━(ﾟ∀ﾟ)━━━!! ～ ① 漢字");
    EXPECT_EQ(platform::decodeCp932(platform::encodeCp932(text)), text);
}

TEST(Cp932, UndecodableBytesBecomeReplacementCharacters)
{
    const QString text = platform::decodeCp932(QByteArray("ab\x81", 3));
    EXPECT_TRUE(text.startsWith(QStringLiteral("ab")));
    EXPECT_TRUE(text.contains(QChar(0xFFFD)));
    // Bytes outside CP932 anywhere in the text, and a lead byte whose trail is no trail byte.
    for (const QByteArray &bytes : {QByteArray("a\xFF" "b"), QByteArray("a\x80" "b"), QByteArray("a\xA0" "b"),
                                    QByteArray("a\x81 b"), QByteArray("a\x81\x7F" "b")}) {
        const QString decoded = platform::decodeCp932(bytes);
        EXPECT_TRUE(decoded.startsWith(QLatin1Char('a')) && decoded.endsWith(QLatin1Char('b'))) << bytes.toHex().constData();
        EXPECT_TRUE(decoded.contains(QChar(0xFFFD))) << bytes.toHex().constData();
        EXPECT_FALSE(decoded.contains(QChar(0x1A))) << bytes.toHex().constData();
    }
}

TEST(ProgramFolder, BuildsPathsWithSlashesFromEitherSeparator)
{
    testsupport::TempProgramFolder home;
    EXPECT_EQ(platform::programPath(QStringLiteral("\\image\\tempHtml3.html")),
              home.path() + QStringLiteral("/image/tempHtml3.html"));
}

TEST(MessageService, ScriptedServiceRecordsTextsAndAnswers)
{
    testsupport::RecordedMessages messages;
    messages.service().queueAnswer(platform::MessageAnswer::Yes);
    EXPECT_TRUE(platform::askYesNo(QStringLiteral("EXIT ?"), nullptr));
    EXPECT_FALSE(platform::askYesNo(QStringLiteral("EXIT ?"), nullptr));
    platform::showMessage(QStringLiteral("a\r\nb"), nullptr);
    EXPECT_EQ(messages.shown(), (QStringList{QStringLiteral("EXIT ?"), QStringLiteral("EXIT ?"), QStringLiteral("a\r\nb")}));
}
