// Every test fails on a warning it does not expect. The few warnings that say
// nothing about the program are named here and passed over.
#pragma once

#include <QRegularExpression>
#include <QtTest>

// Qt's offscreen platform warns about what it cannot do for a window (size
// hints, mouse grabs).
inline bool isExpectedWarning(const QString &message)
{
    return message.startsWith(QLatin1StringView("This plugin does not support"));
}

// From here on, the expected warnings above are passed over.
inline void passOverExpectedWarnings()
{
    static QtMessageHandler next = nullptr;
    next = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (type != QtWarningMsg || !isExpectedWarning(message))
                next(type, context, message);
        });
}

// For init(): any other warning fails the running test.
inline void failOnUnexpectedWarnings()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}
