#include "sys/program_folder.h"

#include <filesystem>
#include <system_error>

namespace sys {

std::string programFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return ".";
    return exe.parent_path().string();
}

} // namespace sys
