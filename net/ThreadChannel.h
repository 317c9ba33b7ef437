#pragma once
// The main window's thread state and its two sockets: the thread address, the current thread
// page address (Label3's caption), the response record, the arrival flags, the index receive
// buffer (Text1) and the thread receive buffer.
//
// A fetch changes state only when it succeeds: a failed or superseded fetch leaves the address
// already stored, but the record, Text1 and the receive buffers as they were before it.
//
// The dat's raw bytes are held between fetches of the same thread, so a later fetch asks only
// for what is new (net/DatExchange.h; services.ini network/differential). A reply showing that
// the bytes held went stale starts the whole fetch at once, within the same fetch serial. The
// record is converted from the whole of the bytes held after every change, so it is the record
// a whole fetch gives. A fetch that brings nothing new succeeds with nothingNew set and leaves
// the record as it was.
// Opening a board while the index socket is still busy ends the earlier fetch as Superseded
// (its waiter wakes with that failure) and starts the new one.
//
// Signals are emitted from socket events, so they run inside whichever wait pumps events.

#include "net/DatExchange.h"
#include "net/FetchResult.h"
#include "net/RawHttp.h"
#include "net/RawHttpFetcher.h"
#include "net/ResponseRecord.h"
#include "net/ThreadAddress.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class ThreadChannel : public QObject
{
    Q_OBJECT
public:
    enum class Socket { Index, Thread };
    Q_ENUM(Socket)

    explicit ThreadChannel(QObject *parent = nullptr);

    const ThreadAddress &address() const { return m_address; }
    void setThreadNumber(const QString &strThreNo) { m_address.strThreNo = strThreNo; }

    // Label3's caption: the current thread page address.
    QString label3Caption() const { return m_label3; }
    void setLabel3Caption(const QString &caption);

    const ResponseRecord &record() const { return m_record; }
    // The record after Stop: a single empty element in each array. The dat bytes held go too, so
    // the next Start fetches the whole dat with the exact request.
    void resetRecordAfterStop()
    {
        m_record.resetToSingleEmpty();
        m_held = {};
    }

    // The last index reply, line ends normalised to CR LF.
    QString Text1() const { return m_text1; }
    // Bytes of the dat reply received so far (empty between fetches).
    QByteArray threadReceiveBuffer() const { return WinsockGetThread.received(); }

    // Set to 1 when a dat fetch succeeded (converted, or nothing new) / an index arrived; callers
    // clear them before a fetch.
    qint16 intDatArrived = 0;
    qint16 intIndexArrived = 0;

    // Takes host and board key from a board address, sets the suffix, and starts the index fetch.
    // False when the connection cannot even be attempted.
    bool openBoard(const QString &boardAddress);
    // Stores the server and board, then starts the index fetch. A busy index fetch is superseded.
    // False (nothing shown) when the server cannot be connected to.
    bool SetThreadIndex(const QString &strSvr, const QString &strBan);
    // Closes the thread socket, stores the three values and starts the dat fetch. When the
    // connection cannot be attempted, keeps the values stored before and returns false (nothing
    // is shown: fetchThreadAndWait reports it as InvalidServer, and the caller decides).
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
    // The socket's connect and data arrival, as socketConnected and receiving for that socket.
    void relayProgress(RawHttpFetcher &winsock, Socket socket);
    void WinsockGetThuredIndex_Close(const FetchResult &result);
    void WinsockGetThread_Close(const FetchResult &result);
    // Starts the dat fetch of the stored address: differential when its bytes are held.
    void startDatFetch(bool whole);
    // What a successful dat reply means for the bytes held; the result the fetch ends with, or
    // nullopt when the whole dat is being fetched again.
    std::optional<FetchResult> applyDatReply(const FetchResult &result);
    // Records how the fetch of serial ended and tells the receivers (a failure first).
    void endFetch(Socket socket, quint64 serial, const FetchResult &outcome);

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
    // The dat bytes held, of the thread m_heldFor names (strSvr, strBan, strThreNo).
    HeldDat m_held;
    QStringList m_heldFor;
    // The exchange of the dat fetch in flight, and the thread it fetches (the address may be
    // changed by setThreadNumber while it runs).
    DatExchange m_exchange{HeldDat(), false};
    QStringList m_exchangeFor;
    QString m_text1;
    quint64 m_indexSerial = 0;
    quint64 m_threadSerial = 0;
    Ended m_indexEnded;
    Ended m_threadEnded;
};
