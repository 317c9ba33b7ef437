#pragma once
// The cases kharness measures; each returns its figures as a JSON object ("error" on failure).

#include <QJsonObject>
#include <QString>

namespace harness {

// A 1920 x 1080 window showing `comments` comments at once for `seconds` after one second of
// warm-up: labels kept at that count by a feeder, or one marquee page of that many responses
// (written to pageOut as well, when given).
QJsonObject runStripCase(const QString &view, int comments, double seconds, const QString &pageOut);
// Both surfaces shown, nothing moving, the countdown label ticking every second.
QJsonObject runIdleCase(double seconds);
// Fetch to screen over loopback: the dat of the board's top thread fetched `cycles` times, its
// last 30 responses built into the marquee page and shown. home: the program folder (with the
// server's services.ini), or empty for a scratch one.
QJsonObject runFetchCase(const QString &home, const QString &host, const QString &board, int cycles);
// Bytes received on a live thread: two channels follow it, one fetching differentially and one
// whole, `cycles` fetches each, intervalMs apart; the figures are per hour of twelve-second
// re-fetches (the server should post faster by the factor 12 s / intervalMs).
QJsonObject runBytesCase(const QString &host, const QString &board, int cycles, int intervalMs);
// The main window's start-up, as the program runs it, up to the first paint with the live-board
// list filled; t0Ns is CLOCK_MONOTONIC when the parent spawned this process.
QJsonObject runStartupCase(const QString &home, const QString &menuUrl, qint64 t0Ns);

// CLOCK_MONOTONIC in nanoseconds (comparable across processes).
qint64 monotonicNs();

} // namespace harness
