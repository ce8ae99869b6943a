// Helpers shared by the tests that drive the real window.
#pragma once

#include "app.h"
#include "clicklabel.h"
#include "frmmain.h"
#include "imagebutton.h"
#include "phoneedit.h"
#include "pixels.h"
#include "textbox.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
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
// (Type is a type name, which cannot stand in parentheses.)
// NOLINTBEGIN(bugprone-macro-parentheses)
#define CONTROL(Type, variable, window, name)                                                      \
    auto *const variable = (window).findChild<Type *>(QStringLiteral(name));                       \
    QVERIFY2(variable, "no control named " name " of class " #Type)
// NOLINTEND(bugprone-macro-parentheses)

// The four answer boxes, A to D from the top down.
inline QList<QAbstractButton *> answerBoxes(const QWidget &window)
{
    QList<QAbstractButton *> boxes
        = window.findChildren<QAbstractButton *>(QStringLiteral("Check1"));
    std::sort(boxes.begin(), boxes.end(),
        [](QAbstractButton *a, QAbstractButton *b) { return a->y() < b->y(); });
    return boxes;
}

// Base of the test classes that drive the window: a new window for each test,
// and the controls that most tests use, found by name.
class WindowFixture : public QObject
{
protected:
    // For init(): shows a new window and finds its controls; a missing one
    // fails the test, naming it. Use as QVERIFY(openWindow()).
    bool openWindow()
    {
        m_window = shownWindow();
        if (!m_window)
            return false;
        const auto find = [this](auto *&control, const char *name) {
            using Control = std::remove_reference_t<decltype(*control)>;
            control = m_window->findChild<Control *>(QLatin1StringView(name));
            if (!control)
                qWarning(
                    "no control named %s of class %s", name, Control::staticMetaObject.className());
            return control != nullptr;
        };
        m_boxes = answerBoxes(*m_window);
        return find(m_phone, "Text2") && find(m_test, "CmmTest") && find(m_output, "Text1")
            && find(m_link, "Label7") && find(m_question, "Text4") && find(m_close, "Image1")
            && m_boxes.size() == 4;
    }

    // For cleanup().
    void closeWindow() { m_window.reset(); }

    std::unique_ptr<frmmain> m_window;
    PhoneEdit *m_phone = nullptr;
    QPushButton *m_test = nullptr;
    TextBox *m_output = nullptr;
    ClickLabel *m_link = nullptr;
    TextBox *m_question = nullptr;
    ImageButton *m_close = nullptr;
    QList<QAbstractButton *> m_boxes; // the answers A to D
};
