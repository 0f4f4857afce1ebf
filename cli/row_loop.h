#pragma once
// The loop every row-making subcommand shares: make `count` rows, optionally
// all different, write them to the output, show progress on a terminal, and
// stop quietly when the reader of standard output goes away.
#include "cli/output_sink.h"
#include "core/types.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

struct CommonOptions;

struct RowLoopOptions {
    int64_t count = 0;
    bool unique = false;
    // At most this many different rows can be made (saturating); with
    // --unique a larger count is refused before any output.
    uint64_t distinctLimit = UINT64_MAX;
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

private:
    void show(int64_t done);
    bool enabled_;
    bool shown_ = false;
    int64_t total_;
    std::chrono::steady_clock::time_point last_{};
};

// The output the common options name; null (after a message) when it
// cannot be opened.
std::unique_ptr<OutputSink> openOutput(const CommonOptions& common);
// Ends the output: 0 when everything was written or the reader went away,
// 1 (after a message) when a write failed.
int finishOutput(OutputSink& sink);
// The --unique loop: returns 0 done, 1 output failed, 2 cannot be met.
int runUniqueLoop(const RowLoopOptions& options, const RowMaker& make, OutputSink& sink);

// Opens the output and makes the rows into it; make(out) appends one row.
// Returns the exit status (see above; 1 also when the output cannot be opened).
template <class Make>
int writeRows(const CommonOptions& common, const RowLoopOptions& options, Make make)
{
    const auto sink = openOutput(common);
    if (!sink)
        return 1;
    if (options.unique)
        return runUniqueLoop(options, RowMaker(make), *sink);
    // Rows go straight into the output buffer, with the maker inlined.
    std::string& buf = sink->buffer();
    const bool crlf = sink->lineEnd().size() == 2;
    Progress progress(options.count);
    for (int64_t i = 0; i < options.count; ++i) {
        make(buf);
        if (crlf)
            buf.push_back('\r');
        buf.push_back('\n');
        if (!sink->written())
            break;
        progress.tick(i);
    }
    return finishOutput(*sink);
}
