#include "cli/row_loop.h"

#include "cli/cli_common.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_set>

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
    printError("无法写入文件 " + common.out + "：" + sink->error().toStdString(), true);
    return nullptr;
}

int finishOutput(OutputSink& sink)
{
    if (sink.finish() || sink.pipeClosed())
        return kExitOk;
    printError((sink.path().isEmpty() ? std::string("写入输出失败：") : "写入文件 " + sink.path().toStdString() + " 失败：")
                   + sink.error().toStdString(),
               true);
    return kExitOutput;
}

int runUniqueLoop(const RowLoopOptions& o, const RowMaker& make, OutputSink& sink)
{
    if (uint64_t(o.count) > o.distinctLimit) {
        printError("这些选项最多只能生成 " + std::to_string(o.distinctLimit) + " 个不同的结果，无法生成 "
                       + std::to_string(o.count) + " 个互不相同的结果",
                   true);
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
                printError("已生成 " + std::to_string(i) + " 个不同的结果，无法再生成新的结果（--unique）", true);
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
