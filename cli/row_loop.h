#pragma once
// The loop every row-making subcommand shares: make `count` rows, optionally
// all different, write them to the output, show progress on a terminal, and
// stop quietly when the reader of standard output goes away.
//
// Without --unique the rows are made in blocks on worker threads, which also
// put them in the output's encoding, while the calling thread writes
// finished blocks in order. A block holds a fixed
// number of rows, set by the options alone, and block j draws from stream j
// of the source (RandomGen::startStream), so the bytes for a seed do not
// depend on the number of threads or on their timing.
#include "cli/output_sink.h"
#include "gen/block_plan.h"
#include "core/ccore.h"
#include "core/random.h"
#include "core/types.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

struct CommonOptions;

struct RowLoopOptions {
    int64_t count = 0;
    bool unique = false;
    // At most this many different rows can be made (saturating); with
    // --unique a larger count is refused before any output.
    uint64_t distinctLimit = UINT64_MAX;
    // The most bytes one row can take (GBK, without its line end). It sets
    // the rows in a block, which keeps a block near kBlockBytes.
    std::size_t maxRowBytes = 64;
};

// Appends one row (GBK, no line end) to the given text.
using RowMaker = std::function<void(CString& row)>;

// A progress line on stderr for long runs, only when stderr is a terminal.
class Progress {
public:
    explicit Progress(int64_t total);
    ~Progress();
    void tick(int64_t done)
    {
        if (enabled_ && (done & 0xffff) == 0)
            show(done);
    }
    // After a block: at most four updates a second.
    void at(int64_t done)
    {
        if (enabled_)
            show(done);
    }

private:
    void show(int64_t done);
    bool enabled_;
    bool shown_ = false;
    int64_t total_;
    std::chrono::steady_clock::time_point last_{};
};

// Builds the block maker of one worker around that worker's source.
using BlockMakerFactory = std::function<std::unique_ptr<BlockMaker>(RandomGen& source)>;

// Limits the plan to the rows of the part --part names.
void limitToPart(BlockPlan& plan, const CommonOptions& common);
// The output the common options name; null (after a message) when it
// cannot be opened.
std::unique_ptr<OutputSink> openOutput(const CommonOptions& common);
// Ends the output: 0 when everything was written or the reader went away,
// 1 (after a message) when a write failed.
int finishOutput(OutputSink& sink);
// The --unique loop: returns 0 done, 1 output failed, 2 cannot be met.
int runUniqueLoop(const RowLoopOptions& options, const RowMaker& make, OutputSink& sink);
// The block loop: makes the plan's blocks with the factory's makers on
// `workers` threads (0: one per core) and writes them in order. Returns the
// exit status as finishOutput does.
int runBlockLoop(const BlockPlan& plan, const BlockMakerFactory& factory, OutputSink& sink, int workers = 0);


// Opens the output and makes the rows into it. makeMaker(RandomGen& source)
// returns a maker whose appendRow(CString&) appends one row drawn from
// source. Returns the exit status (see above;
// 1 also when the output cannot be opened).
template <class MakeMaker>
int writeRows(const CommonOptions& common, const RowLoopOptions& options, MakeMaker makeMaker)
{
    const auto sink = openOutput(common);
    if (!sink)
        return 1;
    if (options.unique) {
        auto maker = makeMaker(g_core->random());
        return runUniqueLoop(options, [&maker](CString& row) { maker.appendRow(row); }, *sink);
    }
    BlockPlan plan(options.count, options.maxRowBytes, sink->lineEnd().size());
    limitToPart(plan, common);
    const std::string eol = sink->lineEnd();
    const bool toUtf8 = sink->encoding() == Encoding::Utf8;
    return runBlockLoop(
        plan,
        [&](RandomGen& source) -> std::unique_ptr<BlockMaker> {
            using Maker = decltype(makeMaker(source));
            return std::make_unique<rowloop::RowsBlockMaker<Maker>>(makeMaker(source), source, plan, eol, toUtf8);
        },
        *sink);
}
