#include "cli/row_loop.h"

#include "cli/cli_common.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <unordered_set>

namespace {

class Progress {
public:
    explicit Progress(int64_t total) : enabled_(stderrIsTerminal() && total >= 100000), total_(total) {}
    void tick(int64_t done)
    {
        if (!enabled_ || (done & 0xffff) != 0)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(250))
            return;
        last_ = now;
        std::fprintf(stderr, "\r%lld / %lld 行 (%d%%)", (long long)done, (long long)total_,
                     int(done * 100 / total_));
        shown_ = true;
    }
    ~Progress()
    {
        if (shown_)
            std::fputs("\r\033[K", stderr);
    }

private:
    bool enabled_;
    int64_t total_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_{};
};

int finishWith(OutputSink& sink)
{
    if (sink.finish() || sink.pipeClosed())
        return kExitOk;
    printError("写入输出失败：" + sink.error().toStdString(), true);
    return kExitOutput;
}

} // namespace

int runRowLoop(const RowLoopOptions& o, const RowMaker& make, OutputSink& sink)
{
    if (o.unique && uint64_t(o.count) > o.distinctLimit) {
        printError("这些选项最多只能生成 " + std::to_string(o.distinctLimit) + " 个不同的结果，无法生成 "
                       + std::to_string(o.count) + " 个互不相同的结果",
                   true);
        return kExitInvalid;
    }
    Progress progress(o.count);
    CString row;
    if (!o.unique) {
        for (int64_t i = 0; i < o.count; ++i) {
            row.clear();
            make(row);
            if (!sink.row(row))
                return finishWith(sink);
            progress.tick(i);
        }
        return finishWith(sink);
    }
    // Each new row may take several draws; a run of failed draws this long
    // means the remaining rows are (almost surely) out of reach.
    const uint64_t limit = o.distinctLimit > (UINT64_MAX - 100000) / 20 ? UINT64_MAX : 20 * o.distinctLimit + 100000;
    std::unordered_set<CString> seen;
    seen.reserve(std::size_t(std::min<int64_t>(o.count, 1 << 24)));
    for (int64_t i = 0; i < o.count; ++i) {
        uint64_t misses = 0;
        for (;;) {
            row.clear();
            make(row);
            if (seen.insert(row).second)
                break;
            if (++misses >= limit) {
                printError("已生成 " + std::to_string(i) + " 个不同的结果，无法再生成新的结果（--unique）", true);
                if (!sink.isFile())
                    sink.finish(); // the rows already printed stay printed; a file is never half written
                return kExitInvalid;
            }
        }
        if (!sink.row(row))
            return finishWith(sink);
        progress.tick(i);
    }
    return finishWith(sink);
}

int writeRows(const CommonOptions& common, const RowLoopOptions& options, const RowMaker& make)
{
    OutputSink sink(QString::fromStdString(common.out), common.enc(), common.lineEnd());
    if (!sink.open()) {
        printError("无法写入文件 " + common.out + "：" + sink.error().toStdString(), true);
        return kExitOutput;
    }
    return runRowLoop(options, make, sink);
}
