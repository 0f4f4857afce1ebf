#include "core/ccore.h"

#include "core/config_store.h"
#include "core/core_options.h"

#include "core/gbk.h"
#include "sys/files.h"
#include "sys/program_folder.h"
#include "core/textutil.h"

#include <cstdio>
#include <filesystem>
#include <utility>

CCore* g_core = nullptr;
tagSoft* g_soft = nullptr;

CCore::CCore() : CCore(CoreOptions{}) {}

CCore::CCore(CoreOptions options)
    : random_(options.random ? std::move(options.random) : std::make_unique<RandomGen>(RandomGen::secure())),
      store_(std::make_unique<ConfigStore>(openSettings(options.configPath))),
      appPath_(options.appPath.empty() ? sys::programFolder() : options.appPath)
{
    appPath_ = folderWithSeparator(std::move(appPath_), char(std::filesystem::path::preferred_separator));
}

std::string folderWithSeparator(std::string folder, char preferred)
{
    if (!folder.empty() && (folder.back() == '/' || folder.back() == preferred))
        return folder;
    folder += preferred != '/' && folder.find(preferred) != std::string::npos ? preferred : '/';
    return folder;
}

CCore::~CCore() = default;

int CCore::getConfigB(const OptionDef& option) { return store_->getB(option); }
void CCore::saveConfigB(const OptionDef& option, int value) { store_->setB(option, value); }
int CCore::getConfigInt(const OptionDef& option) { return store_->getInt(option); }
void CCore::saveConfigInt(const OptionDef& option, int value) { store_->setInt(option, value); }
CString CCore::getConfigStr(const OptionDef& option) { return store_->getStr(option); }
void CCore::saveConfigStr(const OptionDef& option, const CString& value) { store_->setStr(option, value); }

CString CCore::getAppPath()
{
    // A folder name GBK cannot hold is kept as UTF-8 bytes rather than lost.
    if (auto bytes = gbk::fromUtf8(appPath_))
        return *bytes;
    return appPath_;
}

CString CCore::getFg(const CString& s, char sep, int index)
{
    return textutil::field(s, sep, index);
}

int CCore::isFileExist(const CString& path)
{
    return sys::fileExists(gbk::toUtf8(path)) ? 1 : 0;
}

bool CCore::createFile(const CString& path, int)
{
    // The program passes 1 (keep an existing file); nothing else is offered.
    return sys::createFileKeeping(gbk::toUtf8(path));
}

void CCore::msgboxWarning(HWND owner, const CString& text)
{
    if (presenter_) {
        presenter_->warning(owner, text);
        return;
    }
    std::fprintf(stderr, "%s\n", gbk::toUtf8(text).c_str());
}

CString CCore::uu(tagOprType op, tagSoft* soft, const CString&)
{
    if (op == OPR_ABOUT && presenter_)
        presenter_->about(nullptr, soft);
    return {};
}
