#include "sys/console.h"

#include <QString>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace sys {

void prepareCommandLine()
{
    std::signal(SIGPIPE, SIG_IGN);
}

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
}

void printError(std::string_view utf8)
{
    const QByteArray text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).toLocal8Bit();
    std::fputs(text.constData(), stderr);
}

void printErrorLine(std::string_view utf8)
{
    printError(std::string(utf8) + '\n');
}

bool stderrIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace sys
