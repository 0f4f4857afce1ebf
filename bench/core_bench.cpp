// Draws per second of getRandInt from the secure source, through the core
// object as the generators call it, and from a seeded stream.
// Run: build/bench/core_bench (items_per_second is draws per second).
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

void BM_GetRandInt_1_100(benchmark::State& s) { drawsThroughCore(s, 1, 100); }
void BM_GetRandInt_1_2(benchmark::State& s) { drawsThroughCore(s, 1, 2); }
void BM_GetRandInt_FullRange(benchmark::State& s) { drawsThroughCore(s, INT_MIN, INT_MAX); }
// 3 * 2^30 values: the range that needs the most rejections (one in four).
void BM_GetRandInt_WorstReject(benchmark::State& s) { drawsThroughCore(s, INT_MIN, (1 << 30) - 1); }
void BM_Seeded_1_100(benchmark::State& s) { drawsSeeded(s, 1, 100); }

} // namespace

BENCHMARK(BM_GetRandInt_1_100);
BENCHMARK(BM_GetRandInt_1_2);
BENCHMARK(BM_GetRandInt_FullRange);
BENCHMARK(BM_GetRandInt_WorstReject);
BENCHMARK(BM_Seeded_1_100);
