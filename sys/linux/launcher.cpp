// Opening a program text as one operand: an executable is started, anything
// else goes to the desktop's default handler.
#include "sys/linux/launcher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <cstdio>
#include <utility>

namespace {

bool isExecutableFile(const QFileInfo& info)
{
    return info.isFile() && info.isExecutable();
}

Launcher::Plan run(const QString& path)
{
    return Launcher::Plan{path, {}, {}};
}

Launcher::Plan openWithDesktop(const QString& operand)
{
    return Launcher::Plan{Launcher::desktopOpener(), {operand}, {}};
}

Launcher::Plan fail(const QString& why)
{
    return Launcher::Plan{{}, {}, why};
}

// An address such as https://host/ or mailto:someone. At least two letters
// of scheme, so a drive-like "c:" prefix is not taken for one; strict
// parsing turns away blanks and other characters no address may hold.
bool isAddress(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() && url.scheme().size() >= 2;
}

} // namespace

Launcher::Launcher()
    : starter_([](const QString& program, const QStringList& arguments) {
          return QProcess::startDetached(program, arguments);
      })
{
}

Launcher::Launcher(Starter starter) : starter_(std::move(starter)) {}

const QString& Launcher::desktopOpener()
{
    static const QString opener = QStringLiteral("xdg-open");
    return opener;
}

Launcher::Plan Launcher::plan(const QString& text)
{
    if (text.isEmpty())
        return fail(QStringLiteral("empty program text"));
    if (text.contains(QChar(0)))
        return fail(QStringLiteral("program text holds a NUL character"));

    // A bare name is looked up on PATH first, as a desktop's run box does.
    if (!text.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(text);
        if (!found.isEmpty() && isExecutableFile(QFileInfo(found)))
            return run(found);
    }
    // Otherwise the text is a path, relative to the working folder when it
    // does not start with '/'. Absolute paths never start with '-', so the
    // opener cannot take one for an option.
    const QFileInfo info(text);
    if (isExecutableFile(info))
        return run(info.absoluteFilePath());
    if (info.exists())
        return openWithDesktop(info.absoluteFilePath());
    if (isAddress(text))
        return openWithDesktop(text);
    return fail(QStringLiteral("no such program, file, folder or address"));
}

bool Launcher::open(const QString& text) const
{
    const Plan p = plan(text);
    QString why = p.error;
    if (why.isEmpty() && !(starter_ && starter_(p.program, p.arguments)))
        why = QStringLiteral("could not start %1").arg(p.program);
    if (why.isEmpty())
        return true;
    std::fprintf(stderr, "kelvane: cannot open \"%s\": %s\n", text.toUtf8().constData(),
                 why.toUtf8().constData());
    std::fflush(stderr);
    return false;
}
