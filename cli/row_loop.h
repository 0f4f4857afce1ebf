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

// How a run is cut into blocks. Part of what a seed gives: changing it
// changes seeded output. A run may write only some consecutive rows of the
// plan (one part of it, --part): those rows come out exactly as in the whole
// run, and only the blocks that hold them are made.
struct BlockPlan {
    static constexpr std::size_t kBlockBytes = 256 * 1024;
    static constexpr int64_t kMaxBlockRows = 65536;

    int64_t count;
    int64_t rowsPerBlock;
    int64_t first = 0;  // the rows written: first .. end - 1
    int64_t end = count;

    BlockPlan(int64_t count, std::size_t maxRowBytes, std::size_t eolBytes);
    int64_t blocks() const { return count <= 0 ? 0 : (count - 1) / rowsPerBlock + 1; }
    int64_t rowsIn(int64_t block) const
    {
        const int64_t start = block * rowsPerBlock;
        return count - start < rowsPerBlock ? count - start : rowsPerBlock;
    }
    // The blocks that hold the rows written: firstBlock() .. endBlock() - 1.
    int64_t firstBlock() const { return first / rowsPerBlock; }
    int64_t endBlock() const { return end <= first ? firstBlock() : (end - 1) / rowsPerBlock + 1; }
    // Of block j: the rows before the first one written, and the rows written.
    int64_t skippedIn(int64_t block) const { return std::max<int64_t>(0, first - block * rowsPerBlock); }
    int64_t writtenIn(int64_t block) const
    {
        const int64_t start = block * rowsPerBlock;
        return std::min(end, start + rowsPerBlock) - std::max(first, start);
    }
};

// The bytes of one block on their way to the output.
class BlockBytes {
public:
    // Room for n bytes, kept between blocks.
    char* room(std::size_t n);
    // The block is made: its first `size` bytes of room, GBK. Converted to
    // UTF-8 here when asked for and needed, on the thread that made it.
    void made(std::size_t size, bool toUtf8);
    std::string_view text() const { return text_; }

private:
    std::unique_ptr<char[]> room_;
    std::size_t capacity_ = 0;
    std::string converted_;
    std::string_view text_;
};

// Makes whole blocks: each call makes the rows of block j and puts the ones
// the plan writes, each followed by the line end, into out. One per worker
// thread, each with its own source.
class BlockMaker {
public:
    virtual ~BlockMaker() = default;
    virtual void make(int64_t block, BlockBytes& out) = 0;
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

namespace rowloop {
// Maker: appendRow(CString&) for --unique, putRows(out, rows, eol), which
// writes rows with their line ends straight into the block's room, and
// asciiRows(), true when no row can need converting.
template <class Maker>
class RowsBlockMaker final : public BlockMaker {
public:
    RowsBlockMaker(Maker maker, RandomGen& source, const BlockPlan& plan, std::string eol, bool toUtf8)
        : maker_(std::move(maker)), source_(source), plan_(plan), eol_(std::move(eol)),
          rowBytes_(maker_.maxRowBytes() + eol_.size()), toUtf8_(toUtf8 && !maker_.asciiRows())
    {
    }
    void make(int64_t block, BlockBytes& out) override
    {
        source_.startStream(uint64_t(block));
        const int64_t skip = plan_.skippedIn(block), rows = plan_.writtenIn(block);
        char* room = out.room(std::size_t(std::max(skip, rows)) * rowBytes_ + Maker::kPutSlack);
        if (skip > 0) // rows of the block before a part: drawn, then written over
            maker_.putRows(room, skip, eol_);
        const char* end = maker_.putRows(room, rows, eol_);
        out.made(std::size_t(end - room), toUtf8_);
    }

private:
    Maker maker_;
    RandomGen& source_;
    BlockPlan plan_;
    std::string eol_;
    std::size_t rowBytes_;
    bool toUtf8_;
};
} // namespace rowloop

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
