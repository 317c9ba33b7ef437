// Growth with the size of a thread: convertDat over dats of 1,000, 10,000 and 100,000 lines, and
// the marquee page of a 30-response batch at the end of records that long. A thread that has
// grown tenfold must not cost more than about tenfold (bench/run prints the ratios).
//
// The page builder indexes responses with 16-bit numbers: a record beyond 32,767 responses is
// refused at once, so its page is measured at 1,000, 10,000 and 30,000 lines, and the 100,000
// case reports the refusal (counter "refused").

#include "net/DatConverter.h"
#include "net/ResponseRecord.h"
#include "present/MarqueePageBuilder.h"

#include <QString>
#include <benchmark/benchmark.h>

namespace {

QString datReply(int lines)
{
    static const QString bodies[] = {
        QStringLiteral(" ｷﾀ━━━(ﾟ∀ﾟ)━━━!! <br> 今日も実況するぞ "),
        QStringLiteral(" <a href=\"../test/read.cgi/livenhk/1700000000/%1\" target=\"_blank\">&gt;&gt;%1</a> "
                       "それはないわ &quot;本当に&quot; <br> 次に期待 "),
        QStringLiteral(" http://img.example.net/pics/%1.jpg <br> 画像貼っておきますね &lt;参考&gt; "),
        QStringLiteral(" ﾊｧﾊｧ &amp;gt;&amp;gt;%1 かわいい <br> アッー！ "),
        QStringLiteral(" 解説者の話が面白かったので、最後まで見てしまった。<br> また来週も見よう <br> 乙 "),
    };
    QString text = QStringLiteral("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n");
    text.reserve(qsizetype(lines) * 200);
    for (int i = 0; i < lines; ++i) {
        QString body = bodies[i % 5];
        body.replace(QStringLiteral("%1"), QString::number(i / 2 + 1));
        text += QStringLiteral("名無しさん<><>2024/01/01(月) 21:%1:%2.00 ID:Ab%3Cd<>")
                    .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                    .arg(i % 60, 2, 10, QLatin1Char('0'))
                    .arg(i % 100000, 5, 10, QLatin1Char('0'))
            + body + QStringLiteral("<>\n");
    }
    return text;
}

void BM_ScaleConvertDat(benchmark::State &state)
{
    const QString text = datReply(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(convertDat(text));
    state.counters["MB"] = double(text.size()) * 2 / 1048576.0;
}
BENCHMARK(BM_ScaleConvertDat)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ScalePageBuild(benchmark::State &state)
{
    const ResponseRecord record = convertDat(datReply(int(state.range(0))));
    MarqueeSettings settings;
    settings.label3 = QStringLiteral("http://127.0.0.1/test/read.cgi/livenhk/1700000000/100n-");
    settings.strGetSintyakuFooter = QStringLiteral("n-");
    settings.comboMax = QStringLiteral("30");
    settings.comboMaxRow = QStringLiteral("2");
    bool refused = false;
    for (auto _ : state) {
        ThreadPosition position;
        position.blnIsFirst = false;
        position.intLastDt = std::max(0, record.upperBound() - 30);
        ImageLists images;
        qint32 count = 0;
        const MarqueeBuild build = createTextFromDatWebScroll(position, record, settings, images, count,
                                                              [] { return 0.42; });
        refused = build.outcome != MarqueeBuild::Outcome::Shown;
        benchmark::DoNotOptimize(build.page.constData());
    }
    state.counters["refused"] = refused ? 1 : 0;
}
BENCHMARK(BM_ScalePageBuild)->Arg(1000)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace
