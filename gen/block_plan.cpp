#include "gen/block_plan.h"

#include "core/gbk.h"
#include "sys/text.h"

BlockPlan::BlockPlan(int64_t count, std::size_t maxRowBytes, std::size_t eolBytes) : count(count)
{
    const std::size_t row = maxRowBytes + eolBytes;
    rowsPerBlock = std::clamp<int64_t>(int64_t(kBlockBytes / std::max<std::size_t>(row, 1)), 1, kMaxBlockRows);
}

char* BlockBytes::room(std::size_t n)
{
    if (capacity_ < n) {
        room_.reset(new char[n]); // left uninitialised: the rows overwrite it
        capacity_ = n;
    }
    return room_.get();
}

void BlockBytes::made(std::size_t size, bool toUtf8)
{
    text_ = std::string_view(room_.get(), size);
    // A block holds whole rows, so it converts on its own.
    if (toUtf8 && !sys::isAscii(text_)) {
        converted_ = gbk::toUtf8(text_);
        text_ = converted_;
    }
}
