// Helpers shared by the tests that drive the real window.
#pragma once

#include "app.h"
#include "frmmain.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QtTest>

#include <algorithm>

#include <memory>

// The offscreen platform warns about what it cannot do for a window (size
// hints, mouse grabs); those warnings say nothing about the program.
inline void ignoreOffscreenLimits()
{
    static QtMessageHandler next = nullptr;
    next = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (!message.startsWith(QLatin1StringView("This plugin does not support")))
                next(type, context, message);
        });
}

// Sets the application up as the program does, quiet about the platform.
inline void setUpApplication()
{
    configureApplication();
    ignoreOffscreenLimits();
}

// A new window, shown and exposed by the platform; null if it never was.
inline std::unique_ptr<frmmain> shownWindow()
{
    auto window = std::make_unique<frmmain>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    return window;
}

// Declares variable as the control of window named name, of class Type. A
// missing control fails the test that asked for it, naming the control.
#define CONTROL(Type, variable, window, name)                                                      \
    auto *const variable = (window).findChild<Type *>(QStringLiteral(name));                       \
    QVERIFY2(variable, "no control named " name " of class " #Type)

// The four answer boxes, A to D from the top down.
inline QList<QAbstractButton *> answerBoxes(const QWidget &window)
{
    QList<QAbstractButton *> boxes
        = window.findChildren<QAbstractButton *>(QStringLiteral("Check1"));
    std::sort(boxes.begin(), boxes.end(),
        [](QAbstractButton *a, QAbstractButton *b) { return a->y() < b->y(); });
    return boxes;
}

// Compares a pixel with a small tolerance; saves the image when it differs.
inline bool pixelIs(const QImage &image, QPoint at, QColor expected, const QString &saveAs)
{
    const QColor actual = image.pixelColor(at);
    const bool close = std::abs(actual.red() - expected.red()) <= 2
        && std::abs(actual.green() - expected.green()) <= 2
        && std::abs(actual.blue() - expected.blue()) <= 2;
    if (!close) {
        image.save(saveAs);
        qWarning() << "pixel" << at << "is" << actual.name() << "not" << expected.name()
                   << "; saved" << saveAs;
    }
    return close;
}
