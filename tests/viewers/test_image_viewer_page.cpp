// The image viewer's page: which entries it shows and in what order, the exact page text, the
// redirector prefix, the two layouts, and addresses that could leave their quotes.

#include "viewers/ImageViewerPage.h"

#include "core/ServicesConfig.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

class ImageViewerTest : public ::testing::Test
{
protected:
    ImageViewerTest()
    {
        ServicesConfig config = ServicesConfig::defaults();
        config.redirectorPrefix = QStringLiteral("jump.example.net/");
        setServices(config);
    }
    ~ImageViewerTest() override { reloadServices(); }

    static QString url(int n) { return QStringLiteral("http://img.example.net/%1.jpg").arg(n); }

    // The response numbers in the order their labels appear in the page.
    static QStringList labelsInPage(const QString &page)
    {
        QStringList labels;
        const QString open = QStringLiteral("<font size=2>");
        qsizetype at = page.indexOf(QStringLiteral("<TABLE border=0>"));
        while ((at = page.indexOf(open, at)) >= 0) {
            at += open.size();
            labels << page.mid(at, page.indexOf(QStringLiteral("</font>"), at) - at);
        }
        return labels;
    }

    ImageViewerState viewer;
};

const char *const kHeadText =
    "<html> \r\n<head>\r\n"
    "<SCRIPT LANGUAGE=\"JavaScript\"> \r\n<!-- \r\nvar x, y; \r\n \r\nfunction ShowPopup(msg){ \r\n"
    "    popupmsg = \"<TABLE CELLPADDING=0 BORDER=1 BGCOLOR=white width=200><TD><font size=2>\"; \r\n"
    "    popupmsg += msg; \r\n    popupmsg += \"</font></TD></TABLE>\"; \r\n \r\n"
    "    sample.innerHTML = popupmsg; \r\n    eval(\"sample.style.pixelLeft=\" + (x)); \r\n"
    "    eval(\"sample.style.pixelTop=\" + y); \r\n} \r\n \r\nfunction HidePopup(){ \r\n"
    "    sample.innerHTML=\"\"; \r\n} \r\n \r\nfunction handleMM(){ \r\n    x = event.clientX; \r\n"
    "    y = event.clientY; \r\n} \r\n \r\ndocument.onmousemove = handleMM; \r\n//--> \r\n</SCRIPT> \r\n"
    " \r\n</head>\r\n<body> \r\n<center> \r\n \r\n"
    "<DIV ID=\"sample\" STYLE=\"position:absolute; visibility:show; left:25px; top:-50px; z-index:2\">"
    "Layer は隠れた場所にある...</DIV> \r\n<TABLE border=0>\r\n";

const char *const kPicture =
    "<img src=\"http://i.example.net/a.jpg\" width=140 border=1"
    " onClick=\"window.open('http://i.example.net/a.jpg','newwin','width=400,height=300,menubar=no,resizable=yes')\""
    " OnMouseOver=\"ShowPopup('http://i.example.net/a.jpg');this.style.filter=''\""
    " OnMouseOut=\"HidePopup();this.style.filter='Alpha(opacity=50)'\""
    "\" style=\"cursor:pointer;filter:Alpha(opacity='30');-moz-opacity:0.5\">";

const char *const kTail = "</TABLE>\r\n</center> \r\n</body> \r\n</html> \r\n";

TEST_F(ImageViewerTest, PageTextInBothLayouts)
{
    const QStringList names{QStringLiteral("7")};
    const QStringList urls{QStringLiteral("http://i.example.net/a.jpg")};
    const QString head = QString::fromUtf8(kHeadText);
    const QString picture = QString::fromUtf8(kPicture);
    const QString label = QStringLiteral("<font size=2>7</font>");

    viewer.intImageMode = ImageViewerMode::Column;
    viewer.setImage(names, urls, false);
    EXPECT_EQ(viewer.strImagePage,
              head + "<tr>\r\n<td>\r\n" + label + "\r\n</td>\r\n</tr>\r\n<tr>\r\n<td>\r\n" + picture
                  + "\r\n</td>\r\n</tr>\r\n" + QString::fromUtf8(kTail));
    EXPECT_TRUE(viewer.blnImagePageSet);

    viewer.intImageMode = ImageViewerMode::Strip;
    viewer.setImage(names + QStringList{"8"}, urls + QStringList{"http://i.example.net/b.jpg"}, false);
    const QString page = viewer.strImagePage;
    EXPECT_TRUE(page.startsWith(head));
    EXPECT_TRUE(page.endsWith(QString::fromUtf8(kTail)));
    // Two rows of matching columns: labels newest first, then the pictures in the same order.
    const qsizetype labels = page.indexOf(QStringLiteral("<tr>\r\n<td>\r\n<font size=2>8</font>\r\n</td>\r\n"
                                                         "<td>\r\n<font size=2>7</font>\r\n</td>\r\n</tr>\r\n<tr>\r\n"));
    EXPECT_GE(labels, 0);
    EXPECT_LT(page.indexOf(QStringLiteral("b.jpg")), page.indexOf(QStringLiteral("a.jpg")));
    EXPECT_GT(page.indexOf(QStringLiteral("b.jpg")), labels);
}

TEST_F(ImageViewerTest, NewestTenFirstSkippingEmptyAddresses)
{
    QStringList names, urls;
    for (int n = 1; n <= 12; ++n) {
        names << QString::number(n);
        urls << (n == 7 ? QString() : url(n));
    }
    viewer.setImage(names, urls, false);
    EXPECT_EQ(labelsInPage(viewer.strImagePage), QStringList({"12", "11", "10", "9", "8", "6", "5", "4", "3"}));
    EXPECT_EQ(viewer.varShownUrl.size(), 12);
    EXPECT_EQ(viewer.varShownUrl.at(11), url(12));
    EXPECT_TRUE(viewer.varShownUrl.at(6).isEmpty());
    EXPECT_TRUE(viewer.varShownUrl.at(1).isEmpty());   // older than the newest ten

    viewer.setImage({}, {}, false);
    EXPECT_TRUE(labelsInPage(viewer.strImagePage).isEmpty());
}

TEST_F(ImageViewerTest, RedirectorPrefixIsRemovedFromShownAndOpenedAddress)
{
    viewer.setImage({QStringLiteral("3")}, {QStringLiteral("http://jump.example.net/img.example.net/x.png")}, false);
    EXPECT_EQ(viewer.varShownUrl.at(0), QStringLiteral("http://img.example.net/x.png"));
    EXPECT_FALSE(viewer.strImagePage.contains(QStringLiteral("jump.example.net")));
    EXPECT_TRUE(viewer.strImagePage.contains(QStringLiteral("window.open('http://img.example.net/x.png'")));
}

// An address reaches a double-quoted attribute, single-quoted script strings and the pop-up's
// innerHTML. Query strings ("&") are escaped for the attribute, what would end a quote or open
// markup is percent-encoded, and only quotes and other schemes drop the address.
TEST_F(ImageViewerTest, AddressesAreEscapedToStayInsideTheirQuotesOrDropped)
{
    struct Case { const char *address; const char *shown; };
    const Case cases[] = {
        {"http://x.example/a.jpg?w=1&h=2", "http://x.example/a.jpg?w=1&h=2"},
        {"http://x.example/&#39)+alert(1)+(&#39.jpg", "http://x.example/&#39)+alert(1)+(&#39.jpg"},
        {"http://x.example/<img src=x onerror=alert(1)>.jpg", "http://x.example/%3Cimg%20src=x%20onerror=alert(1)%3E.jpg"},
        {"http://x.example/a\\x27`.jpg", "http://x.example/a%5Cx27%60.jpg"},
        {"http://x.example/a\u2028.jpg", "http://x.example/a%E2%80%A8.jpg"},
        {"http://x.example/写真.jpg", "http://x.example/写真.jpg"},
        {"https://x.example/dir/a_b-c~d.jpg?s=1+2%20#top", "https://x.example/dir/a_b-c~d.jpg?s=1+2%20#top"},
        {"http://x.example/a'+alert(1)+'.jpg", ""},
        {"http://x.example/a\".jpg", ""},
        {"javascript:alert(1)//.jpg", ""},
        {"http:/x.example/a.jpg", ""},
    };
    QStringList names, urls;
    for (const Case &c : cases) {
        EXPECT_EQ(imageViewerAddress(QString::fromUtf8(c.address), QString()), QString::fromUtf8(c.shown)) << c.address;
        names << QStringLiteral("n");
        urls << QString::fromUtf8(c.address);
    }
    ASSERT_LE(urls.size(), 11);
    urls.removeFirst();
    names.removeFirst();
    viewer.setImage(names, urls, false);
    EXPECT_EQ(labelsInPage(viewer.strImagePage).size(), 6);
    // Inside the page every address is written the same way in its three places, with no quote
    // and no raw "&" (an attribute would decode "&#39" to a quote).
    static const QRegularExpression picture(QStringLiteral(
        "<img src=\"([^\"]*)\" width=140 border=1 onClick=\"window.open\\('([^'\"]*)','newwin',[^\"]*\" "
        "OnMouseOver=\"ShowPopup\\('([^'\"]*)'\\);"));
    int pictures = 0;
    for (auto it = picture.globalMatch(viewer.strImagePage); it.hasNext(); ++pictures) {
        const QRegularExpressionMatch m = it.next();
        EXPECT_EQ(m.captured(1), m.captured(2));
        EXPECT_EQ(m.captured(1), m.captured(3));
        EXPECT_FALSE(m.captured(1).contains(QRegularExpression(QStringLiteral("&(?!amp;)")))) << qPrintable(m.captured(1));
    }
    EXPECT_EQ(pictures, 6);
    viewer.setImage({QStringLiteral("1")}, {QStringLiteral("http://x.example/a.jpg?w=1&h=2")}, false);
    EXPECT_TRUE(viewer.strImagePage.contains(QStringLiteral("src=\"http://x.example/a.jpg?w=1&amp;h=2\"")));
    // Re-drawn from the stored copies, the address is not escaped twice.
    viewer.modeChange();
    EXPECT_TRUE(viewer.strImagePage.contains(QStringLiteral("src=\"http://x.example/a.jpg?w=1&amp;h=2\"")));

    // A label is text, never markup.
    viewer.setImage({QStringLiteral("<b>1</b>")}, {url(1)}, false);
    EXPECT_TRUE(viewer.strImagePage.contains(QStringLiteral("<font size=2>&lt;b&gt;1&lt;/b&gt;</font>")));
}

TEST_F(ImageViewerTest, LayoutChangesRedrawTheStoredCopies)
{
    ImageViewerLayout layout = viewer.load();
    EXPECT_EQ(viewer.intImageMode, ImageViewerMode::Strip);   // a new window opens as a strip
    EXPECT_EQ(layout.windowWidth, 9515);
    EXPECT_TRUE(layout.arrowsVisible);
    EXPECT_FALSE(viewer.blnImagePageSet);                     // before any images: resize only
    EXPECT_EQ(viewer.strImagePage, QStringLiteral("about:blank"));

    QStringList names{"1", "2", "3"};
    QStringList urls{url(1), QStringLiteral("http://jump.example.net/img.example.net/2.jpg"), url(3)};
    viewer.setImage(names, urls, false);
    const QString stripPage = viewer.strImagePage;

    // The presenters collect more; the layout switches re-draw only what was handed over.
    names << "4";
    urls << url(4);
    layout = viewer.modeChange();
    EXPECT_EQ(viewer.intImageMode, ImageViewerMode::Column);
    EXPECT_EQ(layout.windowWidth, 3210);
    EXPECT_EQ(layout.modeChangeLeft, 1400);
    EXPECT_FALSE(layout.arrowsVisible);
    EXPECT_EQ(labelsInPage(viewer.strImagePage), QStringList({"3", "2", "1"}));
    EXPECT_FALSE(viewer.strImagePage.contains(QStringLiteral("4.jpg")));

    viewer.modeChange();
    EXPECT_EQ(viewer.strImagePage, stripPage);
    EXPECT_EQ(viewer.varShownUrl.at(1), QStringLiteral("http://img.example.net/2.jpg"));
}

} // namespace
