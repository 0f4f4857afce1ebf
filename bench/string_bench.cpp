// Throughput of the string generator: rows per second of makeRow and of
// kelvane-cli's blocks, and bytes per second of a run streamed to a file. Compare with bench/string_peers.sh.
//
//   build/bench/string_bench --benchmark_counters_tabular=true
#include "bench_core.h"
#include "gen/string_gen.h"

#include <benchmark/benchmark.h>

#include "core/random.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

constexpr int kRows = 1000000;

CCore& core()
{
    return benchCore();
}

StringSettings alnum16()
{
    StringSettings s;
    s.isUCase = s.isLCase = s.isNum = 1;
    s.lenMin = s.lenMax = 16;
    s.count = kRows;
    return s;
}

// Length 8 to 16 with special characters and look-alikes excluded.
StringSettings mixed()
{
    StringSettings s = alnum16();
    s.lenMin = 8;
    s.isCharSpec = 1;
    s.charSpec = "!@#$%^&*-_";
    s.isCharEx = 1;
    s.charExclude = "0O1lI";
    return s;
}

// The raw draw rate of the core: the ceiling for everything below.
void BM_Draws(benchmark::State& state)
{
    core();
    for (auto _ : state) {
        unsigned sum = 0;
        for (int i = 0; i < 10000000; ++i)
            sum += unsigned(g_core->getRandInt(1, 4));
        benchmark::DoNotOptimize(sum);
    }
    state.counters["draws/s"] = benchmark::Counter(1e7, benchmark::Counter::kIsIterationInvariantRate);
}

// kRows rows through one row maker, the way a run makes them.
void rowsFromMaker(benchmark::State& state, const StringSettings& s)
{
    core();
    StringRowMaker maker(s, g_core->random());
    CString row;
    for (auto _ : state) {
        for (int i = 0; i < kRows; ++i) {
            row.clear();
            maker.appendRow(row);
            benchmark::DoNotOptimize(row.data());
        }
    }
    state.counters["rows/s"] = benchmark::Counter(kRows, benchmark::Counter::kIsIterationInvariantRate);
}

// What one worker of kelvane-cli does, without the command around it: kRows
// rows with LF made as the command's blocks, each from its own numbered
// stream of a seeded source, into a reused block buffer. bench/compare sets
// the command's one-worker rate against this.
void blocks(benchmark::State& state, const StringSettings& s)
{
    RandomGen source = RandomGen::seeded("bench");
    StringRowMaker maker(s, source);
    const std::size_t row = maker.maxRowBytes() + 1;
    const int64_t perBlock = std::clamp<int64_t>(int64_t((256 * 1024) / row), 1, 65536);
    const auto room = std::make_unique_for_overwrite<char[]>(std::size_t(perBlock) * row);
    for (auto _ : state) {
        for (int64_t done = 0, j = 0; done < kRows; done += perBlock, ++j) {
            source.startStream(uint64_t(j));
            char* end = maker.putRows(room.get(), std::min<int64_t>(perBlock, kRows - done), "\n");
            benchmark::DoNotOptimize(end);
        }
    }
    state.counters["rows/s"] = benchmark::Counter(kRows, benchmark::Counter::kIsIterationInvariantRate);
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_MakeRow_Alnum16(benchmark::State& state) { rowsFromMaker(state, alnum16()); }
void BM_Blocks_Alnum16(benchmark::State& state) { blocks(state, alnum16()); }
void BM_MakeRow_Mixed(benchmark::State& state) { rowsFromMaker(state, mixed()); }

// The free function, which sets up its lists again for every row.
void rowsFromFunction(benchmark::State& state, const StringSettings& s)
{
    core();
    for (auto _ : state) {
        for (int i = 0; i < kRows; ++i) {
            CString row = makeRow(s, g_core->random());
            benchmark::DoNotOptimize(row.data());
        }
    }
    state.counters["rows/s"] = benchmark::Counter(kRows, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_MakeRowFn_Alnum16(benchmark::State& state) { rowsFromFunction(state, alnum16()); }
void BM_MakeRowFn_Mixed(benchmark::State& state) { rowsFromFunction(state, mixed()); }

// 10^7 rows with CR LF streamed into a file with stdio.
void streamToFile(benchmark::State& state, StringSettings s)
{
    core();
    s.count = 10000000;
    const auto path = std::filesystem::temp_directory_path() / "kelvane-string-bench-out.txt";
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) {
            state.SkipWithError("cannot open the output file");
            return;
        }
        bytes = 0;
        const bool ok = streamRows(s, g_core->random(), [&](std::string_view chunk) {
            bytes += chunk.size();
            return std::fwrite(chunk.data(), 1, chunk.size(), f) == chunk.size();
        });
        if (std::fclose(f) != 0 || !ok) {
            state.SkipWithError("write failed");
            return;
        }
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.counters["rows/s"] = benchmark::Counter(double(s.count), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_StreamToFile_Alnum16(benchmark::State& state) { streamToFile(state, alnum16()); }
void BM_StreamToFile_Mixed(benchmark::State& state) { streamToFile(state, mixed()); }

} // namespace

BENCHMARK(BM_Draws)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MakeRow_Alnum16)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MakeRow_Mixed)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Blocks_Alnum16)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MakeRowFn_Alnum16)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MakeRowFn_Mixed)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_StreamToFile_Alnum16)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_StreamToFile_Mixed)->Unit(benchmark::kMillisecond)->Iterations(2);
