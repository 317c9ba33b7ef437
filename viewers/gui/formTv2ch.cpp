#include "viewers/gui/formTv2ch.h"

#include "core/ServicesConfig.h"
#include "viewers/TvGraphPage.h"
#include "viewers/gui/BrowserView.h"

#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <QWebEngineView>

formTv2ch::formTv2ch(QWidget *parent)
    : ViewerWindow(parent)
{
    setWindowTitle(services().tvHost);
    resize(760, 560);
    m_refresh = new QPushButton(QStringLiteral("更新"), this);
    connect(m_refresh, &QPushButton::clicked, this, &formTv2ch::cmdGetTv2ch_Click);
}

void formTv2ch::Form_Load()
{
    // An outside site's page, not response text: its scripts keep running as the site meant.
    m_browser = createBrowserView(this, true);
    connect(m_browser, &QWebEngineView::loadFinished, this, &formTv2ch::WebBrowserTv2ch_DocumentComplete);
    layoutControls();
    m_browser->show();
    cmdGetTv2ch_Click();
}

void formTv2ch::layoutControls()
{
    const int buttonHeight = m_refresh->sizeHint().height();
    m_refresh->setGeometry(4, 4, qMax(80, m_refresh->sizeHint().width()), buttonHeight);
    if (m_browser)
        m_browser->setGeometry(0, buttonHeight + 8, width(), qMax(0, height() - buttonHeight - 8));
}

void formTv2ch::cmdGetTv2ch_Click()
{
    if (!m_browser)
        return;
    m_siteLoading = true;
    m_rewriting = false;
    m_browser->load(QUrl(services().tvTopPage));
}

void formTv2ch::WebBrowserTv2ch_DocumentComplete(bool ok)
{
    if (m_rewriting) {
        m_rewriting = false;
        emit pageShown();
        return;
    }
    if (!m_siteLoading || !ok)
        return;
    m_siteLoading = false;
    QPointer<formTv2ch> self(this);
    runPrivateScript(m_browser, QStringLiteral("document.documentElement.innerHTML"), [self](const QVariant &html) {
        // A newer navigation ("更新") started meanwhile wins.
        if (!self || self->m_siteLoading)
            return;
        const ServicesConfig &config = services();
        self->m_rewriting = true;
        // The site's address as base, so the graph's relative images and links still resolve.
        self->m_browser->setHtml(tvGraphPage(html.toString(), config.tvTopPage, config.tvHost),
                                 self->m_browser->url());
    });
}
