// NG rules against a thread: 100 rules of every kind matched against the 1000 responses of a
// realistic dat, to set beside converting the same dat (the goal is at most a tenth of it).

#include "DatSample.h"
#include "net/DatConverter.h"
#include "present/NgRules.h"

#include <benchmark/benchmark.h>

namespace {

QList<NgRule> hundredRules()
{
    QList<NgRule> rules;
    for (int i = 0; i < 39; ++i)
        rules.append({NgKind::Word, QStringLiteral("宣伝%1号").arg(i)});
    for (int i = 0; i < 20; ++i)
        rules.append({NgKind::Regex, QStringLiteral("https?://spam%1\\.example/\\w+").arg(i)});
    for (int i = 0; i < 20; ++i)
        rules.append({NgKind::Id, QStringLiteral("Ab%1Cd").arg(i * 7919 % 100000 + 3, 5, 10, QLatin1Char('0'))});
    for (int i = 0; i < 10; ++i)
        rules.append({NgKind::Name, QStringLiteral("コテハン%1").arg(i)});
    for (int i = 0; i < 10; ++i)
        rules.append({NgKind::Mail, QStringLiteral("ad%1").arg(i)});
    // One rule that does hide some responses (a fifth of them).
    rules.append({NgKind::Word, QStringLiteral("ﾊｧﾊｧ")});
    return rules;
}

void BM_NgMatchThread(benchmark::State &state)
{
    const ResponseRecord record = convertDat(platform::decodeCp932(realisticDatReply(1000)));
    const NgMatcher matcher(hundredRules());
    int hidden = 0;
    for (auto _ : state) {
        hidden = 0;
        for (int i = 0; i < record.upperBound(); ++i) {
            const NgSubject subject{*record.name(i), QString(), *record.time(i), *record.body(i)};
            hidden += matcher.matches(subject) ? 1 : 0;
        }
        benchmark::DoNotOptimize(hidden);
    }
    state.counters["rules"] = matcher.ruleCount();
    state.counters["hidden"] = hidden;
}
BENCHMARK(BM_NgMatchThread)->Unit(benchmark::kMicrosecond);

} // namespace
