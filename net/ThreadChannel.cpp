#include "net/ThreadChannel.h"

#include "core/ServicesConfig.h"
#include "net/DatConverter.h"
#include "net/ThreadIndex.h"
#include "platform/Cp932.h"
#include "platform/SecureServers.h"

#include <QEventLoop>
#include <QTimer>

ThreadChannel::ThreadChannel(QObject *parent)
    : QObject(parent)
    , WinsockGetThuredIndex(&m_conforming)
    , WinsockGetThread(&m_conforming)
{
    relayProgress(WinsockGetThuredIndex, Socket::Index);
    relayProgress(WinsockGetThread, Socket::Thread);
    connect(&WinsockGetThuredIndex, &RawHttpFetcher::finished, this, &ThreadChannel::WinsockGetThuredIndex_Close);
    connect(&WinsockGetThread, &RawHttpFetcher::finished, this, &ThreadChannel::WinsockGetThread_Close);
}

void ThreadChannel::relayProgress(RawHttpFetcher &winsock, Socket socket)
{
    connect(&winsock, &RawHttpFetcher::connected, this, [this, socket] { emit socketConnected(socket); });
    connect(&winsock, &RawHttpFetcher::dataArrived, this,
            [this, socket](qint64 totalBytes) { emit receiving(socket, totalBytes); });
}

void ThreadChannel::setLabel3Caption(const QString &caption)
{
    if (caption == m_label3)
        return;
    m_label3 = caption;
    emit label3CaptionChanged(caption);
}

bool ThreadChannel::openBoard(const QString &boardAddress)
{
    // Text1 is not emptied here but replaced when the new index arrives, so a failed fetch
    // leaves the previous index in place.
    const QString host = getHostPart(boardAddress);
    m_address.strGetSintyakuFooter = sintyakuFooterForHost(host);
    // An https board: this server is reached over TLS from now on, for every fetch of the run.
    if (boardAddress.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        platform::rememberSecureServer(host, host);
    return SetThreadIndex(host, boardKeyFromAddress(boardAddress, host));
}

bool ThreadChannel::SetThreadIndex(const QString &strSvr, const QString &strBan)
{
    m_address.strSvr = strSvr;
    m_address.strBan = strBan;
    // start() supersedes a fetch still running: its waiter wakes with Superseded.
    if (!WinsockGetThuredIndex.start(strSvr, indexRequestPath(strBan)))
        return false;
    ++m_indexSerial;
    return true;
}

bool ThreadChannel::SetThread(const QString &strSvr, const QString &strBan, const QString &strThreNo)
{
    WinsockGetThread.cancel(FetchFailure::Superseded);
    if (!splitServer(strSvr))
        return false;
    m_address.strSvr = strSvr;
    m_address.strBan = strBan;
    m_address.strThreNo = strThreNo;
    startDatFetch(false);
    ++m_threadSerial;
    return true;
}

void ThreadChannel::startDatFetch(bool whole)
{
    const ThreadAddress &a = m_address;
    m_exchangeFor = QStringList{a.strSvr, a.strBan, a.strThreNo};
    const bool held = !whole && m_heldFor == m_exchangeFor;
    m_exchange = DatExchange(held ? m_held : HeldDat(), services().differential);
    WinsockGetThread.start(a.strSvr, datRequestPath(a.strBan, a.strThreNo), m_exchange.requestLines(),
                           {200, 206, 304, 416});
}

quint64 ThreadChannel::fetchSerial(Socket socket) const
{
    return socket == Socket::Index ? m_indexSerial : m_threadSerial;
}

FetchResult ThreadChannel::waitForFetch(Socket socket, quint64 serial)
{
    const Ended &ended = socket == Socket::Index ? m_indexEnded : m_threadEnded;
    if (ended.serial >= serial)
        return ended.serial == serial ? ended.result : FetchResult::failed(FetchFailure::Superseded);

    std::optional<FetchResult> outcome;
    QEventLoop loop;
    const QMetaObject::Connection connection = connect(
        this, &ThreadChannel::fetchFinished, &loop,
        [&](Socket which, quint64 finishedSerial, const FetchResult &result) {
            if (which == socket && finishedSerial == serial) {
                outcome = result;
                loop.quit();
            }
        });
    // The fetcher bounds every attempt; this guard only covers a retry on top of a slow first
    // attempt, and anything that would otherwise keep the caller waiting for ever.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start((2 * services().timeoutSeconds + 1) * 1000);
    loop.exec();
    disconnect(connection);

    if (outcome)
        return *outcome;
    // Guard fired: end the fetch if it is still this one, so its late reply cannot land.
    RawHttpFetcher &fetcher = socket == Socket::Index ? WinsockGetThuredIndex : WinsockGetThread;
    if (fetchSerial(socket) == serial)
        fetcher.cancel(FetchFailure::TimedOut);
    return FetchResult::failed(FetchFailure::TimedOut);
}

FetchResult ThreadChannel::openBoardAndWait(const QString &boardAddress)
{
    intIndexArrived = 0;
    if (!openBoard(boardAddress))
        return FetchResult::failed(FetchFailure::InvalidServer, m_address.strSvr);
    return waitForFetch(Socket::Index, m_indexSerial);
}

FetchResult ThreadChannel::fetchThreadAndWait(const QString &strSvr, const QString &strBan,
                                              const QString &strThreNo)
{
    intDatArrived = 0;
    if (!SetThread(strSvr, strBan, strThreNo))
        return FetchResult::failed(FetchFailure::InvalidServer, strSvr);
    return waitForFetch(Socket::Thread, m_threadSerial);
}

void ThreadChannel::WinsockGetThuredIndex_Close(const FetchResult &result)
{
    // Taken before indexArrived: a receiver may start the next fetch.
    const quint64 serial = m_indexSerial;
    if (result.ok()) {
        m_text1 = normaliseIndexLineEnds(result.text);
        emit indexArrived(m_text1);
        intIndexArrived = 1;
    }
    endFetch(Socket::Index, serial, result);
}

void ThreadChannel::WinsockGetThread_Close(const FetchResult &result)
{
    const quint64 serial = m_threadSerial;
    std::optional<FetchResult> outcome = result;
    if (result.ok())
        outcome = applyDatReply(result);
    if (!outcome)
        return; // the whole dat is on its way; its close ends this fetch
    endFetch(Socket::Thread, serial, *outcome);
}

void ThreadChannel::endFetch(Socket socket, quint64 serial, const FetchResult &outcome)
{
    if (!outcome.ok())
        emit fetchFailed(socket, outcome);
    (socket == Socket::Index ? m_indexEnded : m_threadEnded) = {serial, outcome};
    emit fetchFinished(socket, serial, outcome);
}

std::optional<FetchResult> ThreadChannel::applyDatReply(const FetchResult &result)
{
    const DatExchange::Outcome reply = m_exchange.judge(result.raw);
    switch (reply.verdict) {
    case DatExchange::Verdict::Failed:
        return reply.result;
    case DatExchange::Verdict::FetchWhole:
        startDatFetch(true);
        return std::nullopt;
    case DatExchange::Verdict::Unchanged:
        // Only a differential fetch can bring nothing new, and only for the thread held.
        m_held = reply.held;
        intDatArrived = 1;
        return reply.result;
    case DatExchange::Verdict::Replace:
    case DatExchange::Verdict::Append:
        break;
    }
    // Decoded whole, once, as a whole fetch's reply is: a character split between two arrivals
    // or between two fetches is never broken. A body without a single dat line (an empty 200)
    // is no thread: keep the record shown.
    ResponseRecord record = convertDatBody(platform::decodeCp932(reply.held.body));
    if (record.upperBound() <= 0)
        return FetchResult::failed(FetchFailure::NoResponses, QString(), reply.result.httpStatus);
    m_record = std::move(record);
    m_held = reply.held;
    m_heldFor = m_exchangeFor;
    intDatArrived = 1;
    emit datConverted();
    return reply.result;
}
