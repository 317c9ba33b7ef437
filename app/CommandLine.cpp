#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <cmath>

namespace {

struct Options
{
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and exit.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and exit.")};
    QCommandLineOption home{QStringLiteral("home"),
                            QStringLiteral("Program folder (settings, favourites, generated pages)."),
                            QStringLiteral("DIR")};
    QCommandLineOption menu{QStringLiteral("menu"),
                            QStringLiteral("Board-menu address, stored as the first settings line."),
                            QStringLiteral("URL")};
    QCommandLineOption newInstance{QStringLiteral("new-instance"),
                                   QStringLiteral("Open a window of its own even when one runs "
                                                  "with the same program folder.")};
    QCommandLineOption quitAfter{QStringLiteral("quit-after"),
                                 QStringLiteral("Close the window in the orderly way after SECONDS."),
                                 QStringLiteral("SECONDS")};
    QCommandLineOption screenshot{QStringLiteral("screenshot"),
                                  QStringLiteral("Save a picture of the main window just before the "
                                                 "--quit-after close."),
                                  QStringLiteral("FILE")};

    void addTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(QStringLiteral(
            "Live-commentary viewer: comments of a board thread float over the desktop."));
        parser.addOptions({help, version, home, menu, newInstance, quitAfter, screenshot});
        parser.addPositionalArgument(
            QStringLiteral("THREAD_URL"),
            QStringLiteral("A thread address (http://host/test/read.cgi/board/thread/) to open "
                           "and start."),
            QStringLiteral("[THREAD_URL]"));
    }
};

CommandLine failed(CommandLine result, const QString &message)
{
    result.action = CommandLine::Action::Error;
    result.error = message;
    return result;
}

} // namespace

ThreadUrl parseThreadUrl(const QString &address)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^https?://([A-Za-z0-9.\\-]+(?::[0-9]{1,5})?)/test/read\\.cgi/([^/?#\\s]+)/([0-9]+)"
        "(?:[/?#]\\S*)?\\z"));
    ThreadUrl url;
    const QRegularExpressionMatch match = pattern.match(address.trimmed());
    if (!match.hasMatch())
        return url;
    url.server = match.captured(1);
    url.board = match.captured(2);
    url.threadNumber = match.captured(3);
    url.secure = address.trimmed().startsWith(QLatin1String("https://"));
    url.boardAddress = (url.secure ? QStringLiteral("https://") : QStringLiteral("http://")) + url.server
                       + QLatin1Char('/') + url.board + QLatin1Char('/');
    url.valid = true;
    return url;
}

QString commandLineHelp()
{
    QCommandLineParser parser;
    Options options;
    options.addTo(parser);
    parser.parse({QStringLiteral("kestrelon")});
    // Qt names the program by the application object's arguments, or by a placeholder when the
    // help is asked before that object exists (as main() does).
    QString text = parser.helpText();
    const QString usage = QStringLiteral("Usage: ");
    const int nameEnd = text.indexOf(QStringLiteral(" [options]"));
    if (text.startsWith(usage) && nameEnd > usage.size())
        text.replace(usage.size(), nameEnd - usage.size(), QStringLiteral("kestrelon"));
    return text;
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine result;
    QCommandLineParser parser;
    Options options;
    options.addTo(parser);
    if (!parser.parse(arguments))
        return failed(result, parser.errorText());

    if (parser.isSet(options.help)) {
        result.action = CommandLine::Action::Help;
        return result;
    }
    if (parser.isSet(options.version)) {
        result.action = CommandLine::Action::Version;
        return result;
    }

    result.home = parser.value(options.home);
    if (parser.isSet(options.home) && result.home.trimmed().isEmpty())
        return failed(result, QStringLiteral("--home needs a folder"));
    result.menuUrl = parser.value(options.menu).trimmed();
    if (result.menuUrl.contains(QLatin1Char('\n')) || result.menuUrl.contains(QLatin1Char('\r')))
        return failed(result, QStringLiteral("--menu must be one line"));
    result.screenshotFile = parser.value(options.screenshot);
    result.newInstance = parser.isSet(options.newInstance);

    if (parser.isSet(options.quitAfter)) {
        bool ok = false;
        const double seconds = parser.value(options.quitAfter).toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > 1.0e6)
            return failed(result, QStringLiteral("--quit-after needs a number of seconds, not \"%1\"")
                                      .arg(parser.value(options.quitAfter)));
        result.quitAfterSeconds = seconds;
    }
    if (parser.isSet(options.screenshot) && result.screenshotFile.isEmpty())
        return failed(result, QStringLiteral("--screenshot needs a file name"));

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return failed(result, QStringLiteral("only one thread address may be given"));
    if (!positional.isEmpty()) {
        result.threadUrl = positional.first();
        result.thread = parseThreadUrl(result.threadUrl);
        if (!result.thread.valid)
            return failed(result, QStringLiteral("not a thread address: %1").arg(result.threadUrl));
    }
    return result;
}
