// convertDat against decoding the same bytes, on a realistic 1000-response dat (~250 KB) and on
// a 10,000-line one, to see that the conversion stays a small multiple of the decode and grows
// linearly.

#include "net/DatConverter.h"
#include "platform/Cp932.h"

#include <QByteArray>
#include <QString>
#include <benchmark/benchmark.h>

namespace {

// A reply with lines shaped like a live thread's: names with markup now and then, dates with
// centiseconds and IDs, bodies with escaped anchors, line breaks, links, entities and kana.
QByteArray realisticDatReply(int lines)
{
    static const QString bodies[] = {
        QStringLiteral(" ｷﾀ━━━(ﾟ∀ﾟ)━━━!! <br> 今日も実況するぞ <br> よろしくお願いします "),
        QStringLiteral(" <a href=\"../test/read.cgi/livenhk/1700000000/%1\" target=\"_blank\">&gt;&gt;%1</a> "
                       "それはないわ &quot;本当に&quot; そう思う <br> 次の場面に期待 "),
        QStringLiteral(" http://img.example.net/pics/%1.jpg <br> 画像貼っておきますね <br> &lt;参考&gt; "),
        QStringLiteral(" ﾊｧﾊｧ &amp;gt;&amp;gt;%1 かわいい <br> アッー！ <br> ～～～～～～～～ "),
        QStringLiteral(" 長い感想を書いてみる。解説者の話が面白かったので、最後まで見てしまった。"
                       "<br> また来週も見ようと思う。 <br> 乙でした "),
    };
    QString text = QStringLiteral("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nLast-Modified: Mon, 01 Jan 2024 12:00:00 GMT\r\n\r\n");
    text.reserve(lines * 260);
    for (int i = 0; i < lines; ++i) {
        const QString name = i % 7 == 0 ? QStringLiteral("<b>名無しさん</b>＠実況") : QStringLiteral("名無しさん");
        const QString mail = i % 3 == 0 ? QStringLiteral("sage") : QString();
        const QString time = QStringLiteral("2024/01/01(月) 21:%1:%2.%3 ID:Ab%4Cd")
                                 .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                                 .arg(i % 60, 2, 10, QLatin1Char('0'))
                                 .arg(i % 100, 2, 10, QLatin1Char('0'))
                                 .arg(i * 7919 % 100000, 5, 10, QLatin1Char('0'));
        QString body = bodies[i % 5];
        body.replace(QStringLiteral("%1"), QString::number(i / 2 + 1));
        // Real bodies run to a few lines: about 250 bytes a response in all.
        body += QStringLiteral("<br> 画面の向こうでは試合が続いている。みんなで応援しながら最後まで見届けよう。 ");
        text += name + QStringLiteral("<>") + mail + QStringLiteral("<>") + time + QStringLiteral("<>") + body
            + QStringLiteral("<>") + (i == 0 ? QStringLiteral("実況スレ Part1") : QString()) + QLatin1Char('\n');
    }
    return platform::encodeCp932(text);
}

void BM_DatDecode(benchmark::State &state)
{
    const QByteArray bytes = realisticDatReply(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::decodeCp932(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["KB"] = double(bytes.size()) / 1024.0;
}
BENCHMARK(BM_DatDecode)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_ConvertDat(benchmark::State &state)
{
    const QString text = platform::decodeCp932(realisticDatReply(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(convertDat(text));
    state.counters["responses"] = double(convertDat(text).upperBound());
}
BENCHMARK(BM_ConvertDat)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace
