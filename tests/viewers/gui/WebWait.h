#pragma once
// Reading a browser control's document from a test: our script runs in the application world
// (the page's own scripts may be off) and the test waits for its answer.

#include "TestSupport.h"
#include "viewers/gui/BrowserView.h"

#include <QWebEnginePage>
#include <QWebEngineView>
#include <optional>

inline std::optional<QVariant> evalInView(QWebEngineView *view, const QString &script, int timeoutMs = 10000)
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

// The view's vertical scroll position once it has settled at a value the predicate accepts.
inline qreal settledScrollY(QWebEngineView *view, const std::function<bool(qreal)> &accept, int timeoutMs = 5000)
{
    testsupport::waitUntil([&] { return accept(view->page()->scrollPosition().y()); }, timeoutMs);
    return view->page()->scrollPosition().y();
}
