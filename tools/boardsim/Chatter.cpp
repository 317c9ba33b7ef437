#include "Chatter.h"

#include "SimTime.h"

namespace {

const QStringList &cheers()
{
    static const QStringList items = {
        QStringLiteral("ｗｗｗｗｗ"), QStringLiteral("わろた"), QStringLiteral("草"),
        QStringLiteral("うおおおおお"), QStringLiteral("きたああああ"), QStringLiteral("おいおい"),
        QStringLiteral("今北産業"), QStringLiteral("かわいい"), QStringLiteral("これはひどい"),
        QStringLiteral("乙"), QStringLiteral("なんだこれ"), QStringLiteral("ＣＭ"),
        QStringLiteral("ＣＭ長すぎ"), QStringLiteral("提供読み"), QStringLiteral("いいぞー"),
        QStringLiteral("ｗ"), QStringLiteral("あー"), QStringLiteral("やったー！"),
        QStringLiteral("ほう"), QStringLiteral("始まった"), QStringLiteral("ｇｄｇｄ"),
        QStringLiteral("（´・ω・｀）"), QStringLiteral("(*´∀｀)ｶﾜｲｲ"), QStringLiteral("ｵﾜﾀ"),
    };
    return items;
}

const QStringList &keywordResponses()
{
    static const QStringList items = {
        QStringLiteral("ｷﾀ━━━━(ﾟ∀ﾟ)━━━━!!"), QStringLiteral("ｷﾀ━━━━━━(ﾟ∀ﾟ)━━━━━━ !!!!!"),
        QStringLiteral("キター"), QStringLiteral("キターーーー"), QStringLiteral("ｷﾀﾜｧ"),
        QStringLiteral("ｷﾀ"), QStringLiteral("ﾊｧﾊｧ"), QStringLiteral("ﾊｧﾊｧ(;´Д`)ﾊｧﾊｧ"),
        QStringLiteral("アッー！"), QStringLiteral("ウホッ！いい男"),
    };
    return items;
}

const QStringList &remarks()
{
    static const QStringList items = {
        QStringLiteral("この展開は予想できなかった"), QStringLiteral("今日のゲスト豪華だな"),
        QStringLiteral("音ずれてない？"), QStringLiteral("字幕の誤字ひどいな"),
        QStringLiteral("来週どうなるんだよこれ"), QStringLiteral("この曲いいな"),
        QStringLiteral("解説の人の声好き"), QStringLiteral("セットがしょぼくなった気がする"),
        QStringLiteral("録画してて良かった"), QStringLiteral("地方民だけど映ってる"),
        QStringLiteral("延長しないよな？"), QStringLiteral("まだ三十分もあるのか"),
    };
    return items;
}

const QStringList &replies()
{
    static const QStringList items = {
        QStringLiteral("それな"), QStringLiteral("違うだろ"), QStringLiteral("ほんとそれ"),
        QStringLiteral("お前は俺か"), QStringLiteral("まじで？"), QStringLiteral("ソースは？"),
        QStringLiteral("わかる"), QStringLiteral("早すぎｗ"),
    };
    return items;
}

const QStringList &latinAndEscapes()
{
    static const QStringList items = {
        QStringLiteral("GOAL!!"), QStringLiteral("WWWWWW"), QStringLiteral("Nice Play!"),
        QStringLiteral("Tom & Jerry"), QStringLiteral("NHK > 民放"), QStringLiteral("(´・ω・`)<ｼｮﾎﾞｰﾝ"),
        QStringLiteral("\"字幕\" が出ない"), QStringLiteral("OK & GO"),
    };
    return items;
}

const QStringList &asciiArt()
{
    static const QStringList items = {
        QStringLiteral("　　∧＿∧<br>　（　´∀｀）<br>　（　　　　）<br>　｜ ｜　|<br>　（_＿）＿）"),
        QStringLiteral("　 ∩＿＿＿∩<br>　 | ノ　　　　　 ヽ<br>　/　　●　　　● |<br>　|　　　　( _●_)　 ミ"),
    };
    return items;
}

const QStringList &tripNames()
{
    static const QStringList items = {
        QStringLiteral("実況民 </b>◆Ab1cDeFgHi<b>"), QStringLiteral("ななしさん"),
        QStringLiteral("通りすがり"),
    };
    return items;
}

} // namespace

QString escapeMarkup(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    out.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    out.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    out.replace(QLatin1Char('"'), QStringLiteral("&quot;"));
    return out;
}

QString anchorMarkup(const QString &boardKey, qint64 threadKey, const QString &target)
{
    return QStringLiteral("<a href=\"../test/read.cgi/%1/%2/%3\" target=\"_blank\">&gt;&gt;%3</a>")
        .arg(boardKey)
        .arg(threadKey)
        .arg(target);
}

Chatter::Chatter(quint32 seed)
    : m_random(seed)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int i = 0; i < 40; ++i) {
        QString id;
        for (int c = 0; c < 8; ++c)
            id += QLatin1Char(alphabet[m_random.bounded(64)]);
        const int kind = int(m_random.bounded(20));
        id += QLatin1Char(kind < 16 ? '0' : kind < 19 ? 'O' : 'P');
        m_posters << id;
    }
}

QStringList Chatter::imageNames()
{
    return {QStringLiteral("1.jpg"), QStringLiteral("2.jpg"), QStringLiteral("3.jpg"),
            QStringLiteral("1.png"), QStringLiteral("2.png"), QStringLiteral("1.gif"),
            QStringLiteral("2.gif")};
}

QString Chatter::pick(const QStringList &items)
{
    return items.at(int(m_random.bounded(quint32(items.size()))));
}

QString Chatter::posterId()
{
    // A few posters write most of a thread, as in real threads.
    const int n = int(m_posters.size());
    const int index = m_random.bounded(3) == 0 ? int(m_random.bounded(n)) : int(m_random.bounded(n / 4));
    return m_posters.at(index);
}

SimResponse Chatter::closingResponse()
{
    return {QStringLiteral("１００１"), QString(), QStringLiteral("Over 1000 Thread"),
            QStringLiteral("このスレッドは１０００を超えました。 <br>もう書けないので、新しいスレッドを立ててくださいです。。。 ")};
}

SimResponse Chatter::deletedResponse()
{
    const QString gone = QStringLiteral("あぼーん");
    return {gone, gone, gone, gone};
}

QString Chatter::openerBody(const ChatterPlace &place)
{
    QStringList lines;
    lines << escapeMarkup(place.programme + QStringLiteral("の実況スレです"));
    lines << escapeMarkup(QStringLiteral("実況は実況板で。sage進行推奨"));
    if (!place.previousThreadUrl.isEmpty())
        lines << escapeMarkup(QStringLiteral("前スレ")) << place.previousThreadUrl;
    return QLatin1Char(' ') + lines.join(QStringLiteral(" <br> ")) + QLatin1Char(' ');
}

QString Chatter::writeBody(const ChatterPlace &place, int number)
{
    auto recent = [&](int back) { return qMax(1, number - 1 - int(m_random.bounded(back))); };
    QStringList lines;
    const int kind = int(m_random.bounded(100));
    if (kind < 30) {
        lines << escapeMarkup(pick(cheers()));
    } else if (kind < 45) {
        lines << escapeMarkup(pick(keywordResponses()));
    } else if (kind < 62) {
        lines << escapeMarkup(pick(remarks()));
    } else if (kind < 76 && number > 2) {
        QString target = QString::number(recent(15));
        if (m_random.bounded(8) == 0 && number > 5) {
            const int from = recent(10);
            target = QStringLiteral("%1-%2").arg(from).arg(qMin(number - 1, from + 2));
        }
        lines << anchorMarkup(place.boardKey, place.threadKey, target);
        lines.last() += QLatin1Char(' ') + escapeMarkup(pick(replies()));
        if (m_random.bounded(4) == 0)
            lines << escapeMarkup(pick(remarks()));
    } else if (kind < 86) {
        const int count = 2 + int(m_random.bounded(4));
        for (int i = 0; i < count; ++i)
            lines << escapeMarkup(pick(i % 2 ? cheers() : remarks()));
    } else if (kind < 89) {
        // Ascii art keeps its own breaks and full-width blanks.
        for (const QString &line : pick(asciiArt()).split(QStringLiteral("<br>")))
            lines << escapeMarkup(line);
    } else if (kind < 94) {
        lines << escapeMarkup(m_random.bounded(2) ? QStringLiteral("うｐ") : QStringLiteral("これ？"));
        lines << place.imageBase + pick(imageNames());
        if (m_random.bounded(3) == 0)
            lines << place.imageBase + pick(imageNames());
    } else if (kind < 96) {
        lines << escapeMarkup(QStringLiteral("勢いすごいな")) << place.tvPage;
    } else {
        lines << escapeMarkup(pick(latinAndEscapes()));
    }
    return QLatin1Char(' ') + lines.join(QStringLiteral(" <br> ")) + QLatin1Char(' ');
}

SimResponse Chatter::write(const ChatterPlace &place, int number, qint64 msecs)
{
    if (number > 1 && m_random.bounded(100) == 0)
        return deletedResponse();
    SimResponse response;
    response.name = m_random.bounded(25) == 0 ? pick(tripNames()) : place.defaultName;
    response.mail = m_random.bounded(10) < 3 ? QStringLiteral("sage") : QString();
    response.dateField = formatDateField(msecs, number == 1 ? m_posters.first() : posterId());
    response.body = number == 1 ? openerBody(place) : writeBody(place, number);
    return response;
}
