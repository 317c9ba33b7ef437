#include "viewers/ImageViewerPage.h"

#include "core/ServicesConfig.h"

#include <QUrl>

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

// Characters that a page address may hold as they are. The address goes into a double-quoted
// attribute, into single-quoted JavaScript strings inside attributes, and from there into the
// pop-up's innerHTML: "&" is written as "&amp;" in the page (attributes decode it back);
// quotes cannot be written safely at all; the rest below is percent-encoded, which names the
// same resource.
enum class AddressChar { Keep, Encode, Refuse };

AddressChar addressChar(QChar c)
{
    switch (c.unicode()) {
    case '"': case '\'':
        return AddressChar::Refuse;
    case '`': case '\\': case '<': case '>': case ' ': case 0x7f:
        return AddressChar::Encode;
    default:
        break;
    }
    if (c.unicode() < 0x20)
        return AddressChar::Encode;
    if (c.unicode() < 128)
        return AddressChar::Keep;
    // Beyond ASCII: letters, digits, marks and symbols stay (no spaces, line or format controls).
    switch (c.category()) {
    case QChar::Other_Control: case QChar::Other_Format: case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse: case QChar::Other_NotAssigned:
    case QChar::Separator_Space: case QChar::Separator_Line: case QChar::Separator_Paragraph:
        return AddressChar::Encode;
    default:
        return AddressChar::Keep;
    }
}

// The address as the page's attributes carry it.
QString attributeText(const QString &a)
{
    QString out = a;
    return out.replace(QLatin1Char('&'), QLatin1String("&amp;"));
}

// Names are response numbers; anything else is written as text, never as markup.
QString escapedName(const QString &name)
{
    return name.toHtmlEscaped();
}

QString pictureElement(const QString &address)
{
    const QString a = attributeText(address);
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
    QString out;
    out.reserve(a.size());
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QChar c = a.at(i);
        switch (addressChar(c)) {
        case AddressChar::Keep:
            out += c;
            break;
        case AddressChar::Refuse:
            return QString();
        case AddressChar::Encode: {
            // A surrogate pair is one character, encoded whole.
            const qsizetype n = c.isHighSurrogate() && i + 1 < a.size() && a.at(i + 1).isLowSurrogate() ? 2 : 1;
            out += QString::fromLatin1(QUrl::toPercentEncoding(a.mid(i, n)));
            i += n - 1;
            break;
        }
        }
    }
    return out;
}

QString imageViewerCompatibilityScript()
{
    return QStringLiteral(R"js((function () {
  var proto = CSSStyleDeclaration.prototype;
  function pixels(name, property) {
    if (name in proto) return;
    Object.defineProperty(proto, name, {
      configurable: true,
      get: function () { return parseInt(this[property], 10) || 0; },
      set: function (v) { this[property] = Number(v) + 'px'; }
    });
  }
  pixels('pixelLeft', 'left');
  pixels('pixelTop', 'top');
  function alpha(text) {
    var m = /alpha\(\s*opacity\s*=\s*['"]?(\d+(?:\.\d+)?)['"]?\s*\)/i.exec(String(text));
    return m ? String(Math.min(100, Number(m[1])) / 100) : null;
  }
  function follow(event, handler) {
    var t = event.target;
    if (!t || !t.getAttribute) return;
    var m = /style\.filter\s*=\s*'([^']*)'/i.exec(t.getAttribute(handler) || '');
    if (!m) return;
    var o = alpha(m[1]);
    t.style.opacity = o === null ? '' : o;
  }
  document.addEventListener('mouseover', function (e) { follow(e, 'onmouseover'); }, true);
  document.addEventListener('mouseout', function (e) { follow(e, 'onmouseout'); }, true);
  document.addEventListener('DOMContentLoaded', function () {
    var styled = document.querySelectorAll('[style]');
    for (var i = 0; i < styled.length; ++i) {
      var o = alpha(styled[i].getAttribute('style'));
      if (o !== null) styled[i].style.opacity = o;
    }
  });
})();)js");
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

    // One table row of cells, each piece on its own line.
    const auto row = [&](const QStringList &cells) {
        piece(page, QStringLiteral("<tr>"));
        for (const QString &cell : cells) {
            piece(page, QStringLiteral("<td>"));
            piece(page, cell);
            piece(page, QStringLiteral("</td>"));
        }
        piece(page, QStringLiteral("</tr>"));
    };
    if (intImageMode == ImageViewerMode::Strip) {
        QStringList labels, pictures;
        for (const Shown &s : shown) {
            labels << labelElement(s.name);
            pictures << pictureElement(s.address);
        }
        row(labels);
        row(pictures);
    } else {
        for (const Shown &s : shown) {
            row({labelElement(s.name)});
            row({pictureElement(s.address)});
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
