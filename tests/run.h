// Commands run to their end, for the tests that drive programs from outside.
#pragma once

#include <QDebug>
#include <QProcess>
#include <QStringList>

// What a command said on each of its streams, trimmed, and its exit status
// (-1 if it crashed or never ran).
struct Ran
{
    QString output;
    QString errors;
    int status = -1;
};

// Runs a command to its end, for at most two minutes, keeping its streams
// apart. A command that cannot start or does not end in time is reported as a
// warning, which fails the running test.
inline Ran runApart(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted()) {
        qWarning().noquote() << program << "could not start:" << process.errorString();
        return {};
    }
    if (!process.waitForFinished(120000)) {
        qWarning().noquote() << program << arguments.join(u' ') << "did not end in two minutes";
        process.kill();
        process.waitForFinished();
    }
    return { QString::fromUtf8(process.readAllStandardOutput()).trimmed(),
        QString::fromUtf8(process.readAllStandardError()).trimmed(),
        process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1 };
}

// Runs a command as above; its standard output, then its errors. One that
// ends with a failure status is reported as a warning too, unless exitCode is
// given to take the status.
inline QString run(const QString &program, const QStringList &arguments, int *exitCode = nullptr)
{
    const Ran ran = runApart(program, arguments);
    if (exitCode)
        *exitCode = ran.status;
    else if (ran.status != 0)
        qWarning().noquote() << program << arguments.join(u' ') << "failed:" << ran.errors;
    if (ran.errors.isEmpty())
        return ran.output;
    return (ran.output.isEmpty() ? ran.errors : ran.output + u'\n' + ran.errors);
}
