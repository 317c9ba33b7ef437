#include "viewers/ThreadViewPage.h"

#include "core/Patterns.h"
#include "present/NgRules.h"
#include "viewers/InertMarkup.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

QString threadViewTitle(const QString &lblCaption)
{
    QString title = lblCaption;
    title.remove(QStringLiteral("Kestrelon"));
    return title;
}

QString threadViewHeader(const QString &title)
{
    return QStringLiteral("<html><body bgcolor=\"#DCDCDC\"><center><br><B>") + inertMarkup(title)
        + QStringLiteral("</b><br><br>") + kCrLf + kCrLf;
}

QString threadViewBlock(const QString &number, const QString &name, const QString &dateAndId,
                        const QString &body)
{
    QString text = body;
    unlinkResAnchorsRaw(text);
    linkImageUrls(text);
    const QString safeName = inertMarkup(name);

    static const QString corner = QStringLiteral("<td><img src=\"kado%1.gif\" width=\"14\" height=\"14\" border=\"0\"></td>");
    const QString lines[] = {
        QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">"),
        QStringLiteral("<tr>"),
        corner.arg(1),
        QStringLiteral("<td bgcolor=\"#FFFFFF\"><font size=1>") + inertMarkup(number) + QStringLiteral("：") + safeName
            + QStringLiteral("：") + safeName + QStringLiteral("：") + inertMarkup(dateAndId)
            + QStringLiteral("</font></td>"),
        corner.arg(2),
        QStringLiteral("</tr>"),
        QStringLiteral("<tr>"),
        QStringLiteral("<td bgcolor=\"#FFFFFF\"></td>"),
        QStringLiteral("<td bgcolor=\"#FFFFFF\">") + inertMarkup(text) + QStringLiteral("</td>"),
        QStringLiteral("<td bgcolor=\"#FFFFFF\"></td>"),
        QStringLiteral("</tr>"),
        QStringLiteral("<tr>"),
        corner.arg(4),
        QStringLiteral("<td bgcolor=\"#FFFFFF\"></td>"),
        corner.arg(3),
        QStringLiteral("</tr>"),
        QStringLiteral("</table>"),
        QStringLiteral("<br>"),
    };
    QString block;
    for (const QString &line : lines)
        block += line + kCrLf;
    return block + kCrLf;
}

QString threadViewFooter()
{
    return QStringLiteral("</body></html>") + kCrLf;
}

std::optional<QString> buildThreadViewPage(const ThreadViewHost &host, const QString &title,
                                           const std::function<bool()> &afterBlock)
{
    // Indexes are 16-bit: a record beyond 32,767 elements cannot be read element by element.
    const qsizetype count = host.getResNoArray().size();
    if (count > 32767)
        return std::nullopt;
    const NgMatcher *ng = host.ngRules();
    const QString kAbone = QStringLiteral("あぼーん");
    QString page = threadViewHeader(title);
    for (qint16 i = 0; i < qint16(count); ++i) {
        const auto number = host.getResNoArray2(i);
        const auto name = host.getResNameArray2(i);
        const auto time = host.getResTimeArray2(i);
        const auto body = host.getResArray2(i);
        if (!number || !name || !time || !body)
            return std::nullopt;
        // A hidden response keeps its number and date, so numbers and anchors still line up.
        if (ng && !ng->isEmpty() && ng->matches(NgSubject{*name, host.getResMailArray2(i), *time, *body}))
            page += threadViewBlock(*number, kAbone, *time, kAbone);
        else
            page += threadViewBlock(*number, *name, *time, *body);
        if (afterBlock && !afterBlock())
            return std::nullopt;
    }
    page += threadViewFooter();
    return page;
}
