#pragma once
// Opens a program text the way a desktop's "open" action does. The text is
// one operand, never a command line: nothing is split off as arguments and no
// shell ever sees it.
//  - A text naming an executable file (a path, or a bare name found on PATH)
//    starts that file as a detached process with no arguments.
//  - A text naming an existing document or folder, or an address with a
//    scheme (https:, mailto:, ...), is handed to the desktop's default
//    handler (xdg-open) as its single argument.
//  - Anything else fails to open. A failure is written to stderr; the caller
//    need not look at the result.
#include <QString>
#include <QStringList>

#include <functional>

class Launcher {
public:
    // Starts program with arguments as a detached process, without a shell;
    // false when it could not be started.
    using Starter = std::function<bool(const QString& program, const QStringList& arguments)>;

    // What opening a text comes to: a process to start, or why there is none.
    struct Plan {
        QString program;      // empty: nothing to start
        QStringList arguments;
        QString error;        // set when program is empty
    };

    Launcher(); // starts processes with QProcess::startDetached
    explicit Launcher(Starter starter);

    static Plan plan(const QString& text);

    // Opens text; false (with a line on stderr) when nothing could be started.
    bool open(const QString& text) const;

    static const QString& desktopOpener(); // "xdg-open"

private:
    Starter starter_;
};
