#pragma once
// How a seeded run is cut into blocks, and the making of one block: shared by
// kelvane-cli and the browser page, so a seed gives both the same bytes.
// Block j draws from stream j of the source (RandomGen::startStream), so
// blocks come out the same in any order, on any thread.
#include "core/random.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

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
