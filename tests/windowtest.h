// Helpers shared by the tests that drive the real window.
#pragma once

#include "app.h"
#include "frmmain.h"

#include <QCheckBox>
#include <QImage>
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

// Finds a control of the window by its name, failing the test when missing.
template<typename Control> Control *control(const QWidget &window, const char *name)
{
    auto *found = window.findChild<Control *>(QLatin1StringView(name));
    if (!found)
        qWarning("no control named %s", name);
    return found;
}

// The four answer boxes, by their index.
inline QList<QCheckBox *> answerBoxes(const QWidget &window)
{
    QList<QCheckBox *> boxes = window.findChildren<QCheckBox *>(QStringLiteral("Check1"));
    std::sort(boxes.begin(), boxes.end(), [](QCheckBox *a, QCheckBox *b) {
        return a->property("Index").toInt() < b->property("Index").toInt();
    });
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
