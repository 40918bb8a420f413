#pragma once

#include <QProcess>
#include <QStringList>

// One run of zurevavud-cli: exit status (-1 if it crashed) and what it printed.
struct Result {
    int status = -1;
    QByteArray out, err;
};

inline Result runCli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(ZUREVAVUD_CLI), args);
    p.waitForFinished(120000);
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
        p.readAllStandardError() };
}
