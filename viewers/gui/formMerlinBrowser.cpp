#include "viewers/gui/formMerlinBrowser.h"

#include "core/TextStore.h"
#include "platform/Events.h"
#include "platform/ProgramFolder.h"
#include "viewers/CornerImages.h"
#include "viewers/ThreadViewPage.h"
#include "viewers/ViewerGeometry.h"
#include "viewers/gui/BrowserView.h"

#include <QCloseEvent>
#include <QPointer>
#include <QWebEngineHistory>
#include <QWebEngineView>

formMerlinBrowser::formMerlinBrowser(ThreadViewHost &host, QWidget *parent)
    : ViewerWindow(parent)
    , m_host(host)
{
    m_frame = new QWidget(this);
    Form_Load();
}

formMerlinBrowser::~formMerlinBrowser() = default;

QString formMerlinBrowser::pagePath()
{
    return platform::programPath(QStringLiteral("image/tempHtml3.html"));
}

void formMerlinBrowser::Form_Load()
{
    m_loaded = true;
    setWindowTitle(QStringLiteral("MerlinBrowser"));
    resize(twipsToPixels(kThreadViewLoadWidth, screenDpi()), twipsToPixels(kThreadViewLoadHeight, screenDpi()));
}

void formMerlinBrowser::Form_Resize()
{
    const double d = screenDpi();
    const ThreadViewLayout layout =
        threadViewLayout(pixelsToWholeTwips(width(), d), pixelsToWholeTwips(height(), d));
    m_frame->setGeometry(twipsToPixels(layout.frame.left, d), twipsToPixels(layout.frame.top, d),
                         twipsToPixels(layout.frame.width, d), twipsToPixels(layout.frame.height, d));
    if (m_browser)
        m_browser->setGeometry(0, 0, twipsToPixels(layout.browserWidth, d),
                               twipsToPixels(layout.browserHeight, d));
}

void formMerlinBrowser::Form_Unload()
{
    m_scroll.unload();
    m_loaded = false;
    loadAgainOnShow();
}

void formMerlinBrowser::ensureBrowser()
{
    if (m_browser)
        return;
    // Responses are the posters' text: no scripts, and the view never leaves its page file.
    m_browser = createLocalPageView(m_frame, pagePath());
    connect(m_browser, &QWebEngineView::loadFinished, this, &formMerlinBrowser::WebBrowser1_DocumentComplete);
    Form_Resize();
    m_browser->show();
    if (!m_pendingUrl.isEmpty()) {
        m_browser->load(m_pendingUrl);
        m_pendingUrl.clear();
    }
}

void formMerlinBrowser::firstShown()
{
    if (!m_loaded)
        Form_Load();
    ensureBrowser();
}

void formMerlinBrowser::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    QWidget::closeEvent(event);
}

bool formMerlinBrowser::setHtmlTextFirst()
{
    const QString title = threadViewTitle(m_host.lblCaptionText());
    setWindowTitle(title);
    m_scroll.startBuild(title);
    const quint32 generation = ++m_buildGeneration;

    // The page is built in memory and written in one go (temporary file, then rename): a build
    // that fails or is overtaken leaves the file and the page shown as they were.
    QPointer<formMerlinBrowser> self(this);
    const std::optional<QString> page = buildThreadViewPage(m_host, title, [self, generation]() {
        platform::processPendingEvents();
        return self && self->m_buildGeneration == generation;
    });
    if (!self || !page || m_buildGeneration != generation)
        return false;

    const QString path = pagePath();
    if (!installCornerImages(platform::programPath(QStringLiteral("image"))) || !writeFileText(*page, path, Durability::None))
        return false;

    // Each build gets its own address: the browser treats a navigation to the address it shows
    // as a reload and would put back the old scroll position, which is ours to decide.
    QUrl url = QUrl::fromLocalFile(path);
    url.setQuery(QStringLiteral("build=%1").arg(++m_navigationCount));
    if (m_browser)
        m_browser->load(url);
    else
        m_pendingUrl = url;
    m_scroll.finishBuild();
    return true;
}

void formMerlinBrowser::WebBrowser1_DocumentComplete(bool ok)
{
    if (!ok)
        return;
    // Every build is a new history entry; nobody goes back, so keep the list short.
    m_browser->history()->clear();
    if (!m_scroll.handlesDocumentComplete())
        return;
    const std::optional<qint32> top = m_scroll.restoreScrollTop();
    QPointer<formMerlinBrowser> self(this);
    runPrivateScript(m_browser, scrollTopThenHeightScript(top.value_or(-1)), [self](const QVariant &height) {
        if (!self)
            return;
        self->m_scroll.recordScrollHeight(qint32(height.toLongLong()));
        emit self->documentCompleted();
    });
}
