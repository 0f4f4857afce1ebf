#pragma once
// Runs kelvane-cli as a separate process and collects what it printed.
#include <QByteArray>
#include <QDir>
#include <QFile>
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
                        int timeoutMs = 60000, const QString& workDir = QString())
{
    QProcess p;
    p.setProcessEnvironment(env);
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
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

inline QStringList lines(const QByteArray& out)
{
    return QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
}

// An environment whose option store (under configDir) holds ini.
inline QProcessEnvironment envWithStore(const QString& configDir, const QByteArray& ini)
{
    QDir().mkpath(configDir + "/Kelvane");
    QFile f(configDir + "/Kelvane/Kelvane.ini");
    if (f.open(QIODevice::WriteOnly))
        f.write(ini);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", configDir);
    return env;
}
