#pragma once
// A run of rows made block by block, as kelvane-cli makes it with CR LF line
// ends: the same plan, the same streams of the same key. With the page's
// seed the bytes are kelvane-cli's for `--seed` with `--encoding gbk --eol
// crlf`. Each step makes one block (about 256 KiB), so the page can show
// progress and stay responsive between steps.
#include "gen/block_plan.h"
#include "core/random.h"

#include <cstdint>
#include <memory>
#include <string>

class BlockRun {
public:
    // makeMaker(RandomGen&) returns a row maker (putRows, maxRowBytes,
    // asciiRows: see rowloop::RowsBlockMaker), drawing from the run's own
    // source.
    template <class MakeMaker>
    BlockRun(const RandomGen& key, int64_t count, MakeMaker makeMaker)
        : source_(std::make_unique<RandomGen>(key.sameKey()))
    {
        using Maker = decltype(makeMaker(*source_));
        Maker maker = makeMaker(*source_);
        plan_ = std::make_unique<BlockPlan>(count, maker.maxRowBytes(), 2);
        blocks_ = std::make_unique<rowloop::RowsBlockMaker<Maker>>(std::move(maker), *source_, *plan_, "\r\n", false);
    }

    // Appends the next block's rows, each followed by CR LF, to out; false
    // when every block is made.
    bool step(std::string& out)
    {
        if (next_ >= plan_->blocks())
            return false;
        blocks_->make(next_, bytes_);
        out.append(bytes_.text());
        done_ += plan_->rowsIn(next_);
        ++next_;
        return true;
    }
    int64_t rowsDone() const { return done_; }
    int64_t count() const { return plan_->count; }

private:
    std::unique_ptr<RandomGen> source_;
    std::unique_ptr<BlockPlan> plan_;
    std::unique_ptr<BlockMaker> blocks_;
    BlockBytes bytes_;
    int64_t next_ = 0;
    int64_t done_ = 0;
};
