// convertDat against decoding the same bytes, on a realistic 1000-response dat (~250 KB) and on
// a 10,000-line one, to see that the conversion stays a small multiple of the decode and grows
// linearly.

#include "DatSample.h"
#include "net/DatConverter.h"
#include "platform/Cp932.h"

#include <QByteArray>
#include <QString>
#include <benchmark/benchmark.h>

namespace {

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
