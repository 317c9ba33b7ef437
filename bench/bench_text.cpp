// Text costs of one fetch: decoding a large dat from CP932, and the body-cleaning chain the
// presenters run on every new response. bench/run prints the chain as a ratio to decoding the
// same bytes: the chain must stay a small multiple of the unavoidable decode.

#include "core/Patterns.h"
#include "platform/Cp932.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <random>

namespace {

// Bodies with the variety of a busy live thread: plain comments, keyword comments, response
// anchors (single and ranges, escaped as the dat writes them), image addresses (some posted
// twice), other links and text faces with escaped brackets.
QStringList makeBodies(int count)
{
    const QStringList talk{
        QString::fromUtf8("ｷﾀ━━━━(ﾟ∀ﾟ)━━━━!!"),
        QString::fromUtf8("今日の放送は面白かったな"),
        QString::fromUtf8("ﾊｧﾊｧ"),
        QString::fromUtf8("アッー！"),
        QString::fromUtf8("それはないわ～"),
        QString::fromUtf8("①から見直したい"),
        QString::fromUtf8("&gt;&gt;&gt; (´・ω・｀) &lt;&lt;&lt;"),
        QString::fromUtf8("CMなげーよ"),
        QString::fromUtf8("ここで提供読み"),
    };
    std::mt19937 random(20090113);
    const auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    const auto anchor = [](const QString &target) {
        return QStringLiteral("<a href=\"../test/read.cgi/livenhk/1231808850/%1\" target=\"_blank\">&gt;&gt;%1</a>")
            .arg(target);
    };

    QStringList bodies;
    QString lastImage = QStringLiteral("http://img.example.jp/up/0000.jpg");
    for (int i = 0; i < count; ++i) {
        QStringList parts;
        const int pieces = 2 + pick(5);
        for (int p = 0; p < pieces; ++p) {
            switch (pick(10)) {
            case 0:
                parts << anchor(QString::number(1 + pick(i + 1)));
                break;
            case 1:
                parts << anchor(QStringLiteral("%1-%2").arg(1 + pick(500)).arg(501 + pick(499)));
                break;
            case 2:
                if (pick(2))
                    lastImage = QStringLiteral("http://img.example.jp/up/%1.%2")
                                    .arg(pick(10000), 4, 10, QLatin1Char('0'))
                                    .arg(pick(2) ? QStringLiteral("jpg") : QStringLiteral("png"));
                parts << lastImage;
                break;
            case 3:
                parts << QStringLiteral(
                    "<a href=\"http://www.example.jp/news/%1.html\" target=\"_blank\">http://www.example.jp/news/%1.html</a>")
                             .arg(pick(100000));
                break;
            default:
                parts << talk.at(pick(int(talk.size())));
                break;
            }
        }
        bodies << QLatin1Char(' ') + parts.join(QStringLiteral(" <br> ")) + QLatin1Char(' ');
    }
    return bodies;
}

const QStringList &bodies()
{
    static const QStringList all = makeBodies(1000);
    return all;
}

// The same bodies as dat lines in CP932 (about 250 KB with names and dates).
const QByteArray &datBytes()
{
    static const QByteArray dat = [] {
        QString text;
        int n = 0;
        for (const QString &body : bodies()) {
            ++n;
            text += QString::fromUtf8("名無しでいいとも！＠実況<>sage<>2009/01/13(火) 10:%1:%2.%3 ID:Ab%4Cd%5<>")
                        .arg(n / 60 % 60, 2, 10, QLatin1Char('0'))
                        .arg(n % 60, 2, 10, QLatin1Char('0'))
                        .arg(n % 100, 2, 10, QLatin1Char('0'))
                        .arg(n * 7919 % 100000)
                        .arg(n % 97);
            text += body;
            text += n == 1 ? QString::fromUtf8("<>【実況】番組ch(NHK) Part1\n") : QStringLiteral("<>\n");
        }
        return platform::encodeCp932(text);
    }();
    return dat;
}

void BM_DecodeDat(benchmark::State &state)
{
    const QByteArray &bytes = datBytes();
    for (auto _ : state) {
        QString text = platform::decodeCp932(bytes);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
    state.counters["kib"] = double(bytes.size()) / 1024.0;
}
BENCHMARK(BM_DecodeDat)->Unit(benchmark::kMicrosecond);

// What a presenter does with each new body before showing it.
void BM_BodyCleaningChain(benchmark::State &state)
{
    const QStringList &all = bodies();
    int images = 0;
    for (auto _ : state) {
        for (const QString &original : all) {
            QString body = original;
            unlinkResAnchors(body);
            if (countImageUrls(body) > 0) {
                QString list = takeImageUrls(body);
                images += int(list.size());
            }
            unlinkOtherAnchors(body);
            benchmark::DoNotOptimize(body);
        }
    }
    benchmark::DoNotOptimize(images);
    state.SetBytesProcessed(int64_t(state.iterations()) * datBytes().size());
    state.counters["bodies"] = double(all.size());
}
BENCHMARK(BM_BodyCleaningChain)->Unit(benchmark::kMicrosecond);

// The slowest single body of the chain: the longest work done between two window events.
void BM_BodyCleaningWorstBody(benchmark::State &state)
{
    const QStringList &all = bodies();
    QString longest;
    for (const QString &body : all) {
        if (body.count(QLatin1String("<a ")) + body.count(QLatin1String("http://"))
            > longest.count(QLatin1String("<a ")) + longest.count(QLatin1String("http://")))
            longest = body;
    }
    for (auto _ : state) {
        QString body = longest;
        unlinkResAnchors(body);
        if (countImageUrls(body) > 0)
            benchmark::DoNotOptimize(takeImageUrls(body));
        unlinkOtherAnchors(body);
        benchmark::DoNotOptimize(body);
    }
}
BENCHMARK(BM_BodyCleaningWorstBody)->Unit(benchmark::kMicrosecond);

class NullTree : public BoardTreeSink
{
public:
    void addNode(const QString &key, const QString &text, const QString &) override
    {
        m_size += key.size() + text.size();
    }
    qsizetype m_size = 0;
};

// The whole board menu into the tree (about 900 links), the longest run of matches in one call.
void BM_BuildBoardTreeRealMenu(benchmark::State &state)
{
    QFile file(QStringLiteral(KESTRELON_FIXTURES "/real/shiwano2ch__bbsmenu.html"));
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("board menu fixture missing");
        return;
    }
    const QString page = platform::decodeCp932(file.readAll());
    for (auto _ : state) {
        NullTree tree;
        buildBoardTree(page, tree);
        benchmark::DoNotOptimize(tree.m_size);
    }
}
BENCHMARK(BM_BuildBoardTreeRealMenu)->Unit(benchmark::kMicrosecond);

} // namespace
