#include "viewers/gui/formWebBrowserHanyou.h"

#include "viewers/ViewerGeometry.h"
#include "viewers/gui/BrowserView.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWebEngineView>

formWebBrowserHanyou::formWebBrowserHanyou(MainGeometryHost &host, QWidget *parent)
    : ViewerWindow(parent)
    , m_host(host)
{
    m_frame = new QWidget(this);
    m_label = new QLabel(label1Text(), m_frame);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QString formWebBrowserHanyou::label1Text()
{
    return QStringLiteral("もしこれが見える場合、ページが取得できないとか、1000いってるとか、まぁ、なんちゃって書き込み機能なんで。。。  すいません");
}

void formWebBrowserHanyou::Form_Load()
{
    const QRect main = m_host.mainWindowFrame();
    QScreen *screen = QGuiApplication::screenAt(main.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const double d = screen ? screen->logicalDotsPerInchY() : 96.0;
    const qint32 screenBottom = screen ? pixelsToWholeTwips(screen->geometry().y() + screen->geometry().height(), d)
                                       : pixelsToWholeTwips(main.bottom() + 1, d);
    const TwipsRect mainTwips{pixelsToWholeTwips(main.x(), d), pixelsToWholeTwips(main.y(), d),
                               pixelsToWholeTwips(main.width(), d), pixelsToWholeTwips(main.height(), d)};
    const TwipsRect rect = hanyouPlacement(mainTwips, screenBottom, d);
    move(twipsToPixels(rect.left, d), twipsToPixels(rect.top, d));
    resize(twipsToPixels(rect.width, d), twipsToPixels(rect.height, d));

    m_browser = createBrowserView(m_frame, true);
    connect(m_browser, &QWebEngineView::loadFinished, this, &formWebBrowserHanyou::WebBrowser1_DocumentComplete);
    // The loading notification besides document complete: progress while a page loads.
    connect(m_browser, &QWebEngineView::loadProgress, this, &formWebBrowserHanyou::WebBrowser1_Loading);
    Form_Resize();
    m_browser->setVisible(m_browserShown);
    if (!m_pendingUrl.isEmpty()) {
        m_browser->load(m_pendingUrl);
        m_pendingUrl.clear();
    }
}

void formWebBrowserHanyou::Form_Resize()
{
    const double d = screenDpi();
    m_frame->setGeometry(0, 0, width(), height());
    const HanyouLayout layout = hanyouLayout(pixelsToWholeTwips(width(), d), pixelsToWholeTwips(height(), d));
    m_label->setGeometry(0, 0, twipsToPixels(layout.labelWidth, d), qMax(0, height()));
    if (m_browser)
        m_browser->setGeometry(0, 0, twipsToPixels(layout.browserWidth, d),
                               twipsToPixels(layout.browserHeight, d));
}

void formWebBrowserHanyou::setBrowserShown(bool shown)
{
    m_browserShown = shown;
    if (m_browser)
        m_browser->setVisible(shown);
}

void formWebBrowserHanyou::setAndMoveUrl(const QString &strUrl)
{
    // The address is the board's thread page; anything but http(s) (a file, a script address)
    // is treated like an empty one.
    const QUrl url(strUrl.trimmed());
    const QString scheme = url.scheme().toLower();
    if (strUrl.trimmed().isEmpty() || !url.isValid()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        m_pendingUrl.clear();
        if (m_browser)
            m_browser->stop();
        setBrowserShown(false);
        return;
    }
    if (m_browser)
        m_browser->load(url);
    else
        m_pendingUrl = url;
}

void formWebBrowserHanyou::WebBrowser1_Loading()
{
    setBrowserShown(true);
    runPrivateScript(m_browser, scrollToEndScript());
}

void formWebBrowserHanyou::WebBrowser1_DocumentComplete(bool ok)
{
    Q_UNUSED(ok); // a failed page still shows the browser's error page
    setBrowserShown(true);
    runPrivateScript(m_browser, scrollToEndScript(), [this](const QVariant &) { emit pageScrolledToEnd(); });
}
