// The extra panel, the password quiz, the drag by the title band and the close
// mark, driven through real events.
#include "engine/fortunenumber.h"
#include "engine/mod_date.h"
#include "window/texts.h"

#include "windowtest.h"

#include <QAccessible>
#include <QClipboard>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTextBlock>

using namespace Qt::Literals::StringLiterals;

class TestPanel : public WindowFixture
{
    Q_OBJECT

private slots:

    void linkOpensAndClosesThePanel();
    void answersShowTheirInterpretation_data();
    void answersShowTheirInterpretation();
    void answerHandlerRunTwiceEndsTheSame();
    void spaceTicksAnAnswer();
    void phoneTestKeepsThePanelOpen();
    void answerBoxesSitAtTheirLines();
    void titleBandDragsTheWindow_data();
    void titleBandDragsTheWindow();
    void closeMarkEndsTheProgram_data();
    void closeMarkEndsTheProgram();
    void randomUseMatchesTheModel();

private:
    void click(QWidget *target, Qt::MouseButton button = Qt::LeftButton);
    void tick(int index);
};

// A click where the platform would deliver it: at the control's centre, in
// the window, so the topmost control there receives it.
void TestPanel::click(QWidget *target, Qt::MouseButton button)
{
    const QPoint at = target->mapTo(m_window.get(), target->rect().center());
    QTest::mouseClick(m_window->windowHandle(), button, {}, at);
}

void TestPanel::tick(int index)
{
    click(m_boxes[index]);
}

void TestPanel::linkOpensAndClosesThePanel()
{
    click(m_link);
    QCOMPARE(m_window->size(), skin::kOpen);
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize()); // not resizable
    QCOMPARE(m_window->panelState(), u"1"_s);
    QCOMPARE(m_output->text(), texts::kNumberTrick);
    QCOMPARE(m_output->text().count(u"\r\n"_s), 18);

    m_output->setText(u"x"_s);
    click(m_link);
    QCOMPARE(m_window->size(), skin::kClosed);
    QCOMPARE(m_window->panelState(), u"0"_s);
    QCOMPARE(m_output->text(), texts::kNumberTrick);

    click(m_link, Qt::RightButton); // only the left button clicks
    QCOMPARE(m_window->panelState(), u"0"_s);
}

void TestPanel::answersShowTheirInterpretation_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<int>("rule");
    QTest::newRow("A") << 0 << u"选A的人：生日或自家电话号码。"_s << 26;
    QTest::newRow("B") << 1 << u"选B的人：身份证号码。"_s << 26;
    QTest::newRow("C") << 2 << u"　　 选C的人：三天两头就视心情而更换。"_s << 27;
    QTest::newRow("D") << 3 << u"　　 选D的人：精心设计，谁也猜不出的奇怪组合。"_s << 28;
}

void TestPanel::answersShowTheirInterpretation()
{
    QFETCH(int, index);
    QFETCH(QString, heading);
    QFETCH(int, rule);

    click(m_link);
    tick(index);

    const QStringList lines = m_output->text().split(u"\r\n"_s);
    QCOMPARE(lines.size(), 5); // four lines, each ending in CR LF
    QCOMPARE(lines[0], QString(rule, u'='));
    QCOMPARE(lines[1], heading);
    QCOMPARE(lines[2], u"　　"_s);
    QVERIFY(lines[3].startsWith(u"　　"_s));
    QCOMPARE(lines[3].endsWith(u' '), index >= 2); // C and D keep their trailing space
    QVERIFY(lines[4].isEmpty());

    QCOMPARE(m_window->height(), skin::kClosed.height());
    QCOMPARE(m_window->panelState(), u"0"_s);
    for (QAbstractButton *box : std::as_const(m_boxes))
        QVERIFY(!box->isChecked());
}

void TestPanel::answerHandlerRunTwiceEndsTheSame()
{
    // Some toolkits report clearing the box as a second click.
    click(m_link);
    tick(2);
    const QString once = m_output->text();
    Q_EMIT m_boxes[2]->toggled(true);
    QCOMPARE(m_output->text(), once);
    QCOMPARE(m_window->height(), skin::kClosed.height());
    QCOMPARE(m_window->panelState(), u"0"_s);
    QVERIFY(!m_boxes[2]->isChecked());

    click(m_link); // opens again
    QCOMPARE(m_window->panelState(), u"1"_s);
}

void TestPanel::spaceTicksAnAnswer()
{
    click(m_link);
    m_boxes[3]->setFocus();
    QTest::keyClick(m_boxes[3], Qt::Key_Space);
    QCOMPARE(m_output->text(), texts::kAnswerD);
    QCOMPARE(m_window->height(), skin::kClosed.height());
    QVERIFY(!m_boxes[3]->isChecked());
}

void TestPanel::phoneTestKeepsThePanelOpen()
{
    click(m_link);
    click(m_test);
    QVERIFY(m_output->text().startsWith(u"-----------------------\r\n手机号码：12345678"_s));
    QCOMPARE(m_window->height(), skin::kOpen.height());
    QCOMPARE(m_window->panelState(), u"1"_s);
}

void TestPanel::answerBoxesSitAtTheirLines()
{
    // The answers A to D are the question's blocks 2, 4, 6 and 8; each box
    // must lie on its line and inside the line's indent.
    click(m_link);
    QTextBlock block = m_question->document()->firstBlock();
    for (int index = 0; index < 4; ++index) {
        block = block.next().next();
        QVERIFY(block.text().contains(QChar(u'A' + index)));
        const QRect box = m_boxes[index]->geometry();
        const QRect line = m_question->cursorRect(QTextCursor(block))
                               .translated(m_question->viewport()->mapTo(m_window.get(), QPoint()));
        const int overlap = std::min(box.bottom(), line.bottom()) - std::max(box.top(), line.top());
        QVERIFY2(overlap >= 8,
            qPrintable(u"answer %1: box %2..%3, line %4..%5"_s.arg(index)
                           .arg(box.top())
                           .arg(box.bottom())
                           .arg(line.top())
                           .arg(line.bottom())));
        const QFontMetrics metrics(m_question->font());
        QVERIFY(box.left() >= line.left());
        QVERIFY(box.right() < line.left() + metrics.horizontalAdvance(u"　　 "_s));
    }
    // Text4 sits wholly inside the open window, in its navy margin.
    QVERIFY(QRect(QPoint(), skin::kOpen).contains(m_question->geometry()));
}

void TestPanel::titleBandDragsTheWindow_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestPanel::titleBandDragsTheWindow()
{
    QFETCH(Qt::MouseButton, button);
    QWindow *window = m_window->windowHandle();
    const QPoint start = m_window->pos();

    QCursor::setPos(m_window->mapToGlobal(QPoint(100, 10))); // where the pointer is
    QTest::mousePress(window, button, {}, QPoint(100, 10));
    QTest::mouseMove(window, QPoint(130, 40));
    QTRY_COMPARE(m_window->pos(), start + QPoint(30, 30));
    QTRY_COMPARE(window->position(), m_window->pos()); // the platform has caught up
    QTest::mouseMove(window, QPoint(90, 5)); // relative to the moved window
    QTRY_COMPARE(m_window->pos(), start + QPoint(20, 25));
    QTRY_COMPARE(window->position(), m_window->pos());
    // The pointer keeps its place on the dragged window: (100, 10).
    QTest::mouseRelease(window, button, {}, QPoint(100, 10));

    // The drag ends with the button: the window stays, and answers clicks.
    QTest::mouseMove(window, QPoint(150, 100));
    QTest::qWait(20);
    QCOMPARE(m_window->pos(), start + QPoint(20, 25));
    m_output->setText(QString());
    click(m_test);
    QVERIFY(!m_output->text().isEmpty());
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
}

void TestPanel::closeMarkEndsTheProgram_data()
{
    QTest::addColumn<bool>("panelOpen");
    QTest::addColumn<bool>("byAssistiveTechnology");
    QTest::newRow("panel closed") << false << false;
    QTest::newRow("panel open") << true << false;
    QTest::newRow("press action") << false << true;
}

void TestPanel::closeMarkEndsTheProgram()
{
    QFETCH(bool, panelOpen);
    QFETCH(bool, byAssistiveTechnology);
    if (panelOpen)
        click(m_link);
    QSignalSpy clicks(m_close, &ImageButton::clicked);

    // All inside the event loop, so that a close by anything but the last
    // step would end it early, and the click count would show it.
    QObject row; // the timers go with this row
    QTimer::singleShot(0, &row, [&] {
        // Another button, or a press taken off the mark before its release,
        // is no click.
        click(m_close, Qt::RightButton);
        click(m_close, Qt::MiddleButton);
        QWindow *window = m_window->windowHandle();
        const QPoint mark = m_close->mapTo(m_window.get(), m_close->rect().center());
        QTest::mousePress(window, Qt::LeftButton, {}, mark);
        QTest::mouseMove(window, mark - QPoint(30, 0));
        QTest::mouseRelease(window, Qt::LeftButton, {}, mark - QPoint(30, 0));
        QCOMPARE(clicks.count(), 0);
    });
    QTimer::singleShot(50, &row, [&] {
        if (byAssistiveTechnology)
            QAccessible::queryAccessibleInterface(m_close)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        else
            click(m_close);
    });
    QTimer::singleShot(5000, &row, [] { QCoreApplication::exit(99); }); // not reached
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(clicks.count(), 1);
}

void TestPanel::randomUseMatchesTheModel()
{
    // A small model of what the window must show, checked after every one
    // of a few thousand random user actions.
    struct Model
    {
        QString phone = u"12345678"_s;
        bool open = false;
        QString output = texts::kContact;
    } model;
    const std::array answers { texts::kAnswerA, texts::kAnswerB, texts::kAnswerC, texts::kAnswerD };
    const QString separator(23, u'-');
    const auto testOutput = [&] {
        const std::optional<double> number = Mod_date::FortuneNumber(model.phone.toStdString());
        const QString verdict = number
            ? u"吉凶解释："_s + QString::fromUtf8(Mod_date::FortuneVerdict(*number))
            : u"请输入手机号码"_s;
        const QString meaning = number
            ? u"吉凶注解："_s + QString::fromUtf8(Mod_date::FortuneText(*number))
            : u"如：13XXXXXXXXX"_s;
        return separator + u"\r\n手机号码："_s + model.phone + u"\r\n"_s + separator + u"\r\n\r\n"_s
            + verdict + u"\r\n\r\n"_s + meaning;
    };

    // What the user does, each as likely as the others (typing twice as
    // likely); answering with the mouse, last, only while the panel is open.
    enum Action {
        Type,
        TypeAgain,
        Backspace,
        Test,
        ClickLink,
        MoveCursor,
        LinkByKey,
        TabKey,
        ToggleAnswer,
        PasteNothing,
        AnswerByMouse,
        kActions
    };
    constexpr std::array<const char *, kActions> kNames { "type", "type", "Backspace", "test",
        "click the link", "move the cursor", "the link by key", "Tab", "toggle an answer",
        "paste nothing", "answer by mouse" };

    const quint32 seed = 20261208;
    QRandomGenerator random(seed);
    const QString typeable = u"0123456789 a-+.中"_s;
    for (int step = 0; step < 3000; ++step) {
        const auto action = Action(random.bounded(model.open ? kActions : AnswerByMouse));
        switch (action) {
        case Type:
        case TypeAgain: { // a character; a digit replaces what is selected
            const QChar c = typeable.at(random.bounded(typeable.size()));
            if (c.isDigit() && c.unicode() < 128) {
                qsizetype at = m_phone->cursorPosition();
                if (m_phone->hasSelectedText()) {
                    at = m_phone->selectionStart();
                    model.phone.remove(at, m_phone->selectedText().size());
                }
                model.phone.insert(at, c);
            }
            QTest::sendKeyEvent(QTest::Click, m_phone, Qt::Key_unknown, QString(c), Qt::NoModifier);
            break;
        }
        case Backspace:
            if (m_phone->hasSelectedText())
                model.phone.remove(m_phone->selectionStart(), m_phone->selectedText().size());
            else if (m_phone->cursorPosition() > 0)
                model.phone.remove(m_phone->cursorPosition() - 1, 1);
            QTest::keyClick(m_phone, Qt::Key_Backspace);
            break;
        case Test: // by the button or by Enter in the phone box
            if (random.bounded(2)) {
                click(m_test);
            } else {
                m_phone->setFocus();
                QTest::keyClick(m_phone, Qt::Key_Return);
            }
            model.output = testOutput();
            break;
        case ClickLink:
            click(m_link);
            model.open = !model.open;
            model.output = texts::kNumberTrick;
            break;
        case MoveCursor:
            m_phone->setCursorPosition(random.bounded(int(m_phone->text().size()) + 1));
            break;
        case LinkByKey: // Space or Enter
            m_link->setFocus(Qt::TabFocusReason);
            QTest::keyClick(m_link, random.bounded(2) ? Qt::Key_Space : Qt::Key_Return);
            model.open = !model.open;
            model.output = texts::kNumberTrick;
            break;
        case TabKey: // forwards or back
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                random.bounded(2) ? Qt::ShiftModifier : Qt::NoModifier);
            break;
        case ToggleAnswer: { // as a screen reader toggles an answer box
            const int index = random.bounded(4);
            QAccessible::queryAccessibleInterface(m_boxes[index])
                ->actionInterface()
                ->doAction(QAccessibleActionInterface::toggleAction());
            model.open = false;
            model.output = answers[std::size_t(index)];
            break;
        }
        case PasteNothing: { // data without text, into a text box
            QGuiApplication::clipboard()->setMimeData(new QMimeData);
            QWidget *box = random.bounded(2) ? static_cast<QWidget *>(m_question) : m_phone;
            QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
            break;
        }
        case AnswerByMouse: {
            const int index = random.bounded(4);
            tick(index);
            model.open = false;
            model.output = answers[std::size_t(index)];
            break;
        }
        case kActions:
            break;
        }
        const QString where = u"seed %1, step %2, %3"_s.arg(seed).arg(step).arg(
            QLatin1StringView(kNames[std::size_t(action)]));
        QVERIFY2(m_phone->text() == model.phone, qPrintable(where));
        QVERIFY2(m_output->text() == model.output, qPrintable(where));
        QVERIFY2(m_window->height() == (model.open ? skin::kOpen : skin::kClosed).height(),
            qPrintable(where));
        QVERIFY2(m_window->panelState() == (model.open ? u"1"_s : u"0"_s), qPrintable(where));
        QVERIFY2(std::none_of(m_boxes.cbegin(), m_boxes.cend(),
                     [](QAbstractButton *b) { return b->isChecked(); }),
            qPrintable(where));
        const QWidget *focus = QApplication::focusWidget();
        QVERIFY2(focus && focus->isVisible() && m_window->rect().contains(focus->geometry()),
            qPrintable(where));
    }
}

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
