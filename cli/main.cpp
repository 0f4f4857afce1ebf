// kelvane-cli: random strings, numbers and timed events for scripts.
#include "cli/cli_common.h"
#include "cli/numbers_cmd.h"
#include "cli/strings_cmd.h"
#include "cli/times_cmd.h"

#include "sys/console.h"

#include <CLI/CLI.hpp>

#include <clocale>
#include <functional>
#include <vector>

int main(int argc, char** argv)
{
    // A closed pipe is seen as a failed write and ends the program quietly.
    sys::prepareCommandLine();
    std::setlocale(LC_ALL, "");

    CLI::App app("Kelvane: random test data for scripts and pipelines", "kelvane-cli");
    app.set_version_flag("--version", std::string("kelvane-cli ") + KELVANE_VERSION);
    app.require_subcommand(1);
    std::vector<std::function<int()>> commands;
    commands.push_back(addStringsCommand(app));
    commands.push_back(addNumbersCommand(app));
    commands.push_back(addTimesCommand(app));
    try {
        app.parse(argsForParse(app, sys::commandLineArguments(argc, argv)));
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        return rc == 0 ? 0 : kExitInvalid;
    }
    for (auto& run : commands)
        if (int rc = run(); rc >= 0)
            return rc;
    return kExitInvalid;
}
