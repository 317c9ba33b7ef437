#include "BoardWorld.h"

#include "platform/Cp932.h"

#include <QtMath>
#include <algorithm>
#include <limits>

namespace {

constexpr qint64 kNever = std::numeric_limits<qint64>::max();

// The moment `interval` after `at`; "never" stays never instead of wrapping round.
qint64 dueAfter(qint64 at, qint64 interval)
{
    return interval >= kNever - at ? kNever : at + interval;
}

quint32 mixSeed(quint32 seed, int boardIndex, int ordinal, quint32 salt)
{
    quint64 x = (quint64(seed) << 32) ^ (quint64(boardIndex) * 0x9E3779B1u) ^ (quint64(ordinal) * 0x85EBCA77u) ^ salt;
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return quint32(x);
}

const QStringList &staticTitles()
{
    static const QStringList titles = {
        QStringLiteral("今期のドラマを語るスレ"), QStringLiteral("【雑談】なんでも話すスレ Part5"),
        QStringLiteral("ドラマ(2)を語るスレ"), QStringLiteral("録画の失敗を報告するスレ"),
        QStringLiteral("【速報】新番組の発表まとめ"), QStringLiteral("昔の番組を懐かしむスレ"),
        QStringLiteral("ＢＳの番組表を眺めるスレ"), QStringLiteral("【質問】初心者用スレッド"),
        QStringLiteral("好きな主題歌を挙げていくスレ"), QStringLiteral("深夜アニメ総合 ★12"),
    };
    return titles;
}

} // namespace

QString SimHosts::address(SimHost host)
{
    switch (host) {
    case SimHost::Main: return QStringLiteral("127.0.0.1");
    case SimHost::OutsideA: return QStringLiteral("127.0.0.2");
    case SimHost::OutsideB: return QStringLiteral("127.0.0.3");
    case SimHost::Redirector: return QStringLiteral("127.0.0.4");
    case SimHost::Images: return QString();
    }
    return QString();
}

QString datLine(const SimResponse &response, const QString &title)
{
    return response.name + QStringLiteral("<>") + response.mail + QStringLiteral("<>") + response.dateField
        + QStringLiteral("<>") + response.body + QStringLiteral("<>") + title;
}

void SimThread::append(const SimResponse &response, qint64 atMs)
{
    dat += platform::encodeCp932(datLine(response, responses.isEmpty() ? title : QString()) + QLatin1Char('\n'));
    responses << response;
    postedMs << atMs;
    lastActivityMs = atMs;
    modifiedMs = atMs;
}

void SimThread::rewriteAsDeleted(int i, qint64 atMs)
{
    const QString gone = QStringLiteral("あぼーん");
    SimResponse &r = responses[i];
    r.name = r.mail = r.dateField = r.body = gone;
    dat.clear();
    for (int k = 0; k < count(); ++k)
        dat += platform::encodeCp932(datLine(responses.at(k), k == 0 ? title : QString()) + QLatin1Char('\n'));
    modifiedMs = atMs;
}

QList<const SimThread *> SimBoard::byActivity() const
{
    QList<const SimThread *> list;
    for (const SimThread &thread : threads)
        list << &thread;
    std::stable_sort(list.begin(), list.end(), [](const SimThread *a, const SimThread *b) {
        if (a->lastActivityMs != b->lastActivityMs)
            return a->lastActivityMs > b->lastActivityMs;
        return a->key > b->key;
    });
    return list;
}

const SimThread *SimBoard::thread(qint64 key) const
{
    for (const SimThread &thread : threads) {
        if (thread.key == key)
            return &thread;
    }
    return nullptr;
}

QStringList BoardWorld::liveLabels()
{
    return {QStringLiteral("livenhk"), QStringLiteral("livetv"), QStringLiteral("livesports")};
}

BoardWorld::BoardWorld(const Settings &settings)
    : m_settings(settings)
{
    m_hosts.port = settings.port;
    m_hosts.imageHost = settings.imageHost;
    m_categories = {QStringLiteral("実況ch"), QStringLiteral("外部実況"), QStringLiteral("ニュース"),
                    QStringLiteral("テレビ・アニメ")};

    auto board = [](const char *key, const QString &name, SimHost host, int category, const QString &defaultName,
                    const QString &linkForm, QStringList programmes = {}) {
        SimBoard b;
        b.key = QString::fromLatin1(key);
        b.name = name;
        b.host = host;
        b.category = category;
        b.defaultName = defaultName;
        b.linkForm = linkForm;
        b.programmes = programmes;
        b.live = !programmes.isEmpty();
        return b;
    };
    const QString classic = QStringLiteral("classic");
    addBoard(board("livenhk", QStringLiteral("番組ch(NHK)"), SimHost::Main, 0, QStringLiteral("名無しさん＠実況で"), classic,
                   {QStringLiteral("ニュース７"), QStringLiteral("大河ドラマ"), QStringLiteral("のど自慢")}));
    addBoard(board("livetv", QStringLiteral("番組ch(民放)"), SimHost::Main, 0, QStringLiteral("名無しでいいとも！"), classic,
                   {QStringLiteral("金曜ロードショー"), QStringLiteral("朝の情報番組"), QStringLiteral("クイズ番組")}));
    addBoard(board("livetvanime", QStringLiteral("アニメ特撮実況"), SimHost::Main, 0, QStringLiteral("風の谷の名無しさん"),
                   QStringLiteral("lower"), {QStringLiteral("日曜朝アニメ"), QStringLiteral("深夜アニメ")}));
    addBoard(board("livesports", QStringLiteral("スポーツ実況"), SimHost::Main, 0, QStringLiteral("名無しさん＠実況"), classic,
                   {QStringLiteral("サッカー代表戦"), QStringLiteral("マラソン中継")}));
    addBoard(board("livesportsbase", QStringLiteral("野球ch"), SimHost::Main, 0, QStringLiteral("代打名無し"), classic,
                   {QStringLiteral("プロ野球ナイター"), QStringLiteral("高校野球")}));
    addBoard(board("jikkyo", QStringLiteral("外部実況Ａ"), SimHost::OutsideA, 1, QStringLiteral("名無しさん"), classic,
                   {QStringLiteral("ニュース番組"), QStringLiteral("歌番組")}));
    addBoard(board("jk", QStringLiteral("外部実況Ｂ"), SimHost::OutsideB, 1, QStringLiteral("名無しさん"), classic,
                   {QStringLiteral("お笑い番組"), QStringLiteral("天気予報")}));
    addBoard(board("news", QStringLiteral("速報ニュース"), SimHost::Main, 2, QStringLiteral("名無しさん"), QStringLiteral("spaced")));
    addBoard(board("mnewsplus", QStringLiteral("芸能速報"), SimHost::Main, 2, QStringLiteral("名無しさん＠恐縮です"),
                   QStringLiteral("quoted")));
    addBoard(board("tvd", QStringLiteral("ドラマ"), SimHost::Main, 3, QStringLiteral("名無しさん＠お腹いっぱい。"),
                   QStringLiteral("lowerspaced")));
    addBoard(board("anime", QStringLiteral("アニメ"), SimHost::Main, 3, QStringLiteral("風の谷の名無しさん"), classic));
    addBoard(board("heavy", QStringLiteral("重い板"), SimHost::Main, 3, QStringLiteral("名無しさん"), classic));

    for (size_t i = 0; i < m_boards.size(); ++i) {
        SimBoard &b = m_boards[i];
        b.overloaded = b.key == QLatin1String("heavy") || settings.overloadedBoards.contains(b.key);
        if (b.live)
            fillLiveBoard(b, int(i));
        else
            fillStaticBoard(b, int(i));
    }
}

void BoardWorld::addBoard(SimBoard board)
{
    m_boards.push_back(std::move(board));
}

const SimBoard *BoardWorld::board(SimHost host, const QString &key) const
{
    for (const SimBoard &b : m_boards) {
        if (b.host == host && b.key == key)
            return &b;
    }
    return nullptr;
}

QString BoardWorld::readCgiBase(const SimBoard &board) const
{
    return QStringLiteral("http://") + m_hosts.hostPort(board.host) + QStringLiteral("/test/read.cgi/") + board.key
        + QLatin1Char('/');
}

SimThread BoardWorld::makeThread(const SimBoard &, int boardIndex, int ordinal) const
{
    SimThread thread;
    thread.chatter = std::make_unique<Chatter>(mixSeed(m_settings.seed, boardIndex, ordinal, 0x51u));
    thread.timing = std::make_unique<QRandomGenerator>(mixSeed(m_settings.seed, boardIndex, ordinal, 0x7Au));
    return thread;
}

ChatterPlace BoardWorld::placeOf(const SimBoard &board, const SimThread &thread, const QString &previousUrl) const
{
    ChatterPlace place;
    place.boardKey = board.key;
    place.threadKey = thread.key;
    place.defaultName = board.defaultName;
    place.programme = board.programmes.isEmpty() ? thread.title : board.programmes.first();
    place.imageBase = m_hosts.imageBase();
    place.tvPage = m_hosts.tvPageUrl();
    place.previousThreadUrl = previousUrl;
    return place;
}

qint64 BoardWorld::nextInterval(SimThread &thread) const
{
    if (m_settings.rate <= 0)
        return kNever;
    // Exponential gaps: posts come in bursts and lulls around the mean rate.
    const double u = thread.timing->generateDouble();
    const double seconds = -std::log(1.0 - u) / m_settings.rate;
    return qMax<qint64>(1, qint64(seconds * 1000.0));
}

void BoardWorld::fillStaticBoard(SimBoard &board, int boardIndex)
{
    const int threadCount = 8;
    for (int ordinal = 0; ordinal < threadCount; ++ordinal) {
        SimThread thread = makeThread(board, boardIndex, ordinal);
        thread.title = staticTitles().at((boardIndex + ordinal) % staticTitles().size());
        const int count = ordinal == 3 ? 1001 : 5 + int(thread.timing->bounded(300));
        QList<qint64> gaps;
        qint64 total = 0;
        for (int n = 1; n < qMin(count, 1000); ++n) {
            gaps << 5000 + qint64(thread.timing->bounded(240000));
            total += gaps.last();
        }
        const qint64 firstMs = m_settings.startMs - total - 60000 - qint64(thread.timing->bounded(3 * 86400)) * 1000;
        thread.key = firstMs / 1000;
        while (board.thread(thread.key))
            ++thread.key;
        const ChatterPlace place = placeOf(board, thread, QString());
        qint64 at = firstMs;
        for (int n = 1; n <= qMin(count, 1000); ++n) {
            if (n > 1)
                at += gaps.at(n - 2);
            thread.append(thread.chatter->write(place, n, at), at);
        }
        if (count > 1000)
            thread.append(Chatter::closingResponse(), at);
        board.threads.push_back(std::move(thread));
    }
}

void BoardWorld::fillLiveBoard(SimBoard &board, int boardIndex)
{
    // Ordinal 0: the running thread; 1: its finished previous part; 2 and up: quieter threads.
    SimThread live = makeThread(board, boardIndex, 0);
    live.part = 3 + int(live.timing->bounded(20));
    live.title = QStringLiteral("【実況】%1 Part%2").arg(board.programmes.first()).arg(live.part);
    const double meanGap = m_settings.rate > 0 ? qBound(0.2, 1.0 / m_settings.rate, 20.0) : 2.0;
    QList<qint64> gaps;
    qint64 total = 0;
    for (int n = 1; n < m_settings.startCount; ++n) {
        const double u = live.timing->generateDouble();
        gaps << qMax<qint64>(1, qint64(-std::log(1.0 - u) * meanGap * 1000.0));
        total += gaps.last();
    }
    const qint64 liveFirstMs = m_settings.startMs - total - 1000;
    live.key = liveFirstMs / 1000;

    SimThread previous = makeThread(board, boardIndex, 1);
    previous.part = live.part - 1;
    previous.title = QStringLiteral("【実況】%1 Part%2").arg(board.programmes.first()).arg(previous.part);
    QList<qint64> previousGaps;
    qint64 previousTotal = 0;
    for (int n = 1; n < 1000; ++n) {
        previousGaps << 500 + qint64(previous.timing->bounded(5000));
        previousTotal += previousGaps.last();
    }
    const qint64 previousFirstMs = liveFirstMs - 30000 - previousTotal;
    previous.key = previousFirstMs / 1000;
    {
        const ChatterPlace place = placeOf(board, previous, QString());
        qint64 at = previousFirstMs;
        for (int n = 1; n <= 1000; ++n) {
            if (n > 1)
                at += previousGaps.at(n - 2);
            previous.append(previous.chatter->write(place, n, at), at);
        }
        previous.append(Chatter::closingResponse(), at);
    }

    const ChatterPlace livePlace =
        placeOf(board, live, readCgiBase(board) + QString::number(previous.key) + QLatin1Char('/'));
    qint64 at = liveFirstMs;
    for (int n = 1; n <= m_settings.startCount; ++n) {
        if (n > 1)
            at += gaps.at(n - 2);
        live.append(live.chatter->write(livePlace, n, at), at);
    }
    live.live = true;
    live.nextDueMs = m_settings.startCount >= 1000 ? m_settings.startMs : dueAfter(m_settings.startMs, nextInterval(live));

    board.threads.push_back(std::move(live));
    board.threads.push_back(std::move(previous));

    for (int ordinal = 2; ordinal < 5; ++ordinal) {
        SimThread quiet = makeThread(board, boardIndex, ordinal);
        const QString programme = board.programmes.at(ordinal % board.programmes.size());
        quiet.title = QStringLiteral("【実況】%1 Part%2").arg(programme).arg(1 + ordinal);
        const int count = 20 + int(quiet.timing->bounded(200));
        const qint64 firstMs = m_settings.startMs - qint64(1 + ordinal) * 86400 * 1000
            - qint64(quiet.timing->bounded(3600)) * 1000;
        quiet.key = firstMs / 1000;
        const ChatterPlace place = placeOf(board, quiet, QString());
        qint64 t = firstMs;
        for (int n = 1; n <= count; ++n) {
            t += 1000 + qint64(quiet.timing->bounded(20000));
            quiet.append(quiet.chatter->write(place, n, t), t);
        }
        board.threads.push_back(std::move(quiet));
    }
}

void BoardWorld::post(SimBoard &board, int boardIndex, size_t threadIndex, qint64 atMs)
{
    SimThread &thread = board.threads[threadIndex];
    if (thread.count() < 1000) {
        const ChatterPlace place = placeOf(board, thread, QString());
        thread.append(thread.chatter->write(place, thread.count() + 1, atMs), atMs);
        thread.nextDueMs = dueAfter(atMs, nextInterval(thread));
        // Now and then an earlier response is deleted (never the first, which holds the title).
        if (m_settings.aboneRate > 0 && thread.count() > 2 && thread.timing->generateDouble() < m_settings.aboneRate)
            thread.rewriteAsDeleted(1 + int(thread.timing->bounded(thread.count() - 2)), atMs);
    }
    if (thread.count() < 1000)
        return;

    // Full: the closing response, then the next part opens and takes over the live posting.
    thread.append(Chatter::closingResponse(), atMs);
    thread.live = false;
    board.nextPreviousUrl = readCgiBase(board) + QString::number(thread.key) + QLatin1Char('/');
    board.nextPart = thread.part + 1;
    board.nextOpensMs = atMs + m_settings.nextDelayMs;
    if (m_settings.nextDelayMs <= 0)
        openNext(board, boardIndex, atMs);
}

void BoardWorld::openNext(SimBoard &board, int boardIndex, qint64 atMs)
{
    SimThread next = makeThread(board, boardIndex, int(board.threads.size()));
    next.key = atMs / 1000;
    for (const SimThread &other : board.threads)
        next.key = qMax(next.key, other.key + (other.key >= next.key ? 1 : 0));
    next.part = board.nextPart;
    next.title = QStringLiteral("【実況】%1 Part%2").arg(board.programmes.first()).arg(next.part);
    next.append(next.chatter->write(placeOf(board, next, board.nextPreviousUrl), 1, atMs), atMs);
    next.live = true;
    next.nextDueMs = dueAfter(atMs, nextInterval(next));
    board.threads.push_back(std::move(next)); // references into threads dangle from here on
    board.nextOpensMs = -1;
}

void BoardWorld::advanceTo(qint64 nowMs)
{
    for (size_t b = 0; b < m_boards.size(); ++b) {
        SimBoard &board = m_boards[b];
        for (;;) {
            size_t due = board.threads.size();
            for (size_t t = 0; t < board.threads.size(); ++t) {
                if (board.threads[t].live && board.threads[t].nextDueMs <= nowMs) {
                    due = t;
                    break;
                }
            }
            if (due == board.threads.size()) {
                if (board.nextOpensMs < 0 || board.nextOpensMs > nowMs)
                    break;
                openNext(board, int(b), board.nextOpensMs);
                continue;
            }
            post(board, int(b), due, board.threads[due].nextDueMs);
        }
    }
}

int BoardWorld::postsInLastMinute(const SimBoard &board, qint64 nowMs) const
{
    int count = 0;
    for (const SimThread &thread : board.threads) {
        for (qsizetype i = thread.postedMs.size() - 1; i >= 0; --i) {
            const qint64 at = thread.postedMs.at(i);
            if (at <= nowMs - 60000)
                break;
            if (at <= nowMs)
                ++count;
        }
    }
    return count;
}
