// For the end-to-end tests: xdotool, whose pointer and key input reaches the
// programs on the X server as a user's does.
#pragma once

#include "run.h"

#include <QMap>
#include <QRect>

inline QString xdotool(const QStringList &arguments)
{
    return run(QStringLiteral("xdotool"), arguments);
}

// The program's window, once it is shown: its X id (with a line for each,
// should there be more than one).
inline QString programWindow()
{
    return xdotool(
        { QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
            QStringLiteral("--name"), QStringLiteral("^手机号码吉祥如意测算$") });
}

// A window's place and size on the screen, as xdotool tells them.
inline QRect windowGeometry(const QString &window)
{
    QMap<QString, int> value;
    for (const QString &line :
        xdotool({ QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window })
            .split(u'\n'))
        value.insert(line.section(u'=', 0, 0), line.section(u'=', 1).toInt());
    return QRect(value[QStringLiteral("X")], value[QStringLiteral("Y")],
        value[QStringLiteral("WIDTH")], value[QStringLiteral("HEIGHT")]);
}
