// Draws per second of getRandInt from the secure source, through the core
// object as the generators call it, and from a seeded stream; one range per
// way of drawing (2-bit pool fields, 16-bit lanes, 32-bit lanes); the
// repeat-until draws of the generators; the raw keystream.
// Run: build/bench/core_bench (items_per_second is draws, or words, per second).
#include "bench_core.h"

#include <benchmark/benchmark.h>

#include <climits>

namespace {

constexpr int kBatch = 1024;

void drawsThroughCore(benchmark::State& state, int lo, int hi)
{
    CCore& core = benchCore();
    for (auto _ : state) {
        unsigned sum = 0;
        for (int i = 0; i < kBatch; ++i)
            sum += unsigned(core.getRandInt(lo, hi));
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

void drawsSeeded(benchmark::State& state, int lo, int hi)
{
    RandomGen gen = RandomGen::seeded("bench");
    for (auto _ : state) {
        unsigned sum = 0;
        for (int i = 0; i < kBatch; ++i)
            sum += unsigned(gen.getRandInt(lo, hi));
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

// Draws of getRandInt(lo, hi) until the result is one of `wanted` (bit r - lo).
void untilThroughCore(benchmark::State& state, int lo, int hi, uint32_t wanted)
{
    RandomGen& random = benchCore().random();
    for (auto _ : state) {
        unsigned sum = 0;
        for (int i = 0; i < kBatch; ++i)
            sum += unsigned(random.drawUntilIn(lo, hi, wanted));
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

void BM_GetRandInt_1_100(benchmark::State& s) { drawsThroughCore(s, 1, 100); }
void BM_GetRandInt_1_4(benchmark::State& s) { drawsThroughCore(s, 1, 4); }
void BM_GetRandInt_1_70000(benchmark::State& s) { drawsThroughCore(s, 1, 70000); }
void BM_GetRandInt_1_2(benchmark::State& s) { drawsThroughCore(s, 1, 2); }
void BM_GetRandInt_FullRange(benchmark::State& s) { drawsThroughCore(s, INT_MIN, INT_MAX); }
// 3 * 2^30 values: the range that needs the most rejections (one in four).
void BM_GetRandInt_WorstReject(benchmark::State& s) { drawsThroughCore(s, INT_MIN, (1 << 30) - 1); }
void BM_Seeded_1_100(benchmark::State& s) { drawsSeeded(s, 1, 100); }
// The string generator's kind draw with one kind of four off, and the number
// generator's kind draw when only one kind is asked for (calls per second).
void BM_DrawUntilIn_ThreeOfFour(benchmark::State& s) { untilThroughCore(s, 1, 4, 0b0111); }
void BM_DrawUntil_OneOfTwo(benchmark::State& s) { untilThroughCore(s, 1, 2, 0b01); }

void BM_Keystream(benchmark::State& state)
{
    RandomGen& random = benchCore().random();
    for (auto _ : state) {
        uint32_t x = 0;
        for (int i = 0; i < kBatch; ++i)
            x ^= random.next32();
        benchmark::DoNotOptimize(x);
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

} // namespace

BENCHMARK(BM_GetRandInt_1_100);
BENCHMARK(BM_GetRandInt_1_4);
BENCHMARK(BM_GetRandInt_1_70000);
BENCHMARK(BM_GetRandInt_1_2);
BENCHMARK(BM_GetRandInt_FullRange);
BENCHMARK(BM_GetRandInt_WorstReject);
BENCHMARK(BM_Seeded_1_100);
BENCHMARK(BM_DrawUntilIn_ThreeOfFour);
BENCHMARK(BM_DrawUntil_OneOfTwo);
BENCHMARK(BM_Keystream);
