#pragma once
// The loop every row-making subcommand shares: make `count` rows, optionally
// all different, write them to a sink, show progress on a terminal, and stop
// quietly when the reader of standard output goes away.
#include "cli/output_sink.h"
#include "core/types.h"

#include <cstdint>
#include <functional>

struct RowLoopOptions {
    int64_t count = 0;
    bool unique = false;
    // At most this many different rows can be made (saturating); with
    // --unique a larger count is refused before any output.
    uint64_t distinctLimit = UINT64_MAX;
};

// Appends one row (GBK, no line end) to the given text.
using RowMaker = std::function<void(CString& row)>;

// Returns the exit status: 0 done (or output closed by its reader), 1 output
// failed, 2 --unique cannot be met.
int runRowLoop(const RowLoopOptions& options, const RowMaker& make, OutputSink& sink);

struct CommonOptions;
// Opens the output the common options name and runs the loop into it; a
// target that cannot be opened exits 1 with a message.
int writeRows(const CommonOptions& common, const RowLoopOptions& options, const RowMaker& make);
