#include "core/output_location.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <system_error>

#ifdef _WIN32
#include "core/win32/cp936.h"

#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace outloc {
namespace {
bool isSeparator(char c)
{
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

std::string joined(std::string_view folder, std::string_view name)
{
    std::string path = folder.empty() ? std::string(".") : std::string(folder);
    if (!isSeparator(path.back()))
        path += char(fs::path::preferred_separator);
    path += name;
    return path;
}

// A UTF-8 name as a path. On Windows a narrow path would be read in the
// ANSI code page, which cannot name every folder.
fs::path nativePath(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

[[maybe_unused]] bool sameFolder(const std::string& a, const char* b)
{
    std::error_code ec1, ec2;
    const fs::path ca = fs::weakly_canonical(nativePath(a), ec1);
    const fs::path cb = fs::weakly_canonical(nativePath(b), ec2);
    return !ec1 && !ec2 && ca == cb;
}

bool isInstalledFolder([[maybe_unused]] const std::string& folder)
{
#ifdef KELVANE_INSTALL_BINDIR
    if (sameFolder(folder, KELVANE_INSTALL_BINDIR))
        return true;
#endif
#ifndef _WIN32
    for (const char* system : {"/usr/bin", "/usr/local/bin", "/bin"})
        if (sameFolder(folder, system))
            return true;
#endif
    return false;
}

#ifndef _WIN32
// The home folder from the user database, for a session without $HOME.
std::string homeFromPasswd()
{
    const struct passwd* pw = getpwuid(getuid());
    return pw && pw->pw_dir ? std::string(pw->pw_dir) : std::string();
}
#endif
} // namespace

std::string outputFilePath(std::string_view programFolder, bool programFolderWritable, std::string_view dataHome)
{
    if (programFolderWritable || dataHome.empty())
        return joined(programFolder, kOutputFileName);
    return joined(joined(dataHome, kDataFolderName), kOutputFileName);
}

std::string xdgDataHome(const char* xdgDataHomeVar, const char* home)
{
    // Relative values are ignored, as the base directory rules require.
    if (xdgDataHomeVar && xdgDataHomeVar[0] == '/')
        return xdgDataHomeVar;
    if (home && home[0] == '/')
        return joined(joined(home, ".local"), "share");
    return {};
}

bool programFolderWritable(const std::string& folder)
{
    if (folder.empty() || isInstalledFolder(folder))
        return false;
#ifdef _WIN32
    // Access rights on Windows are only known by trying; the probe deletes
    // itself when closed.
    const std::wstring probe = cp936::utf8ToWide(joined(folder, ".kelvane-write-probe"));
    HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
#else
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
#endif
}

std::string locateOutputFile(const std::string& programFolder)
{
    std::string dataHome;
#ifdef _WIN32
    if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local && *local)
        dataHome = cp936::wideToUtf8(local);
#else
    const char* home = std::getenv("HOME");
    const std::string passwdHome = (home && *home) ? std::string() : homeFromPasswd();
    dataHome = xdgDataHome(std::getenv("XDG_DATA_HOME"), passwdHome.empty() ? home : passwdHome.c_str());
#endif
    const bool beside = programFolderWritable(programFolder);
    const std::string path = outputFilePath(programFolder, beside, dataHome);
    if (!beside && !dataHome.empty()) {
        std::error_code ec;
        fs::create_directories(nativePath(path).parent_path(), ec);
    }
    return path;
}

} // namespace outloc
