// Commands run to their end, for the tests that drive programs from outside.
#pragma once

#include <QDebug>
#include <QProcess>
#include <QStringList>

// Runs a command to its end, for at most two minutes; its standard output,
// then its errors, trimmed. A command that cannot start or does not end in
// time is reported as a warning, which fails the running test; so is one that
// ends with a failure status, unless exitCode is given to take the status.
inline QString run(const QString &program, const QStringList &arguments, int *exitCode = nullptr)
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
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    const QString output = QString::fromUtf8(process.readAllStandardOutput()) + errors;
    const int status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (exitCode)
        *exitCode = status;
    else if (status != 0)
        qWarning().noquote() << program << arguments.join(u' ') << "failed:" << errors;
    return output.trimmed();
}
