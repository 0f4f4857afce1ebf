// Settings at the edges, each a whole run at its bound: where almost every
// draw would be thrown away, and long insert lists. Each case has a peer in
// the same run (an ordinary setting, or inserting step by step) for a ratio.
//
//   build/bench/edge_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "bench_core.h"
#include "core/textutil.h"
#include "gen/number_gen.h"
#include "gen/string_gen.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace {

// --- numbers: 2 000 000 floating-point rows, the count bound ---------------

NumberSettings floats(float lo, float hi, int decimals)
{
    return {0, 1, lo, hi, kMaxNumberRows, decimals};
}

// The share of pairs (a, g) one draw keeps, counted over the sums a + g.
double keptShare(float m, float M, int d)
{
    const int p = int(std::lround(std::pow(10, d))), q = p / 10;
    const int64_t lo = int64_t(double(p) * m), hi = int64_t(double(p) * M);
    double kept = 0;
    for (int64_t s = lo; s <= hi + q; ++s) {
        const double raw = double(s) / p, v = raw > M ? raw - double(0.1f) : raw;
        if (v >= m && v <= M)
            kept += double(std::min(hi, s) - std::max(lo, s - q) + 1);
    }
    return kept / (double(hi - lo + 1) * (q + 1));
}

// The narrowest range above 0.5 with 5 decimals whose draws still loop: the
// slowest setting that keeps its draw-for-draw behaviour.
float slowestLoopingMax()
{
    for (int w = 0;; ++w) {
        const float M = float((50000 + w) / 100000.0);
        if (keptShare(0.5f, M, 5) * 64 >= 1)
            return M;
    }
}

void numberRun(benchmark::State& state, const NumberSettings& s)
{
    benchCore();
    state.SetLabel(std::to_string(s.rangeMin) + ".." + std::to_string(s.rangeMax) + ", kept " +
                   std::to_string(keptShare(s.rangeMin, s.rangeMax, s.decimals)));
    for (auto _ : state) {
        CString text = drawNumberRows(s);
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["rows/s"] = benchmark::Counter(s.count, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Numbers_Ordinary(benchmark::State& state) { numberRun(state, floats(0.5f, 0.6f, 5)); }
void BM_Numbers_Point5Only(benchmark::State& state) { numberRun(state, floats(0.5f, 0.5f, 5)); }
void BM_Numbers_Negative(benchmark::State& state) { numberRun(state, floats(-0.5f, -0.5f, 5)); }
void BM_Numbers_SlowestLoop(benchmark::State& state) { numberRun(state, floats(0.5f, slowestLoopingMax(), 5)); }

// --- strings: 2 000 000 drawn characters -----------------------------------

constexpr int kChars = 2000000;

// The level-1 Chinese characters from the `skip`-th on, the first `skip` left
// out of the list (so drawable).
CString levelOneFrom(int skip)
{
    CString out;
    int n = 0;
    for (int a = 0xB0; a <= 0xD7; ++a)
        for (int b = 0xA1; b <= (a == 0xD7 ? 0xF9 : 0xFE); ++b)
            if (n++ >= skip)
                out += {char(a), char(b)};
    return out;
}

StringSettings hz(int kept)
{
    StringSettings s;
    s.isHz = 1;
    s.lenMin = s.lenMax = 1000;
    s.count = kChars / 1000;
    if (kept > 0) {
        s.isCharEx = 1;
        s.charExclude = levelOneFrom(kept);
    }
    return s;
}

void stringRun(benchmark::State& state, const StringSettings& s)
{
    benchCore();
    for (auto _ : state) {
        CString run = makeRun(s);
        benchmark::DoNotOptimize(run.data());
    }
    state.counters["chars/s"] = benchmark::Counter(kChars, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Strings_HzOrdinary(benchmark::State& state) { stringRun(state, hz(0)); }
void BM_Strings_HzAllButOne(benchmark::State& state) { stringRun(state, hz(1)); }
// 59 of 3755 kept: just over 1 try in 64 keeps a character, so the draws loop.
void BM_Strings_HzSlowestLoop(benchmark::State& state) { stringRun(state, hz(59)); }
void BM_Strings_AllKindsAllButOne(benchmark::State& state)
{
    StringSettings s = hz(0);
    s.isUCase = s.isLCase = s.isNum = 1;
    s.isCharEx = 1;
    s.charExclude = "ABCDEFGHIJKLMNOPRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789" + levelOneFrom(0);
    stringRun(state, s);
}

// --- inserts: n "0|" pairs on one 12-byte row -------------------------------

CString zeroPairs(int fields)
{
    CString list;
    for (int i = 0; i < fields; ++i)
        list += "0|";
    return list;
}

// One row of a run: the list is split, then the inserts made.
void BM_Inserts(benchmark::State& state)
{
    benchCore();
    StringSettings s;
    s.isLCase = 1;
    s.lenMin = s.lenMax = 12;
    s.count = 1;
    s.insertStr = zeroPairs(int(state.range(0)));
    for (auto _ : state) {
        CString run = makeRun(s);
        benchmark::DoNotOptimize(run.data());
    }
}

// The peer: each field looked up from the start of the list, each text
// inserted into the whole row.
void BM_InsertsStepByStep(benchmark::State& state)
{
    const CString list = zeroPairs(int(state.range(0)));
    for (auto _ : state) {
        CString row = "abcdefghijkl";
        for (int k = 0; !textutil::field(list, '|', k).empty(); k += 2)
            row.insert(0, textutil::field(list, '|', k + 1)); // every position is 0
        benchmark::DoNotOptimize(row.data());
    }
}

} // namespace

BENCHMARK(BM_Numbers_Ordinary)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_Numbers_Point5Only)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_Numbers_Negative)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_Numbers_SlowestLoop)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Strings_HzOrdinary)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_Strings_HzAllButOne)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_Strings_AllKindsAllButOne)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_Strings_HzSlowestLoop)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Inserts)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertsStepByStep)->Arg(3000)->Unit(benchmark::kMillisecond);
