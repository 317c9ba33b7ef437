#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

CommandLine parse(const QStringList &args)
{
    return parseCommandLine(QStringList{QStringLiteral("kestrelon")} + args);
}

} // namespace

TEST(CommandLine, RecognisesThreadAddresses)
{
    struct Case
    {
        const char *address;
        const char *server;  // empty when the address must be refused
        const char *board;
        const char *thread;
    };
    const Case cases[] = {
        {"http://127.0.0.1:8421/test/read.cgi/livenhk/1700000000/", "127.0.0.1:8421", "livenhk", "1700000000"},
        {"http://live23.example/test/read.cgi/livenhk/1700000000/l50", "live23.example", "livenhk", "1700000000"},
        {"http://live23.example/test/read.cgi/livenhk/1700000000", "live23.example", "livenhk", "1700000000"},
        {"http://live23.example/test/read.cgi/livenhk/1700000000/120n-", "live23.example", "livenhk", "1700000000"},
        {"https://live23.example/test/read.cgi/livenhk/1700000000/?v=1", "live23.example", "livenhk", "1700000000"},
        {"  http://live23.example/test/read.cgi/livenhk/1700000000/  ", "live23.example", "livenhk", "1700000000"},
        {"http://live23.example/livenhk/1700000000/", "", "", ""},
        {"http://live23.example/test/read.cgi/livenhk/", "", "", ""},
        {"http://live23.example/test/read.cgi/livenhk/abc/", "", "", ""},
        {"http:///test/read.cgi/livenhk/1700000000/", "", "", ""},
        {"ftp://live23.example/test/read.cgi/livenhk/1700000000/", "", "", ""},
        {"http://live23.example/test/read.cgi/livenhk/1700000000/\nGET /", "", "", ""},
        {"http://user@live23.example/test/read.cgi/livenhk/1700000000/", "", "", ""},
    };
    for (const Case &c : cases) {
        const ThreadUrl url = parseThreadUrl(QString::fromUtf8(c.address));
        const bool expectValid = *c.server != '\0';
        ASSERT_EQ(url.valid, expectValid) << c.address;
        if (!expectValid)
            continue;
        EXPECT_EQ(url.server, QString::fromUtf8(c.server)) << c.address;
        EXPECT_EQ(url.board, QString::fromUtf8(c.board)) << c.address;
        EXPECT_EQ(url.threadNumber, QString::fromUtf8(c.thread)) << c.address;
        // An https thread keeps its scheme: the board is fetched over TLS.
        const QString scheme = QString::fromUtf8(c.address).trimmed().startsWith(QStringLiteral("https")) ? "https" : "http";
        EXPECT_EQ(url.boardAddress, QStringLiteral("%1://%2/%3/").arg(scheme, c.server, c.board)) << c.address;
        EXPECT_EQ(url.secure, scheme == QStringLiteral("https")) << c.address;
    }
}

TEST(CommandLine, FullFormForAScriptedRun)
{
    const CommandLine cl = parse({QStringLiteral("--home"), QStringLiteral("/tmp/k home"),
                                  QStringLiteral("--menu"), QStringLiteral("http://127.0.0.1:8421/bbsmenu.html"),
                                  QStringLiteral("--quit-after"), QStringLiteral("30"),
                                  QStringLiteral("--screenshot"), QStringLiteral("shot.png"),
                                  QStringLiteral("http://127.0.0.1:8421/test/read.cgi/livenhk/1700000000/")});
    ASSERT_EQ(cl.action, CommandLine::Action::Run) << cl.error.toStdString();
    EXPECT_EQ(cl.home, QStringLiteral("/tmp/k home"));
    EXPECT_EQ(cl.menuUrl, QStringLiteral("http://127.0.0.1:8421/bbsmenu.html"));
    EXPECT_EQ(cl.quitAfterSeconds, 30);
    EXPECT_EQ(cl.screenshotFile, QStringLiteral("shot.png"));
    EXPECT_TRUE(cl.thread.valid);
    EXPECT_EQ(cl.thread.boardAddress, QStringLiteral("http://127.0.0.1:8421/livenhk/"));

    const CommandLine plain = parse({});
    EXPECT_EQ(plain.action, CommandLine::Action::Run);
    EXPECT_LT(plain.quitAfterSeconds, 0);
    EXPECT_FALSE(plain.thread.valid);
    EXPECT_TRUE(plain.home.isEmpty());
}

TEST(CommandLine, HelpVersionAndErrorsNeverExit)
{
    EXPECT_EQ(parse({QStringLiteral("--help")}).action, CommandLine::Action::Help);
    EXPECT_EQ(parse({QStringLiteral("-h")}).action, CommandLine::Action::Help);
    EXPECT_EQ(parse({QStringLiteral("--version")}).action, CommandLine::Action::Version);

    const QStringList bad[] = {
        {QStringLiteral("--quit-after"), QStringLiteral("soon")},
        {QStringLiteral("--quit-after"), QStringLiteral("-5")},
        {QStringLiteral("--quit-after")},
        {QStringLiteral("--screenshot"), QString()},
        {QStringLiteral("--home"), QString()},
        {QStringLiteral("--frobnicate")},
        {QStringLiteral("http://a.example/b/")},
        {QStringLiteral("http://a.example/test/read.cgi/b/1/"), QStringLiteral("http://a.example/test/read.cgi/b/2/")},
    };
    for (const QStringList &args : bad) {
        const CommandLine cl = parse(args);
        EXPECT_EQ(cl.action, CommandLine::Action::Error) << args.join(' ').toStdString();
        EXPECT_FALSE(cl.error.isEmpty());
    }

    const QString help = commandLineHelp();
    for (const char *option : {"--home", "--menu", "--quit-after", "--screenshot", "THREAD_URL", "--version"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
}
