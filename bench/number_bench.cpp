// Rows per second of the number generator: 10^6 integer rows (80 to 100) and
// 10^6 floating-point rows (2 decimals, 80 to 100), built as one text, streamed
// to a reused buffer, and streamed to a file in /tmp (what the peer commands
// of bench/peers.sh do), and made as kelvane-cli's blocks. Run: build/bench/number_bench (items_per_second is
// rows per second); bench/peers.sh times the peers for the ratios.
#include "bench_core.h"
#include "gen/number_gen.h"

#include <benchmark/benchmark.h>

#include "core/random.h"

#include <algorithm>
#include <cstdio>
#include <memory>
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

// What one worker of kelvane-cli does, without the command around it: 10^6
// rows with LF made as the command's blocks, each from its own numbered
// stream of a seeded source, into a reused block buffer. bench/compare sets
// the command's one-worker rate against this.
void blocks(benchmark::State& state, bool floats)
{
    const NumberSettings s = settings(floats);
    RandomGen source = RandomGen::seeded("bench");
    NumberRowMaker maker(s, source);
    const std::size_t row = maker.maxRowBytes() + 1;
    const int64_t perBlock = std::clamp<int64_t>(int64_t((256 * 1024) / row), 1, 65536);
    const auto room = std::make_unique_for_overwrite<char[]>(std::size_t(perBlock) * row + NumberRowMaker::kPutSlack);
    for (auto _ : state) {
        for (int64_t done = 0, j = 0; done < kRows; done += perBlock, ++j) {
            source.startStream(uint64_t(j));
            char* end = maker.putRows(room.get(), std::min<int64_t>(perBlock, kRows - done), "\n");
            benchmark::DoNotOptimize(end);
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_IntRows_Whole(benchmark::State& s) { wholeText(s, false); }
void BM_IntRows_StreamBuffer(benchmark::State& s) { streamToBuffer(s, false); }
void BM_IntRows_StreamFile(benchmark::State& s) { streamToFile(s, false); }
void BM_FloatRows2_Whole(benchmark::State& s) { wholeText(s, true); }
void BM_FloatRows2_StreamBuffer(benchmark::State& s) { streamToBuffer(s, true); }
void BM_FloatRows2_StreamFile(benchmark::State& s) { streamToFile(s, true); }
void BM_IntRows_Blocks(benchmark::State& s) { blocks(s, false); }
void BM_FloatRows2_Blocks(benchmark::State& s) { blocks(s, true); }

} // namespace

BENCHMARK(BM_IntRows_Whole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IntRows_StreamBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IntRows_StreamFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloatRows2_Whole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloatRows2_StreamBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloatRows2_StreamFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IntRows_Blocks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloatRows2_Blocks)->Unit(benchmark::kMillisecond);
