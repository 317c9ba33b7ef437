#include "viewers/TvGraphPage.h"

QString tvGraphHeading()
{
    return QStringLiteral("<H1>地上波実況板勢いグラフ</H1>");
}

QString tvGraphHeadingReplacement()
{
    return QStringLiteral("<b>地上波実況板勢いグラフ</b><br>");
}

QString tvGraphCredit(const QString &topPage, const QString &host)
{
    // Both come from services.ini; quote them so a stray character cannot reshape the line.
    return QStringLiteral("Powered&nbsp;By&nbsp;<a href=\"") + topPage.toHtmlEscaped()
        + QStringLiteral("\" target=new>") + host.toHtmlEscaped() + QStringLiteral("</a></body></html>");
}

QString tvGraphPage(const QString &rootInnerHtml, const QString &topPage, const QString &host)
{
    QString text = rootInnerHtml;
    text.replace(tvGraphHeading(), tvGraphHeadingReplacement(), Qt::CaseInsensitive);
    const qsizetype table = text.indexOf(QLatin1String("<TABLE "), 0, Qt::CaseInsensitive);
    if (table >= 0)
        text.truncate(table);
    return QStringLiteral("<html>") + text + tvGraphCredit(topPage, host);
}
