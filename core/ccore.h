#pragma once
// CCore: the core services every part of the program goes through: random
// integers, stored options, field splitting, file helpers, the application
// path, the warning box and About.
#include "core/random.h"
#include "core/soft.h"
#include "core/types.h"

#include <memory>
#include <string>

class ConfigStore;
struct OptionDef;         // core/options.h
struct CoreOptions; // core/core_options.h

// How the core shows its boxes. The window layer installs one; without it the
// core writes its messages to stderr.
class CorePresenter {
public:
    virtual ~CorePresenter() = default;
    virtual void warning(HWND owner, const CString& text) = 0;
    virtual void about(HWND owner, const tagSoft* soft) = 0;
};

class CCore {
public:
    CCore();
    explicit CCore(CoreOptions options);
    ~CCore();
    CCore(const CCore&) = delete;
    CCore& operator=(const CCore&) = delete;

    // Uniform r with lo <= r <= hi; reversed bounds are swapped.
    int getRandInt(int lo, int hi) { return random_->getRandInt(lo, hi); }

    // Stored options, each named by its row of core/options.h (ConfigStore).
    int getConfigB(const OptionDef& option);
    void saveConfigB(const OptionDef& option, int value);
    int getConfigInt(const OptionDef& option);
    void saveConfigInt(const OptionDef& option, int value);
    CString getConfigStr(const OptionDef& option);
    void saveConfigStr(const OptionDef& option, const CString& value);

    // The program's folder, ending with '/'.
    CString getAppPath();
    CString getFg(const CString& s, char sep, int index);
    int isFileExist(const CString& path);
    // Creates the file when missing (flag 1: keep an existing file as it is).
    // Returns false when the file does not exist afterwards.
    bool createFile(const CString& path, int flag);

    void msgboxWarning(HWND owner, const CString& text);
    CString uu(tagOprType op, tagSoft* soft, const CString& text);

    void setPresenter(CorePresenter* presenter) { presenter_ = presenter; }
    RandomGen& random() { return *random_; }
    void setRandom(std::unique_ptr<RandomGen> random) { random_ = std::move(random); }
    ConfigStore& store() { return *store_; }

private:
    std::unique_ptr<RandomGen> random_;
    std::unique_ptr<ConfigStore> store_;
    std::string appPath_; // UTF-8, ending with a separator (folderWithSeparator)
    CorePresenter* presenter_ = nullptr;
};

// folder ending with a separator: the one its name already uses, so that a
// Windows folder (C:\Kelvane) reads C:\Kelvane\ and not C:\Kelvane/.
// preferred is the system's own ('\\' on Windows); '/' is a separator everywhere.
std::string folderWithSeparator(std::string folder, char preferred);

// The one core object and identification record of the window program.
extern CCore* g_core;
extern tagSoft* g_soft;

