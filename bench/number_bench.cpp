// Rows per second of the number generator: 10^6 integer rows (80 to 100) and
// 10^6 floating-point rows (2 decimals, 80 to 100), built as one text, streamed
// to a reused buffer, and streamed to a file in /tmp (what the peer commands
// of bench/peers.sh do). Run: build/bench/number_bench (items_per_second is
// rows per second); bench/peers.sh times the peers for the ratios.
#include "bench_core.h"
#include "gen/number_gen.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

constexpr int kRows = 1000000;

NumberSettings settings(bool floats)
{
    NumberSettings s;
    s.isInt = floats ? 0 : 1;
    s.isFloat = floats ? 1 : 0;
    s.rangeMin = 80;
    s.rangeMax = 100;
    s.count = kRows;
    s.decimals = 2;
    return s;
}

void wholeText(benchmark::State& state, bool floats)
{
    benchCore();
    const NumberSettings s = settings(floats);
    std::size_t bytes = 0;
    for (auto _ : state) {
        CString text = drawNumberRows(s, g_core->random());
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    state.SetBytesProcessed(int64_t(state.iterations() * bytes));
}

void streamToBuffer(benchmark::State& state, bool floats)
{
    benchCore();
    const NumberSettings s = settings(floats);
    std::string buffer;
    buffer.reserve(kNumberChunkBytes);
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        streamNumberRows(s, g_core->random(), [&](std::string_view chunk) {
            buffer.assign(chunk);
            bytes += chunk.size();
            benchmark::DoNotOptimize(buffer.data());
        });
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    state.SetBytesProcessed(int64_t(state.iterations() * bytes));
}

void streamToFile(benchmark::State& state, bool floats)
{
    benchCore();
    const NumberSettings s = settings(floats);
    const std::string path = "/tmp/kelvane_number_bench." + std::to_string(getpid());
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) {
            state.SkipWithError("cannot open the file in /tmp");
            break;
        }
        streamNumberRows(s, g_core->random(), [f](std::string_view chunk) { std::fwrite(chunk.data(), 1, chunk.size(), f); });
        std::fclose(f);
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_IntRows_Whole(benchmark::State& s) { wholeText(s, false); }
void BM_IntRows_StreamBuffer(benchmark::State& s) { streamToBuffer(s, false); }
void BM_IntRows_StreamFile(benchmark::State& s) { streamToFile(s, false); }
void BM_FloatRows2_Whole(benchmark::State& s) { wholeText(s, true); }
void BM_FloatRows2_StreamBuffer(benchmark::State& s) { streamToBuffer(s, true); }
void BM_FloatRows2_StreamFile(benchmark::State& s) { streamToFile(s, true); }

} // namespace

BENCHMARK(BM_IntRows_Whole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IntRows_StreamBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IntRows_StreamFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloatRows2_Whole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloatRows2_StreamBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloatRows2_StreamFile)->Unit(benchmark::kMillisecond);
