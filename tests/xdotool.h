// For the end-to-end tests: commands run to their end, and xdotool, whose
// pointer and key input reaches the programs on the X server as a user's does.
#pragma once

#include <QProcess>
#include <QStringList>

// Runs a command (waiting at most 20 s); its standard output, trimmed.
inline QString run(const QStringList &command)
{
    QProcess process;
    process.start(command.first(), command.mid(1));
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

inline QString xdotool(const QStringList &arguments)
{
    return run(QStringList { QStringLiteral("xdotool") } + arguments);
}
