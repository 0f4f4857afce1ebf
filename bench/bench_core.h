#pragma once
// A CCore for a benchmark program: the secure random source and a throwaway
// option store, installed as g_core for the life of the program.
#include "core/ccore.h"
#include "core/core_options.h"

#include <QTemporaryDir>

#include <memory>

class BenchCore {
public:
    BenchCore()
    {
        CoreOptions o;
        o.configPath = dir_.filePath(QStringLiteral("Kelvane.ini")).toStdString();
        o.appPath = dir_.path().toStdString();
        core_ = std::make_unique<CCore>(std::move(o));
        g_core = core_.get();
    }
    ~BenchCore() { g_core = nullptr; }
    CCore& core() { return *core_; }

private:
    QTemporaryDir dir_;
    std::unique_ptr<CCore> core_;
};

// Installed before main() runs the benchmarks.
inline CCore& benchCore()
{
    static BenchCore core;
    return core.core();
}
