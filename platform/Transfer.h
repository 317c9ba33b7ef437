#pragma once
// Page fetching for the board menu, web-mode thread pages and pages stored as files. One
// request at a time, like the transfer control it stands in for: a new request cancels the one
// in progress (which then ends as cancelled). Each call waits in a local event loop, so window
// events (and re-entry) happen during it, bounded by the given time-out.
//
// The busy pointer is the caller's business: these run without windows.

#include <QByteArray>
#include <QString>

namespace platform {

struct TransferResult
{
    enum class Status { Ok, Failed, HttpError, TimedOut, Cancelled, FileError };
    Status status = Status::Failed;
    int httpStatus = 0;   // when a reply was read
    QByteArray bytes;     // the page (Ok only)
    QString errorText;

    bool ok() const { return status == Status::Ok; }
};

// The page at address as bytes. Only 2xx replies succeed; redirects are followed.
TransferResult fetchBytes(const QString &address, int timeoutSeconds);

struct PageText
{
    TransferResult transfer;
    QString text; // the page decoded from CP932 (empty unless transfer.ok())
    bool ok() const { return transfer.ok(); }
};
PageText OpenURL(const QString &address, int timeoutSeconds);

// Stores the page at address in programFolder()/fileName, replacing (truncating) the file. On
// any failure the file is left as it was.
TransferResult downloadToFile(const QString &address, const QString &fileName, int timeoutSeconds);

} // namespace platform
