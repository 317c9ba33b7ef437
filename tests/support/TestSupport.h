#pragma once
// Helpers shared by the tests: a throw-away program folder, recorded message boxes, fixture
// files and waiting on the event loop.

#include "platform/MessageService.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>

namespace testsupport {

// Points the program folder at a fresh temporary folder for the lifetime of the object.
class TempProgramFolder
{
public:
    TempProgramFolder();
    ~TempProgramFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// Installs a ScriptedMessageService for the lifetime of the object.
class RecordedMessages
{
public:
    RecordedMessages();
    ~RecordedMessages();
    platform::ScriptedMessageService &service() { return m_service; }
    const QStringList &shown() const { return m_service.shown(); }

private:
    platform::ScriptedMessageService m_service;
};

// Bytes of a file under tests/fixtures (for example "real/shiwano2ch__subject.txt").
QByteArray fixtureBytes(const QString &relativePath);
QString fixturePath(const QString &relativePath);

// Runs the event loop until the predicate holds or the time is up; returns the predicate. The
// default bound is generous: a test waits for its condition, and a machine running the suite
// two at a time beside other work may take seconds for what takes milliseconds alone. (A test
// that checks that something does not happen passes its own, short, bound.)
bool waitUntil(const std::function<bool()> &predicate, int timeoutMs = 20000);

// Writes raw bytes to a file (creating folders).
void writeBytes(const QString &path, const QByteArray &bytes);
QByteArray readBytes(const QString &path);

} // namespace testsupport
