#include "present/ResponseText.h"

#include "core/Patterns.h"

namespace {

const QString &br()
{
    static const QString tag = QStringLiteral("<br>");
    return tag;
}

QStringList splitImageList(const QString &list)
{
    QStringList urls;
    for (const QString &part : list.split(QStringLiteral("--")))
        if (!part.isEmpty())
            urls.append(part);
    return urls;
}

} // namespace

QString keepFirstLines(const QString &body, int maxRows, int *lineCount)
{
    QString text = body;
    text.remove(QStringLiteral("<br><br>"));
    const QStringList lines = text.split(br());
    QString kept;
    int count = 0;
    for (int j = 0; j < lines.size() && j <= maxRows - 1; ++j) {
        kept += lines.at(j);
        if (j < lines.size() - 1)
            kept += br();
        ++count;
    }
    if (lineCount)
        *lineCount = count;
    return kept;
}

CleanedResponse cleanResponseText(const CleaningInput &input, const CleaningVariant &variant)
{
    CleanedResponse out;
    QString text = keepFirstLines(input.body, input.maxRows, &out.lineCount);
    if (variant.lineEnds)
        text.replace(br(), QStringLiteral("\r\n"));

    unlinkResAnchors(text);
    if (input.lastWebElement && text.contains(QStringLiteral("</dd>")))
        text = text.section(QStringLiteral("</dd>"), 0, 0);

    switch (variant.images) {
    case ImageLinkForm::DatAddresses:
        if (countImageUrls(text) > 0) {
            out.hadImages = true;
            out.imageUrls = splitImageList(takeImageUrls(text));
        }
        break;
    case ImageLinkForm::WebAnchors:
        if (countImageAnchors(text) > 0) {
            out.hadImages = true;
            out.imageUrls = splitImageList(takeImageAnchors(text));
        }
        break;
    case ImageLinkForm::None:
        break;
    }

    unlinkOtherAnchors(text);
    if (variant.pageText)
        text = markupAsText(text);

    if (variant.stagger) {
        const QString indent(8 * input.k, QLatin1Char(' '));
        if (input.k != 1)
            text.prepend(indent);
        text.replace(br(), br() + indent);
        text.replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
    }
    out.text = text;
    return out;
}

QString markupAsText(const QString &text)
{
    if (!text.contains(QLatin1Char('<')))
        return text;
    QString out;
    out.reserve(text.size() + 32);
    const QStringView view(text);
    for (qsizetype i = 0; i < view.size(); ++i) {
        if (view.at(i) != QLatin1Char('<')) {
            out += view.at(i);
        } else if (view.mid(i, 4) == br()) {
            out += br();
            i += 3;
        } else {
            out += QLatin1String("&lt;");
        }
    }
    return out;
}

int appendImages(ImageLists &lists, const QString &resNo, const QStringList &urls)
{
    for (const QString &url : urls)
        lists.append(resNo, url);
    return int(urls.size());
}
