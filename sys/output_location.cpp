// Where the output file goes, decided the same way on every system from
// what the system says about its folders (sys/output_folder.h).
#include "sys/output_location.h"

#include "sys/output_folder.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace outloc {
namespace {
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

bool sameFolder(const std::string& a, const char* b)
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
    for (const std::string& system : systemProgramFolders())
        if (sameFolder(folder, system.c_str()))
            return true;
    return false;
}
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
    return canCreateFilesIn(folder);
}

std::string locateOutputFile(const std::string& programFolder)
{
    const std::string dataHome = userDataFolder();
    const bool beside = programFolderWritable(programFolder);
    const std::string path = outputFilePath(programFolder, beside, dataHome);
    if (!beside && !dataHome.empty()) {
        std::error_code ec;
        fs::create_directories(nativePath(path).parent_path(), ec);
    }
    return path;
}

} // namespace outloc
