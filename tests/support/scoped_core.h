#pragma once
// A CCore for one test, installed as g_core and removed again afterwards.
// Its store lives in a private temporary folder; its random source is the one
// given (scripted results, a seeded stream, or the secure source).
#include "core/ccore.h"
#include "core/config_store.h"
#include "core/core_options.h"
#include "support/temp_dir.h"

#include <memory>
#include <string>
#include <vector>

#include "support/test_store.h"

class ScopedCore {
public:
    explicit ScopedCore(std::unique_ptr<RandomGen> random = nullptr, std::string appPath = std::string())
        : appPath_(appPath.empty() ? dir_.path() : appPath)
    {
        previous_ = g_core;
        open(std::move(random));
    }
    // A new core on the same store, as at the next start.
    void restart()
    {
        core_.reset();
        open(nullptr);
    }
    static ScopedCore scripted(std::vector<int> results)
    {
        return ScopedCore(std::make_unique<RandomGen>(RandomGen::scripted(std::move(results))));
    }
    static ScopedCore seeded(const char* seed)
    {
        return ScopedCore(std::make_unique<RandomGen>(RandomGen::seeded(seed)));
    }
    ScopedCore(ScopedCore&&) = delete;
    ~ScopedCore()
    {
        if (core_ && g_core == core_.get())
            g_core = previous_;
#ifdef _WIN32
        core_.reset();
        removeStore(configPath());
#endif
    }

    CCore& core() { return *core_; }
    CCore* operator->() { return core_.get(); }
    RandomGen& random() { return core_->random(); }
    // Replaces the random source, e.g. with a new script for the next step.
    void script(std::vector<int> results)
    {
        core_->setRandom(std::make_unique<RandomGen>(RandomGen::scripted(std::move(results))));
    }
    // The program folder the core reports (UTF-8, no trailing separator).
    std::string folder() const { return dir_.path(); }
#ifdef _WIN32
    // The options live in a registry key of the test's own, removed afterwards.
    std::string configPath() const
    {
        const std::string p = dir_.path();
        return "Software\\Kelvane\\Tests\\" + p.substr(p.find_last_of("/\\") + 1);
    }
#else
    std::string configPath() const { return dir_.filePath("Kelvane.ini"); }
#endif

private:
    void open(std::unique_ptr<RandomGen> random)
    {
        CoreOptions o;
        o.configPath = configPath();
        o.appPath = appPath_;
        o.random = std::move(random);
        core_ = std::make_unique<CCore>(std::move(o));
        g_core = core_.get();
    }

    TempDir dir_;
    std::string appPath_;
    std::unique_ptr<CCore> core_;
    CCore* previous_ = nullptr;
};
