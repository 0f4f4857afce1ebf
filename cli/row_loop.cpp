#include "cli/row_loop.h"

#include "cli/cli_common.h"

#include "core/ccore.h"
#include "core/gbk.h"
#include "core/texts.h"
#include "sys/console.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <unordered_set>
#include <vector>

Progress::Progress(int64_t total) : enabled_(stderrIsTerminal() && total >= 100000), total_(total) {}

Progress::~Progress()
{
    if (shown_)
        sys::printError("\r\033[K");
}

void Progress::show(int64_t done)
{
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(250))
        return;
    last_ = now;
    sys::printError("\r" + utf8(Text::Progress, {std::to_string(done), std::to_string(total_), std::to_string(done * 100 / total_)}));
    shown_ = true;
}

std::unique_ptr<OutputSink> openOutput(const CommonOptions& common)
{
    auto sink = std::make_unique<OutputSink>(common.out, common.enc(), common.lineEnd());
    if (sink->open())
        return sink;
    printUtf8Error(utf8(Text::FileOpenFailed, {common.out, sink->error()}));
    return nullptr;
}

int finishOutput(OutputSink& sink)
{
    if (sink.finish() || sink.pipeClosed())
        return kExitOk;
    printUtf8Error(sink.path().empty() ? utf8(Text::OutputFailed, {sink.error()})
                                       : utf8(Text::FileWriteFailed, {sink.path(), sink.error()}));
    return kExitOutput;
}

int runUniqueLoop(const RowLoopOptions& o, const RowMaker& make, OutputSink& sink)
{
    if (uint64_t(o.count) > o.distinctLimit) {
        printUtf8Error(utf8(Text::UniqueTooFew, {std::to_string(o.distinctLimit), std::to_string(o.count)}));
        return kExitInvalid;
    }
    // Each new row may take several draws; a run of failed draws this long
    // means the remaining rows are (almost surely) out of reach.
    const uint64_t limit = o.distinctLimit > (UINT64_MAX - 100000) / 20 ? UINT64_MAX : 20 * o.distinctLimit + 100000;
    Progress progress(o.count);
    std::unordered_set<CString> seen;
    seen.reserve(std::size_t(std::min<int64_t>(o.count, 1 << 24)));
    CString row;
    for (int64_t i = 0; i < o.count; ++i) {
        uint64_t misses = 0;
        for (;;) {
            row.clear();
            make(row);
            if (seen.insert(row).second)
                break;
            if (++misses >= limit) {
                printUtf8Error(utf8(Text::UniqueExhausted, {std::to_string(i)}));
                if (!sink.isFile())
                    sink.finish(); // the rows already printed stay printed; a file is never half written
                return kExitInvalid;
            }
        }
        if (!sink.row(row))
            break;
        progress.tick(i);
    }
    return finishOutput(sink);
}

void limitToPart(BlockPlan& plan, const CommonOptions& common)
{
    std::tie(plan.first, plan.end) = common.partOf(plan.count);
}

namespace {

// Worker threads: KELVANE_CLI_THREADS when it names 1 to 64, else one per
// core. Never more than there are blocks.
int workerCount(int asked, int64_t blocks)
{
    int n = asked;
    if (n <= 0) {
        const char* env = std::getenv("KELVANE_CLI_THREADS");
        const int fromEnv = env ? std::atoi(env) : 0;
        n = fromEnv >= 1 && fromEnv <= 64 ? fromEnv : int(std::max(1u, std::thread::hardware_concurrency()));
    }
    return int(std::min<int64_t>(n, std::max<int64_t>(blocks, 1)));
}

// The blocks in flight: the k-th block of the run is made into slot
// k % slots.size() once the writer has written block k - slots.size() from
// it. Block numbers here count from the run's first block.
class BlockRing {
public:
    BlockRing(std::size_t size, int64_t firstBlock) : slots_(size), firstBlock_(firstBlock)
    {
        for (std::size_t i = 0; i < size; ++i)
            slots_[i].owner = int64_t(i);
    }

    // A worker's loop: takes the next block, waits for its slot, makes it.
    void work(BlockMaker& maker, int64_t blocks)
    {
        try {
            for (;;) {
                std::unique_lock lock(mutex_);
                if (stop_ || next_ >= blocks)
                    return;
                const int64_t k = next_++;
                Slot& slot = slotOf(k);
                freed_.wait(lock, [&] { return stop_ || slot.owner == k; });
                if (stop_)
                    return;
                lock.unlock();
                maker.make(firstBlock_ + k, slot.bytes);
                lock.lock();
                slot.ready = true;
                // Only the writer waits for a ready block.
                if (writerWaits_ == k)
                    ready_.notify_one();
            }
        } catch (...) {
            std::lock_guard lock(mutex_);
            if (!error_)
                error_ = std::current_exception();
            stop_ = true;
            ready_.notify_all();
            freed_.notify_all();
        }
    }

    // Waits until block k is made; false when the workers stopped first.
    bool waitFor(int64_t k)
    {
        Slot& slot = slotOf(k);
        std::unique_lock lock(mutex_);
        writerWaits_ = k;
        ready_.wait(lock, [&] { return stop_ || (slot.owner == k && slot.ready); });
        writerWaits_ = -1;
        return !stop_;
    }
    std::string_view text(int64_t k) { return slotOf(k).bytes.text(); }

    // Block k is written: its slot goes to block k + slots.
    void release(int64_t k)
    {
        Slot& slot = slotOf(k);
        std::lock_guard lock(mutex_);
        slot.ready = false;
        slot.owner = k + int64_t(slots_.size());
        freed_.notify_all();
    }

    void stop()
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        freed_.notify_all();
        ready_.notify_all();
    }
    std::exception_ptr error() const { return error_; }

private:
    struct Slot {
        BlockBytes bytes;
        int64_t owner = 0; // the block that may use this slot next
        bool ready = false;
    };
    Slot& slotOf(int64_t k) { return slots_[std::size_t(k % int64_t(slots_.size()))]; }

    std::vector<Slot> slots_;
    int64_t firstBlock_;
    std::mutex mutex_;
    std::condition_variable ready_, freed_;
    int64_t next_ = 0;
    int64_t writerWaits_ = -1;
    bool stop_ = false;
    std::exception_ptr error_;
};

int reportFailure(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        printUtf8Error(utf8(Text::GenerateFailedWhy, {e.what()}));
    } catch (...) {
        printUtf8Error(utf8(Text::GenerateFailed));
    }
    return kExitOutput;
}

} // namespace

int runBlockLoop(const BlockPlan& plan, const BlockMakerFactory& factory, OutputSink& sink, int workers)
{
    const int64_t firstBlock = plan.firstBlock();
    const int64_t blocks = plan.endBlock() - firstBlock;
    const int n = workerCount(workers, blocks);
    // Each worker draws with its own copy of the command's key.
    std::vector<std::unique_ptr<RandomGen>> sources;
    std::vector<std::unique_ptr<BlockMaker>> makers;
    for (int i = 0; i < n; ++i) {
        sources.push_back(std::make_unique<RandomGen>(g_core->random().sameKey()));
        makers.push_back(factory(*sources.back()));
    }
    Progress progress(plan.end - plan.first);
    if (blocks <= 1) { // a short run: no thread to start
        try {
            BlockBytes block;
            if (blocks == 1) {
                makers[0]->make(firstBlock, block);
                sink.writeEncoded(block.text()); // finishOutput reports a failed write
            }
        } catch (...) {
            return reportFailure(std::current_exception());
        }
        return finishOutput(sink);
    }

    // Four blocks per worker: while one is written, a worker goes on making
    // the next ones, and is not held up by each wake-up of the writer.
    BlockRing ring(4 * std::size_t(n), firstBlock);
    std::vector<std::thread> threads;
    threads.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i)
        threads.emplace_back([&ring, &maker = *makers[std::size_t(i)], blocks] { ring.work(maker, blocks); });
    int64_t done = 0;
    for (int64_t k = 0; k < blocks; ++k) {
        if (!ring.waitFor(k))
            break;
        const bool ok = sink.writeEncoded(ring.text(k));
        ring.release(k);
        if (!ok) { // a failed write, or the reader went away
            ring.stop();
            break;
        }
        done += plan.writtenIn(firstBlock + k);
        progress.at(done);
    }
    for (std::thread& t : threads)
        t.join();
    if (ring.error())
        return reportFailure(ring.error());
    return finishOutput(sink);
}
