#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// How a run of a command-line program ended: its status and what it wrote.
struct CliResult {
    int exitCode = -1; // -1: it crashed or did not finish
    QByteArray out;
    QByteArray err;
};

// Runs the program to its end in process, which the caller may have set up (limits, where the
// output goes). No time limit of its own: a run that hangs is stopped by the test's timeout.
inline CliResult RunCli(QProcess& process, const QString& program, const QStringList& arguments) {
    process.start(program, arguments);
    CliResult result;
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

inline CliResult RunCli(const QString& program, const QStringList& arguments) {
    QProcess process;
    return RunCli(process, program, arguments);
}
