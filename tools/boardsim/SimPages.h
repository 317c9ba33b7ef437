#pragma once
// The pages and files the simulated board serves, as text (the server encodes them in CP932).
// Line ends are LF, as the service writes them.

#include "BoardWorld.h"

#include <QString>

namespace simpages {

QString boardMenu(const BoardWorld &world);
QString subjectText(const SimBoard &board);
QString subback(const BoardWorld &world, const SimBoard &board);
// The read.cgi page of a thread showing the responses the range selects.
QString readCgi(const BoardWorld &world, const SimBoard &board, const SimThread &thread, const QString &range);
// The page the service answers instead of read.cgi when the server is overloaded.
QString overloaded(const BoardWorld &world, const SimBoard &board);
QString tvGraph(const BoardWorld &world, qint64 nowMs);
QString rootPage(const BoardWorld &world);
QString errorPage(int status, const QString &reason);

// A dat body as read.cgi shows it: addresses become links (images and outside pages through the
// redirector, thread pages directly).
QString linkBody(const BoardWorld &world, const QString &body);

} // namespace simpages
