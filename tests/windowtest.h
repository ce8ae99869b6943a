// Helpers shared by the tests that drive the real window.
#pragma once

#include "app/app.h"
#include "window/controls/clicklabel.h"
#include "window/controls/imagebutton.h"
#include "window/controls/phoneedit.h"
#include "window/controls/textbox.h"
#include "window/frmmain.h"

#include "pixels.h"
#include "schemes.h"
#include "skin.h"
#include "warnings.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <memory>

// A new window, shown and exposed by the platform; null if it never was.
inline std::unique_ptr<frmmain> shownWindow()
{
    auto window = std::make_unique<frmmain>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    return window;
}

// The control of window named name, of class Control; a missing one is
// reported as a warning, which fails the running test, and gives null.
template<typename Control> Control *findControl(const QWidget &window, const char *name)
{
    auto *control = window.findChild<Control *>(QLatin1StringView(name));
    if (!control)
        qWarning("no control named %s of class %s", name, Control::staticMetaObject.className());
    return control;
}

// Declares variable as the control of window named name, of class Type.
// (Type is a type name, which cannot stand in parentheses.)
// NOLINTBEGIN(bugprone-macro-parentheses)
#define CONTROL(Type, variable, window, name)                                                      \
    auto *const variable = findControl<Type>((window), name);                                      \
    QVERIFY(variable)
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

// Base of the test classes that drive the window: the application set up as
// the program does it, a new window for each test, and the controls that
// most tests use. A test class that needs more calls these first.
class WindowFixture : public QObject
{
    Q_OBJECT

protected slots:
    void initTestCase()
    {
        configureApplication();
        passOverExpectedWarnings();
        // The window looks and works the same on a desktop of another scheme.
        if (const std::optional<QPalette> scheme = schemes::fromEnvironment())
            QApplication::setPalette(*scheme);
    }

    void init()
    {
        failOnUnexpectedWarnings();
        m_window = shownWindow();
        QVERIFY2(m_window, "the window was never exposed");
        m_phone = findControl<PhoneEdit>(*m_window, "Text2");
        m_test = findControl<QPushButton>(*m_window, "CmmTest");
        m_output = findControl<TextBox>(*m_window, "Text1");
        m_link = findControl<ClickLabel>(*m_window, "Label7");
        m_question = findControl<TextBox>(*m_window, "Text4");
        m_close = findControl<ImageButton>(*m_window, "Image1");
        m_boxes = answerBoxes(*m_window);
        QCOMPARE(m_boxes.size(), 4);
    }

    void cleanup() { m_window.reset(); }

protected:
    std::unique_ptr<frmmain> m_window;
    PhoneEdit *m_phone = nullptr;
    QPushButton *m_test = nullptr;
    TextBox *m_output = nullptr;
    ClickLabel *m_link = nullptr;
    TextBox *m_question = nullptr;
    ImageButton *m_close = nullptr;
    QList<QAbstractButton *> m_boxes; // the answers A to D
};
