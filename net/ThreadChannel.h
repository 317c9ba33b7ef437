#pragma once
// The main window's thread state and its two sockets: the thread address, the current thread
// page address (Label3's caption), the response record, the arrival flags, the index receive
// buffer (Text1) and the thread receive buffer.
//
// A fetch changes state only when it succeeds: a failed or superseded fetch leaves the address
// already stored, but the record, Text1 and the receive buffers as they were before it.
// Opening a board while the index socket is still busy ends the earlier fetch as Superseded
// (its waiter wakes with that failure) and starts the new one.
//
// Signals are emitted from socket events, so they run inside whichever wait pumps events.

#include "net/FetchResult.h"
#include "net/RawHttp.h"
#include "net/RawHttpFetcher.h"
#include "net/ResponseRecord.h"
#include "net/ThreadAddress.h"

#include <QObject>
#include <QString>
#include <optional>

class ThreadChannel : public QObject
{
    Q_OBJECT
public:
    enum class Socket { Index, Thread };
    Q_ENUM(Socket)

    explicit ThreadChannel(QObject *parent = nullptr);

    // SetThread's message when the thread socket cannot be asked to connect.
    static QString connectFailedMessage();

    const ThreadAddress &address() const { return m_address; }
    void setThreadNumber(const QString &strThreNo) { m_address.strThreNo = strThreNo; }

    // Label3's caption: the current thread page address.
    QString label3Caption() const { return m_label3; }
    void setLabel3Caption(const QString &caption);

    const ResponseRecord &record() const { return m_record; }
    // The record after Stop: a single empty element in each array.
    void resetRecordAfterStop() { m_record.resetToSingleEmpty(); }

    // The last index reply, line ends normalised to CR LF.
    QString Text1() const { return m_text1; }
    // Bytes of the dat reply received so far (empty between fetches).
    QByteArray threadReceiveBuffer() const { return WinsockGetThread.received(); }
    QByteArray indexReceiveBuffer() const { return WinsockGetThuredIndex.received(); }

    // Set to 1 when a dat was converted / an index arrived; callers clear them before a fetch.
    qint16 intDatArrived = 0;
    qint16 intIndexArrived = 0;

    // Takes host and board key from a board address, sets the suffix, and starts the index fetch.
    // False when the connection cannot even be attempted.
    bool openBoard(const QString &boardAddress);
    // Stores the server and board, then starts the index fetch. A busy index fetch is superseded.
    // False (nothing shown) when the server cannot be connected to.
    bool SetThreadIndex(const QString &strSvr, const QString &strBan);
    // Closes the thread socket, stores the three values and starts the dat fetch. When the
    // connection cannot be attempted, shows connectFailedMessage(), keeps the values stored
    // before, and returns false.
    bool SetThread(const QString &strSvr, const QString &strBan, const QString &strThreNo);

    // Serial of the latest fetch started on a socket (0 before the first).
    quint64 fetchSerial(Socket socket) const;
    // Waits, with window events running, until fetch `serial` of `socket` has ended, and returns
    // how it ended. Bounded by the fetcher's time-out (plus a margin, in case a retry runs).
    FetchResult waitForFetch(Socket socket, quint64 serial);

    // openBoard / SetThread followed by the wait: what the board openers, Start and the re-fetch
    // tick use. intIndexArrived / intDatArrived are cleared first.
    FetchResult openBoardAndWait(const QString &boardAddress);
    FetchResult fetchThreadAndWait(const QString &strSvr, const QString &strBan, const QString &strThreNo);

    // Servers known to need the conforming request (shared by both sockets).
    const ConformingServers &conformingServers() const { return m_conforming; }

signals:
    void label3CaptionChanged(const QString &caption);
    // A socket connected (its request is sent) / received more bytes of its reply.
    void socketConnected(ThreadChannel::Socket socket);
    void receiving(ThreadChannel::Socket socket, qint64 totalBytes);
    // The index reply arrived; Text1 holds it normalised. List it here: the waiter wakes after.
    void indexArrived(const QString &normalisedText);
    // The record was replaced by a new conversion.
    void datConverted();
    // A fetch failed; record, Text1 and buffers are unchanged.
    void fetchFailed(ThreadChannel::Socket socket, const FetchResult &result);
    // Every fetch ends with exactly one of these, after the signals above.
    void fetchFinished(ThreadChannel::Socket socket, quint64 serial, const FetchResult &result);

private:
    void WinsockGetThuredIndex_Connect();
    void WinsockGetThuredIndex_DataArrival(qint64 totalBytes);
    void WinsockGetThuredIndex_Close(const FetchResult &result);
    void WinsockGetThread_Connect();
    void WinsockGetThread_DataArrival(qint64 totalBytes);
    void WinsockGetThread_Close(const FetchResult &result);

    struct Ended
    {
        quint64 serial = 0;
        FetchResult result;
    };

    ConformingServers m_conforming;
    RawHttpFetcher WinsockGetThuredIndex;
    RawHttpFetcher WinsockGetThread;
    ThreadAddress m_address;
    QString m_label3;
    ResponseRecord m_record;
    QString m_text1;
    quint64 m_indexSerial = 0;
    quint64 m_threadSerial = 0;
    Ended m_indexEnded;
    Ended m_threadEnded;
};
