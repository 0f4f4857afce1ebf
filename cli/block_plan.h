#pragma once
// How a seeded run is cut into blocks, and the making of one block: what
// kelvane-cli and the browser page share, so a seed gives both the same
// bytes. Block j draws from stream j of the source (RandomGen::startStream),
// so blocks come out the same in any order, on any thread. No system here.
#include "core/random.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

// How a run is cut into blocks. Part of what a seed gives: changing it
// changes seeded output.
struct BlockPlan {
    static constexpr std::size_t kBlockBytes = 256 * 1024;
    static constexpr int64_t kMaxBlockRows = 65536;

    int64_t count;
    int64_t rowsPerBlock;

    BlockPlan(int64_t count, std::size_t maxRowBytes, std::size_t eolBytes) : count(count)
    {
        const std::size_t row = maxRowBytes + eolBytes;
        rowsPerBlock = std::clamp<int64_t>(int64_t(kBlockBytes / std::max<std::size_t>(row, 1)), 1, kMaxBlockRows);
    }
    int64_t blocks() const { return count <= 0 ? 0 : (count - 1) / rowsPerBlock + 1; }
    int64_t rowsIn(int64_t block) const
    {
        const int64_t first = block * rowsPerBlock;
        return count - first < rowsPerBlock ? count - first : rowsPerBlock;
    }
};

// Makes whole blocks: each call appends the rows of block j, each followed
// by the line end, to out. One per worker thread, each with its own source.
class BlockMaker {
public:
    virtual ~BlockMaker() = default;
    virtual void make(int64_t block, std::string& out) = 0;
};

namespace rowloop {
template <class Maker>
class RowsBlockMaker final : public BlockMaker {
public:
    RowsBlockMaker(Maker maker, RandomGen& source, const BlockPlan& plan, std::string eol)
        : maker_(std::move(maker)), source_(source), plan_(plan), eol_(std::move(eol))
    {
    }
    void make(int64_t block, std::string& out) override
    {
        source_.startStream(uint64_t(block));
        const int64_t rows = plan_.rowsIn(block);
        const bool crlf = eol_.size() == 2;
        for (int64_t i = 0; i < rows; ++i) {
            maker_.appendRow(out);
            if (crlf)
                out.push_back('\r');
            out.push_back('\n');
        }
    }

private:
    Maker maker_;
    RandomGen& source_;
    BlockPlan plan_;
    std::string eol_;
};
} // namespace rowloop
