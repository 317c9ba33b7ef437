#include "viewers/gui/formImageView.h"

#include "viewers/ViewerGeometry.h"
#include "viewers/gui/BrowserView.h"

#include <QPushButton>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

namespace {

// Button sizes and the browser's top, in twips (the layouts give only their positions).
constexpr int kModeChangeWidth = 1215;
constexpr int kArrowWidth = 495;
constexpr int kButtonHeight = 300;
constexpr int kArrowGap = 300;
constexpr int kBrowserTop = 400;

const QUrl kBlank(QStringLiteral("about:blank"));

} // namespace

formImageView::formImageView(QWidget *parent)
    : ViewerWindow(parent)
{
    setWindowTitle(QStringLiteral("ImageViewer"));
    m_cmdModeChange = new QPushButton(QStringLiteral("modeChange"), this);
    m_cmdLeft = new QPushButton(QStringLiteral("←"), this);
    m_cmdRight = new QPushButton(QStringLiteral("→"), this);
    m_timer.setInterval(100);

    connect(m_cmdModeChange, &QPushButton::clicked, this, &formImageView::cmdModeChange_Click);
    // Pressing an arrow starts the hold scrolling, releasing stops it, and the click itself
    // scrolls once: pressed, released, clicked, in that order.
    connect(m_cmdLeft, &QPushButton::pressed, this, &formImageView::cmdLeft_MouseDown);
    connect(m_cmdRight, &QPushButton::pressed, this, &formImageView::cmdRight_MouseDown);
    connect(m_cmdLeft, &QPushButton::released, this, &formImageView::arrow_MouseUp);
    connect(m_cmdRight, &QPushButton::released, this, &formImageView::arrow_MouseUp);
    connect(m_cmdLeft, &QPushButton::clicked, this, &formImageView::cmdLeft_Click);
    connect(m_cmdRight, &QPushButton::clicked, this, &formImageView::cmdRight_Click);
    connect(&m_timer, &QTimer::timeout, this, &formImageView::Timer1_Timer);

    Form_Load();
}

void formImageView::Form_Load()
{
    applyLayout(m_state.load());
}

void formImageView::createBrowser()
{
    // The page keeps its fixed pop-up script; addresses in it cannot leave their quotes.
    m_browser = createBrowserView(this, true);
    connect(m_browser, &QWebEngineView::loadFinished, this, &formImageView::WebBrowser1_DocumentComplete);
    // Before the page's own script, in its world, on every page this browser shows.
    QWebEngineScript compatibility;
    compatibility.setName(QStringLiteral("image-viewer-compatibility"));
    compatibility.setSourceCode(imageViewerCompatibilityScript());
    compatibility.setInjectionPoint(QWebEngineScript::DocumentCreation);
    compatibility.setWorldId(QWebEngineScript::MainWorld);
    m_browser->page()->scripts().insert(compatibility);
    // A click on a thumbnail asks for a new window with the full image: the browser control
    // hands it to the user's browser.
    applyLayout(m_layout);
    m_browser->show();
    navigateBlank();
}

void formImageView::navigateBlank()
{
    if (!m_browser)
        return;
    m_blankLoading = true;
    m_writing = false;
    m_browser->setUrl(kBlank);
}

void formImageView::WebBrowser1_DocumentComplete(bool ok)
{
    if (!m_browser)
        return;
    if (m_blankLoading) {
        // Only the completion of "about:blank" itself writes the page; an earlier write that
        // the navigation cut short also reports here, and is ignored.
        if (!ok || m_browser->url() != kBlank)
            return;
        m_blankLoading = false;
        if (!m_state.blnImagePageSet)
            return;
        m_writing = true;
        m_written = m_state.strImagePage;
        m_browser->setHtml(m_written);
        return;
    }
    if (m_writing) {
        m_writing = false;
        emit pageShown();
    }
}

void formImageView::setImage(const QStringList &varNameAndTime, const QStringList &varAddress, bool isModeChange)
{
    m_state.setImage(varNameAndTime, varAddress, isModeChange);
    navigateBlank();
}

void formImageView::cmdModeChange_Click()
{
    const bool hadPage = m_state.blnImagePageSet;
    applyLayout(m_state.modeChange());
    if (hadPage)
        navigateBlank();   // modeChange re-drew the stored copies
}

void formImageView::applyLayout(const ImageViewerLayout &layout)
{
    m_layout = layout;
    const double dpi = logicalDpiX();
    const double dpiY = logicalDpiY();
    auto x = [dpi](int twips) { return twipsToPixels(twips, dpi); };
    auto y = [dpiY](int twips) { return twipsToPixels(twips, dpiY); };

    resize(x(layout.windowWidth), y(layout.windowHeight));
    const int buttonTop = y(layout.modeChangeTop);
    const int modeLeft = x(layout.modeChangeLeft);
    m_cmdModeChange->setGeometry(modeLeft, buttonTop, x(kModeChangeWidth), y(kButtonHeight));
    const int leftLeft = modeLeft + x(kModeChangeWidth) + x(kArrowGap);
    m_cmdLeft->setGeometry(leftLeft, buttonTop, x(kArrowWidth), y(kButtonHeight));
    m_cmdRight->setGeometry(leftLeft + x(kArrowWidth) + x(kArrowGap), buttonTop, x(kArrowWidth), y(kButtonHeight));
    m_cmdLeft->setVisible(layout.arrowsVisible);
    m_cmdRight->setVisible(layout.arrowsVisible);
    if (!layout.arrowsVisible)
        arrow_MouseUp();
    if (m_browser)
        m_browser->setGeometry(0, y(kBrowserTop), x(layout.browserWidth), y(layout.browserHeight));
}

void formImageView::cmdLeft_Click()
{
    scrollBy(-kImageViewerScrollStep);
}

void formImageView::cmdRight_Click()
{
    scrollBy(kImageViewerScrollStep);
}

void formImageView::cmdLeft_MouseDown()
{
    m_blnScrollLeft = true;
    m_timer.start();
}

void formImageView::cmdRight_MouseDown()
{
    m_blnScrollLeft = false;
    m_timer.start();
}

void formImageView::arrow_MouseUp()
{
    m_timer.stop();
}

void formImageView::Timer1_Timer()
{
    scrollBy(m_blnScrollLeft ? -kImageViewerScrollStep : kImageViewerScrollStep);
}

void formImageView::scrollBy(int dx)
{
    // The page has no doctype: in quirks mode the body scrolls; scrollingElement covers both.
    runPrivateScript(m_browser, QStringLiteral("(function(){var s=document.scrollingElement||document.body;"
                                               "if(s)s.scrollLeft+=%1;})()").arg(dx));
    emit scrolled(dx);
}
