#include "viewers/ImageViewerPage.h"

#include "core/ServicesConfig.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

const char16_t *const kHead[] = {
    u"<SCRIPT LANGUAGE=\"JavaScript\"> ",
    u"<!-- ",
    u"var x, y; ",
    u" ",
    u"function ShowPopup(msg){ ",
    u"    popupmsg = \"<TABLE CELLPADDING=0 BORDER=1 BGCOLOR=white width=200><TD><font size=2>\"; ",
    u"    popupmsg += msg; ",
    u"    popupmsg += \"</font></TD></TABLE>\"; ",
    u" ",
    u"    sample.innerHTML = popupmsg; ",
    u"    eval(\"sample.style.pixelLeft=\" + (x)); ",
    u"    eval(\"sample.style.pixelTop=\" + y); ",
    u"} ",
    u" ",
    u"function HidePopup(){ ",
    u"    sample.innerHTML=\"\"; ",
    u"} ",
    u" ",
    u"function handleMM(){ ",
    u"    x = event.clientX; ",
    u"    y = event.clientY; ",
    u"} ",
    u" ",
    u"document.onmousemove = handleMM; ",
    u"//--> ",
    u"</SCRIPT> ",
    u" ",
    u"</head>",
    u"<body> ",
    u"<center> ",
    u" ",
    u"<DIV ID=\"sample\" STYLE=\"position:absolute; visibility:show; left:25px; top:-50px; z-index:2\">Layer は隠れた場所にある...</DIV> ",
    u"<TABLE border=0>",
};

// Characters that end or escape a quoted attribute or a JavaScript string, or that start a
// character reference (decoded inside attributes before the script sees the text), or that
// become markup in the pop-up's innerHTML.
bool isSafeAddressChar(QChar c)
{
    if (c.unicode() < 0x21 || c.unicode() == 0x7f)
        return false;
    switch (c.unicode()) {
    case '"': case '\'': case '`': case '\\': case '<': case '>': case '&':
        return false;
    default:
        break;
    }
    if (c.unicode() < 128)
        return true;
    // Beyond ASCII: letters, digits, marks and symbols only (no spaces, line or format controls).
    switch (c.category()) {
    case QChar::Other_Control: case QChar::Other_Format: case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse: case QChar::Other_NotAssigned:
    case QChar::Separator_Space: case QChar::Separator_Line: case QChar::Separator_Paragraph:
        return false;
    default:
        return true;
    }
}

// Names are response numbers; anything else is written as text, never as markup.
QString escapedName(const QString &name)
{
    return name.toHtmlEscaped();
}

QString pictureElement(const QString &a)
{
    return QStringLiteral("<img src=\"") + a + QStringLiteral("\" width=140 border=1")
        + QStringLiteral(" onClick=\"window.open('") + a
        + QStringLiteral("','newwin','width=400,height=300,menubar=no,resizable=yes')\"")
        + QStringLiteral(" OnMouseOver=\"ShowPopup('") + a + QStringLiteral("');this.style.filter=''\"")
        + QStringLiteral(" OnMouseOut=\"HidePopup();this.style.filter='Alpha(opacity=50)'\"")
        + QStringLiteral("\" style=\"cursor:pointer;filter:Alpha(opacity='30');-moz-opacity:0.5\">");
}

QString labelElement(const QString &name)
{
    return QStringLiteral("<font size=2>") + escapedName(name) + QStringLiteral("</font>");
}

void piece(QString &page, const QString &text)
{
    page += text;
    page += kCrLf;
}

} // namespace

QString imageViewerAddress(const QString &address, const QString &redirectorPrefix)
{
    QString a = address;
    if (!redirectorPrefix.isEmpty())
        a.remove(redirectorPrefix);
    const bool web = a.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || a.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
    if (!web)
        return QString();
    for (QChar c : a) {
        if (!isSafeAddressChar(c))
            return QString();
    }
    return a;
}

ImageViewerLayout imageViewerLayout(ImageViewerMode mode)
{
    if (mode == ImageViewerMode::Strip)
        return {9515, 3290, 9690, 3440, 50, 50, true};
    return {3210, 9415, 3135, 8935, 50, 1400, false};
}

void ImageViewerState::setImage(const QStringList &names, const QStringList &addresses, bool isModeChange)
{
    const qsizetype m = addresses.size() - 1;   // newest
    const qsizetype n = qMin<qsizetype>(addresses.size(), 10);

    if (!isModeChange) {
        varShownResNo = QStringList(addresses.size(), QString());
        varShownUrl = QStringList(addresses.size(), QString());
    }

    struct Shown { QString name; QString address; };
    QList<Shown> shown;
    const QString prefix = services().redirectorPrefix;
    for (qsizetype i = m; i > m - n; --i) {
        const QString a = imageViewerAddress(addresses.at(i), prefix);
        if (a.isEmpty())
            continue;
        const QString name = i < names.size() ? names.at(i) : QString();
        if (i < varShownUrl.size()) {
            varShownUrl[i] = a;
            varShownResNo[i] = name;
        }
        shown.append({name, a});
    }

    QString page = QStringLiteral("<html> ") + kCrLf + QStringLiteral("<head>") + kCrLf;
    for (const char16_t *line : kHead)
        piece(page, QString::fromUtf16(line));

    if (intImageMode == ImageViewerMode::Strip) {
        piece(page, QStringLiteral("<tr>"));
        for (const Shown &s : shown) {
            piece(page, QStringLiteral("<td>"));
            piece(page, labelElement(s.name));
            piece(page, QStringLiteral("</td>"));
        }
        piece(page, QStringLiteral("</tr>"));
        piece(page, QStringLiteral("<tr>"));
        for (const Shown &s : shown) {
            piece(page, QStringLiteral("<td>"));
            piece(page, pictureElement(s.address));
            piece(page, QStringLiteral("</td>"));
        }
        piece(page, QStringLiteral("</tr>"));
    } else {
        for (const Shown &s : shown) {
            piece(page, QStringLiteral("<tr>"));
            piece(page, QStringLiteral("<td>"));
            piece(page, labelElement(s.name));
            piece(page, QStringLiteral("</td>"));
            piece(page, QStringLiteral("</tr>"));
            piece(page, QStringLiteral("<tr>"));
            piece(page, QStringLiteral("<td>"));
            piece(page, pictureElement(s.address));
            piece(page, QStringLiteral("</td>"));
            piece(page, QStringLiteral("</tr>"));
        }
    }
    piece(page, QStringLiteral("</TABLE>"));
    piece(page, QStringLiteral("</center> "));
    piece(page, QStringLiteral("</body> "));
    piece(page, QStringLiteral("</html> "));

    strImagePage = page;
    blnImagePageSet = true;
}

ImageViewerLayout ImageViewerState::load()
{
    intImageMode = ImageViewerMode::Column;
    strImagePage = QStringLiteral("about:blank");
    return modeChange();
}

ImageViewerLayout ImageViewerState::modeChange()
{
    intImageMode = intImageMode == ImageViewerMode::Column ? ImageViewerMode::Strip : ImageViewerMode::Column;
    if (blnImagePageSet) {
        // Copies, because setImage writes into the stored lists while reading them.
        const QStringList names = varShownResNo;
        const QStringList urls = varShownUrl;
        setImage(names, urls, true);
    }
    return imageViewerLayout(intImageMode);
}
