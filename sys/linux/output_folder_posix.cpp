#include "sys/output_folder.h"
#include "sys/output_location.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace outloc {
namespace {
// The home folder from the user database, for a session without $HOME.
std::string homeFromPasswd()
{
    const struct passwd* pw = getpwuid(getuid());
    return pw && pw->pw_dir ? std::string(pw->pw_dir) : std::string();
}
} // namespace

bool isSeparator(char c)
{
    return c == '/';
}

std::string userDataFolder()
{
    const char* home = std::getenv("HOME");
    const std::string passwdHome = (home && *home) ? std::string() : homeFromPasswd();
    return xdgDataHome(std::getenv("XDG_DATA_HOME"), passwdHome.empty() ? home : passwdHome.c_str());
}

bool canCreateFilesIn(const std::string& folder)
{
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::vector<std::string> systemProgramFolders()
{
    return {"/usr/bin", "/usr/local/bin", "/bin"};
}

} // namespace outloc
