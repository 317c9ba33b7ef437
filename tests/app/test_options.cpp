#include "TestSupport.h"
#include "app/Options.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(Options, MissingFileOrKeysAndBadValuesMeanDefaults)
{
    testsupport::TempProgramFolder home;
    const QString path = optionsFilePath();
    EXPECT_EQ(path, home.file(QStringLiteral("options.ini")));
    EXPECT_EQ(loadOptions(path), Options());

    testsupport::writeBytes(path, "[strip]\ncomment_lanes=yes\nspread_bursts=true\n"
                                  "[follow]\nnext_by_title=1\n[replay]\noffset_seconds=601\n");
    Options expected;
    expected.spreadBursts = true;
    expected.nextByTitle = true;
    EXPECT_EQ(loadOptions(path), expected);
    testsupport::writeBytes(path, "[replay]\noffset_seconds=-600\n");
    EXPECT_EQ(loadOptions(path).replayOffsetSeconds, -600);

    testsupport::writeBytes(path, QByteArray("\xff\xfe\0junk\n[", 9));
    EXPECT_EQ(loadOptions(path), Options());
}

TEST(Options, RoundTripKeepsUnknownKeysAndFailedWriteKeepsOldFile)
{
    testsupport::TempProgramFolder home;
    const QString path = optionsFilePath();
    testsupport::writeBytes(path, "[later]\nsome_key=\xe6\xac\xa1\xe3\x82\xb9\xe3\x83\xac\n");
    Options options;
    options.commentLanes = true;
    options.replayOffsetSeconds = -30;
    ASSERT_TRUE(saveOptions(path, options));
    EXPECT_EQ(loadOptions(path), options);
    const QByteArray written = testsupport::readBytes(path);
    EXPECT_TRUE(written.contains("some_key=\xe6\xac\xa1\xe3\x82\xb9\xe3\x83\xac")) << written.constData();
    EXPECT_TRUE(written.contains("comment_lanes=true")) << written.constData();

    // A folder in the file's place: reported, nothing replaced.
    const QString blocked = home.file(QStringLiteral("blocked.ini"));
    ASSERT_TRUE(QDir().mkpath(blocked));
    EXPECT_FALSE(saveOptions(blocked, options));
    EXPECT_TRUE(QFileInfo(blocked).isDir());
}
