#include "net/BoardMenu.h"

#include "core/PageParts.h"
#include "core/ServicesConfig.h"

#include <QStringList>
#include <optional>

namespace {

// The text after the first "href=", with blanks around "=" closed up first.
std::optional<QString> afterHref(const QString &link)
{
    QString copy = link;
    copy.replace(QLatin1String("= "), QLatin1String("="));
    copy.replace(QLatin1String(" ="), QLatin1String("="));
    const qsizetype at = copy.indexOf(QLatin1String("href="));
    if (at < 0)
        return std::nullopt;
    return copy.mid(at + 5);
}

std::optional<BoardLink> readLink(const QString &link)
{
    const std::optional<QString> rest = afterHref(link);
    if (!rest)
        return std::nullopt;

    const qsizetype tagEnd = rest->indexOf(QLatin1Char('>'));
    const qsizetype close = rest->indexOf(QLatin1String("</"));
    if (tagEnd < 0 || close < 0)
        return std::nullopt;

    // Address: up to the tag's end, quotes made blanks, cut after the first blank past the
    // first character (which drops attributes after an unquoted address).
    QString address = rest->left(tagEnd);
    address.replace(QLatin1Char('"'), QLatin1Char(' '));
    const qsizetype blank = address.indexOf(QLatin1Char(' '), 1);
    if (blank >= 0)
        address.truncate(blank + 1);
    address = address.trimmed() + QLatin1String("subback.html");

    // Name: the text between the last ">" before the closing tag and that tag.
    QString name = rest->left(close);
    name = name.mid(name.lastIndexOf(QLatin1Char('>')) + 1).trimmed();
    return BoardLink{name, address};
}

} // namespace

QList<BoardLink> parseBoardLinks(const QString &page)
{
    QString text = page;
    text.replace(QLatin1String("<A "), QLatin1String("<a "));
    text.replace(QLatin1String("</A>"), QLatin1String("</a>"));
    text.replace(QLatin1String("HREF"), QLatin1String("href"));

    QList<BoardLink> boards;
    for (const PagePart &part : pageParts(text, QLatin1String("<a "), QLatin1String("</a>"))) {
        const QString link = QLatin1String("<a ") + part.text.left(part.end + 4);
        if (std::optional<BoardLink> board = readLink(link))
            boards << *board;
    }
    return boards;
}

QList<BoardLink> filterLiveBoards(const QList<BoardLink> &boards, const ServicesConfig &config)
{
    QList<BoardLink> live;
    for (const BoardLink &board : boards) {
        if (config.isLiveBoardAddress(board.address))
            live << board;
    }
    return live;
}
