#include "core/ccore.h"

#include "core/config_store.h"
#include "core/core_options.h"

#include "core/gbk.h"
#include "core/textutil.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <filesystem>
#include <system_error>

CCore* g_core = nullptr;
tagSoft* g_soft = nullptr;

namespace {
QString runningProgramFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return QStringLiteral(".");
    return QString::fromStdString(exe.parent_path().string());
}
} // namespace

QString pathFromGbk(const CString& path)
{
    return gbk::decode(path);
}

CCore::CCore() : CCore(CoreOptions{}) {}

CCore::CCore(CoreOptions options)
    : random_(options.random ? std::move(options.random) : std::make_unique<RandomGen>(RandomGen::secure())),
      store_(std::make_unique<ConfigStore>(options.configPath.isEmpty() ? ConfigStore::defaultPath()
                                                                        : options.configPath)),
      appPath_((options.appPath.isEmpty() ? runningProgramFolder() : options.appPath).toStdString())
{
    if (appPath_.empty() || appPath_.back() != '/')
        appPath_ += '/';
}

CCore::~CCore() = default;

int CCore::getConfigB(const CString& key) { return store_->getB(key); }
void CCore::saveConfigB(const CString& key, int value) { store_->setB(key, value); }
int CCore::getConfigInt(const CString& key) { return store_->getInt(key); }
void CCore::saveConfigInt(const CString& key, int value) { store_->setInt(key, value); }
CString CCore::getConfigStr(const CString& key) { return store_->getStr(key); }
void CCore::saveConfigStr(const CString& key, const CString& value) { store_->setStr(key, value); }

CString CCore::getAppPath()
{
    // A folder name GBK cannot hold is kept as UTF-8 bytes rather than lost.
    if (auto bytes = gbk::encode(QString::fromStdString(appPath_)))
        return *bytes;
    return appPath_;
}

CString CCore::getFg(const CString& s, char sep, int index)
{
    return textutil::field(s, sep, index);
}

int CCore::isFileExist(const CString& path)
{
    return QFileInfo::exists(pathFromGbk(path)) ? 1 : 0;
}

bool CCore::createFile(const CString& path, int flag)
{
    QFile f(pathFromGbk(path));
    const auto mode = flag == 1 ? (QIODevice::WriteOnly | QIODevice::Append) : QIODevice::WriteOnly;
    if (!f.open(mode))
        return false;
    f.close();
    return true;
}

void CCore::msgboxWarning(HWND owner, const CString& text)
{
    if (presenter_) {
        presenter_->warning(owner, text);
        return;
    }
    std::fprintf(stderr, "%s\n", gbk::decode(text).toLocal8Bit().constData());
}

CString CCore::uu(tagOprType op, tagSoft* soft, const CString&)
{
    if (op == OPR_ABOUT && presenter_)
        presenter_->about(nullptr, soft);
    return {};
}
