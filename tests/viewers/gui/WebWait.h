#pragma once
// Reading a browser control's document from a test: our script runs in the application world
// (the page's own scripts may be off) and the test waits for its answer.

#include "TestSupport.h"
#include "viewers/gui/BrowserView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QJsonArray>
#include <QJsonDocument>
#include <optional>

inline std::optional<QVariant> evalInView(QWebEngineView *view, const QString &script, int timeoutMs = 20000)
{
    std::optional<QVariant> result;
    runPrivateScript(view, script, [&result](const QVariant &value) { result = value; });
    if (!testsupport::waitUntil([&] { return result.has_value(); }, timeoutMs))
        return std::nullopt;
    return result;
}

inline QString documentText(QWebEngineView *view, const QString &expression)
{
    const auto value = evalInView(view, expression);
    return value ? value->toString() : QStringLiteral("<no answer>");
}

// The document's own vertical scroll offset, read in the page (the view's scrollPosition() follows
// it later, and may show a value the page has already left).
inline qreal documentScrollTop(QWebEngineView *view)
{
    return documentText(view, QStringLiteral("(document.scrollingElement||document.body).scrollTop")).toDouble();
}

// The document's scroll offset once the predicate accepts it, or the last one read after a
// generous bound: a loaded machine may take long to lay out and scroll a page.
inline qreal scrollTopWhen(QWebEngineView *view, const std::function<bool(qreal)> &accept, int timeoutMs = 15000)
{
    qreal top = documentScrollTop(view);
    testsupport::waitUntil([&] { return accept(top = documentScrollTop(view)); }, timeoutMs);
    return top;
}

// A left click at a point of the page (CSS pixels at zoom 1), as the user's mouse gives it.
inline void clickInView(QWebEngineView *view, QPoint point)
{
    QWidget *target = view->focusProxy();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(point), target->mapToGlobal(QPointF(point)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
}

// Clicks the first link whose text contains text, after scrolling it into view; false when
// there is none.
inline bool clickLink(QWebEngineView *view, const QString &text)
{
    const QString script = QStringLiteral("(function(t){var a=Array.from(document.querySelectorAll('a'))"
                                          ".filter(function(e){return e.textContent.indexOf(t)>=0;})[0];"
                                          "if(!a)return '';a.scrollIntoView();var r=a.getBoundingClientRect();"
                                          "return [r.left+r.width/2, r.top+r.height/2].join(',');})(%1)")
                               .arg(QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact)).mid(1).chopped(1));
    const QStringList at = documentText(view, script).split(QLatin1Char(','));
    if (at.size() != 2)
        return false;
    clickInView(view, QPoint(qRound(at.at(0).toDouble()), qRound(at.at(1).toDouble())));
    return true;
}

// Clicks the link until done() holds, at most three times: under load the first click may reach
// the page before it can hit-test the freshly scrolled link, and is then lost.
inline bool clickLinkUntil(QWebEngineView *view, const QString &text, const std::function<bool()> &done)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!clickLink(view, text))
            return false;
        if (testsupport::waitUntil(done, 8000))
            return true;
    }
    return false;
}
