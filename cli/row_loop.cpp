#include "cli/row_loop.h"

#include "cli/cli_common.h"

#include "core/ccore.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

Progress::Progress(int64_t total) : enabled_(stderrIsTerminal() && total >= 100000), total_(total) {}

Progress::~Progress()
{
    if (shown_)
        std::fputs("\r\033[K", stderr);
}

void Progress::show(int64_t done)
{
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(250))
        return;
    last_ = now;
    std::fprintf(stderr, "\r%lld / %lld 行 (%d%%)", (long long)done, (long long)total_, int(done * 100 / total_));
    shown_ = true;
}

std::unique_ptr<OutputSink> openOutput(const CommonOptions& common)
{
    auto sink = std::make_unique<OutputSink>(QString::fromStdString(common.out), common.enc(), common.lineEnd());
    if (sink->open())
        return sink;
    printUtf8Error("无法写入文件 " + common.out + "：" + sink->error().toStdString());
    return nullptr;
}

int finishOutput(OutputSink& sink)
{
    if (sink.finish() || sink.pipeClosed())
        return kExitOk;
    printUtf8Error((sink.path().isEmpty() ? std::string("写入输出失败：") : "写入文件 " + sink.path().toStdString() + " 失败：")
                   + sink.error().toStdString());
    return kExitOutput;
}

int runUniqueLoop(const RowLoopOptions& o, const RowMaker& make, OutputSink& sink)
{
    if (uint64_t(o.count) > o.distinctLimit) {
        printUtf8Error("这些选项最多只能生成 " + std::to_string(o.distinctLimit) + " 个不同的结果，无法生成 "
                       + std::to_string(o.count) + " 个互不相同的结果");
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
                printUtf8Error("已生成 " + std::to_string(i) + " 个不同的结果，无法再生成新的结果（--unique）");
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

// Hands a block of whole rows to the sink, without a copy when the sink's
// buffer is empty; `block` comes back empty, ready for the next block.
bool writeBlock(OutputSink& sink, std::string& block)
{
    std::string& buf = sink.buffer();
    if (buf.empty())
        buf.swap(block);
    else
        buf.append(block);
    block.clear();
    const bool ok = sink.written();
    if (buf.empty() && buf.capacity() > block.capacity())
        buf.swap(block); // keep the larger room for the blocks
    return ok;
}

// The blocks in flight: block j is made into slot j % slots.size() once the
// writer has written block j - slots.size() from it.
class BlockRing {
public:
    explicit BlockRing(std::size_t size) : slots_(size)
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
                const int64_t j = next_++;
                Slot& slot = slotOf(j);
                freed_.wait(lock, [&] { return stop_ || slot.owner == j; });
                if (stop_)
                    return;
                lock.unlock();
                maker.make(j, slot.data);
                lock.lock();
                slot.ready = true;
                ready_.notify_all();
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

    // Waits until block j is made; false when the workers stopped first.
    bool waitFor(int64_t j)
    {
        Slot& slot = slotOf(j);
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return stop_ || (slot.owner == j && slot.ready); });
        return !stop_;
    }
    std::string& data(int64_t j) { return slotOf(j).data; }

    // Block j is written: its slot goes to block j + slots.
    void release(int64_t j)
    {
        Slot& slot = slotOf(j);
        std::lock_guard lock(mutex_);
        slot.ready = false;
        slot.owner = j + int64_t(slots_.size());
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
        std::string data;
        int64_t owner = 0; // the block that may use this slot next
        bool ready = false;
    };
    Slot& slotOf(int64_t j) { return slots_[std::size_t(j % int64_t(slots_.size()))]; }

    std::vector<Slot> slots_;
    std::mutex mutex_;
    std::condition_variable ready_, freed_;
    int64_t next_ = 0;
    bool stop_ = false;
    std::exception_ptr error_;
};

int reportFailure(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        printUtf8Error(std::string("生成失败：") + e.what());
    } catch (...) {
        printUtf8Error(std::string("生成失败"));
    }
    return kExitOutput;
}

} // namespace

int runBlockLoop(const BlockPlan& plan, const BlockMakerFactory& factory, OutputSink& sink, int workers)
{
    const int64_t blocks = plan.blocks();
    const int n = workerCount(workers, blocks);
    // Each worker draws with its own copy of the command's key.
    std::vector<std::unique_ptr<RandomGen>> sources;
    std::vector<std::unique_ptr<BlockMaker>> makers;
    for (int i = 0; i < n; ++i) {
        sources.push_back(std::make_unique<RandomGen>(g_core->random().sameKey()));
        makers.push_back(factory(*sources.back()));
    }
    Progress progress(plan.count);
    if (blocks <= 1) { // a short run: no thread to start
        try {
            std::string block;
            if (blocks == 1) {
                makers[0]->make(0, block);
                writeBlock(sink, block); // finishOutput reports a failed write
            }
        } catch (...) {
            return reportFailure(std::current_exception());
        }
        return finishOutput(sink);
    }

    BlockRing ring(2 * std::size_t(n)); // two blocks per worker: one made while one is written
    std::vector<std::thread> threads;
    threads.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i)
        threads.emplace_back([&ring, &maker = *makers[std::size_t(i)], blocks] { ring.work(maker, blocks); });
    int64_t done = 0;
    for (int64_t j = 0; j < blocks; ++j) {
        if (!ring.waitFor(j))
            break;
        const bool ok = writeBlock(sink, ring.data(j));
        ring.release(j);
        if (!ok) { // a failed write, or the reader went away
            ring.stop();
            break;
        }
        done += plan.rowsIn(j);
        progress.at(done);
    }
    for (std::thread& t : threads)
        t.join();
    if (ring.error())
        return reportFailure(ring.error());
    return finishOutput(sink);
}
