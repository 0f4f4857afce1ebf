#pragma once
// Runs kelvane-cli as a separate process and collects what it printed.
#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct CliResult {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

inline CliResult runCli(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
                        int timeoutMs = 60000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KELVANE_CLI_PATH), args);
    CliResult r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}
