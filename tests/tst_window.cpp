// The window as a user meets it: its controls, look, typing and the phone test.
#include "window/controls/imagearea.h"
#include "window/texts.h"

#include "windowtest.h"

#include <QAccessible>
#include <QClipboard>
#include <QFontInfo>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QToolTip>

using namespace Qt::Literals::StringLiterals;

namespace {

// Whether text is in Chinese: it has Chinese characters (the toolkit's own
// wording of them may change from release to release).
bool inChinese(const QString &text)
{
    return std::any_of(
        text.cbegin(), text.cend(), [](QChar c) { return c.script() == QChar::Script_Han; });
}

} // namespace

class TestWindow : public WindowFixture
{
    Q_OBJECT

private slots:
    // First, before any context menu brings the toolkit's texts in.
    void assistiveTechnologyHearsChineseActions();

    void windowIsBorderlessFixedAndCentred();
    void controlsHaveTheirPlaces_data();
    void controlsHaveTheirPlaces();
    void labelsAreSizedToTheirText();
    void fontsHaveTheDesignMetrics();
    void pressesReachTheTopmostControl();
    void hiddenStoresAreNeverShown();
    void tabOrderAndFirstFocus();
    void skinIsPainted_data();
    void skinIsPainted();

    void phoneTestShowsVerdict_data();
    void phoneTestShowsVerdict();
    void emptyBoxPrompts();
    void enterPressesTheTestButton();
    void typingKeepsOnlyDigits();
    void editingKeysStillWork();
    void clipboardShortcutsDoNothingInPhoneBox();
    void inputMethodTextIsFiltered();
    void pastedTextKeepsOnlyDigits();
    void longNumberEditsLikeAShortOne_data();
    void longNumberEditsLikeAShortOne();
    void cursorIsSteadyInALongNumber_data();
    void cursorIsSteadyInALongNumber();
    void outputBoxIsReadOnlyButCopyable_data();
    void outputBoxIsReadOnlyButCopyable();
    void contextMenusReadInChinese();
    void controlsHaveAccessibleNames();

private:
    QString runTest(const QString &phone);
};

QString TestWindow::runTest(const QString &phone)
{
    m_phone->clear();
    QTest::keyClicks(m_phone, phone);
    QTest::mouseClick(m_test, Qt::LeftButton);
    return m_output->text();
}

void TestWindow::assistiveTechnologyHearsChineseActions()
{
    // The toolkit's texts come with assistive technology, so a screen reader
    // offers the buttons' actions by their Chinese names.
    QAccessibleInterface *button = QAccessible::queryAccessibleInterface(m_test);
    QVERIFY(button && button->actionInterface());
    const QString press = QAccessibleActionInterface::pressAction();
    QVERIFY(!inChinese(button->actionInterface()->localizedActionName(press)));
    QAccessible::setActive(true);
    QVERIFY(inChinese(button->actionInterface()->localizedActionName(press)));
    QAccessible::setActive(false);
}

void TestWindow::windowIsBorderlessFixedAndCentred()
{
    QCOMPARE(m_window->windowTitle(), u"手机号码吉祥如意测算"_s);
    QVERIFY(m_window->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(m_window->size(), skin::kClosed);
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QCOMPARE(m_window->geometry().center(), m_window->screen()->geometry().center());
    QVERIFY(m_window->windowIcon().availableSizes().contains(QSize(32, 32)));
    QCOMPARE(m_window->panelState(), u"0"_s);
    QCOMPARE(m_phone->text(), u"12345678"_s);
    QCOMPARE(m_output->text(), texts::kContact);
    QVERIFY(m_test->isEnabled());
}

void TestWindow::controlsHaveTheirPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("Image2") << u"Image2"_s << QRect(0, 0, 273, 25);
    QTest::newRow("Image1") << u"Image1"_s << QRect(275, 3, 22, 20);
    QTest::newRow("Text2") << u"Text2"_s << skin::kPhoneBox;
    QTest::newRow("CmmTest") << u"CmmTest"_s << QRect(210, 35, 81, 22);
    QTest::newRow("Text1") << u"Text1"_s << skin::kOutputBox;
    QTest::newRow("Text4") << u"Text4"_s << QRect(5, 204, 293, 160);
    QTest::newRow("Frame1") << u"Frame1"_s << QRect(279, 148, 8, 23);
    QTest::newRow("Txt02 in Frame1") << u"Txt02"_s << QRect(33, 171, 52, 21);
}

void TestWindow::controlsHaveTheirPlaces()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    auto *widget = m_window->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);

    // Answer boxes: 4155, 4495, 4835 and 5175 twips down, rounded to pixels.
    QCOMPARE(m_boxes.size(), 4);
    const int tops[] = { 277, 300, 322, 345 };
    for (int i = 0; i < 4; ++i)
        QCOMPARE(m_boxes[i]->geometry(), QRect(10, tops[i], 17, 14));
}

void TestWindow::labelsAreSizedToTheirText()
{
    CONTROL(QLabel, label3, *m_window, "Label3");
    CONTROL(QLabel, label4, *m_window, "Label4");
    CONTROL(QLabel, label5, *m_window, "Label5");
    CONTROL(QLabel, label6, *m_window, "Label6");
    QCOMPARE(label3->geometry(), QRect(9, 41, 60, 12));
    QCOMPARE(label3->geometry().right() + 1, m_phone->x()); // they touch
    QCOMPARE(label6->geometry(), QRect(70, 5, 144, 16));
    QCOMPARE(label5->geometry(), QRect(71, 4, 144, 16));
    QCOMPARE(m_link->pos(), QPoint(10, 180));
    QCOMPARE(m_link->width(), 48);
    QCOMPARE(label4->pos(), QPoint(101, 181));
    QVERIFY(label4->geometry().right() <= 296); // inside the body of the skin
}

void TestWindow::fontsHaveTheDesignMetrics()
{
    // Where the run names the face the window must draw with (the run on a
    // desktop with a face named SimSun), it is that face.
    if (const QString expected = qEnvironmentVariable("EXPECTED_SONG_FACE"); !expected.isEmpty())
        QCOMPARE(QFontInfo(m_window->font()).family(), expected);

    // The layout assumes 12 px Chinese characters (the size the window asks
    // for, as its faces draw every Chinese character a size wide) and Latin
    // ones of at most half that, however a release's font engine hints them.
    const QFontMetrics window(m_window->font());
    QCOMPARE(window.horizontalAdvance(u"手"_s), 12);
    QCOMPARE(window.horizontalAdvance(u"："_s), 12);
    QVERIFY(window.horizontalAdvance(u"8"_s) <= 6);
    CONTROL(QLabel, title, *m_window, "Label6");
    QCOMPARE(QFontMetrics(title->font()).horizontalAdvance(u"吉"_s), 16);

    // The link and the phone box keep their designs' metrics and styles,
    // whichever face provides them (a free face of the design, or the
    // original where it is installed).
    const QFont link = m_link->font();
    QCOMPARE(QFontMetrics(link).horizontalAdvance(u"其"_s), 12);
    QVERIFY(link.underline());
    const QFontMetrics phone(m_phone->font());
    QVERIFY(QFontInfo(m_phone->font()).italic());
    QVERIFY(phone.horizontalAdvance(m_phone->text()) < m_phone->width() - 6);
}

void TestWindow::pressesReachTheTopmostControl()
{
    CONTROL(ImageArea, image2, *m_window, "Image2");
    // On the title text, the drag area lies above the title labels.
    QCOMPARE(m_window->childAt(100, 12), image2);
    QCOMPARE(m_window->childAt(272, 12), image2);
    // Between the drag area and the close area (twips 4095 to 4124) nothing.
    QCOMPARE(m_window->childAt(273, 12), nullptr);
    QCOMPARE(m_window->childAt(274, 12), nullptr);
    QCOMPARE(m_window->childAt(skin::kCloseMark), m_close);
    QCOMPARE(m_close->toolTip(), u"关闭程序"_s);

    // A real press on the title text reaches the drag area's handler.
    // Real presses, through the window as the platform delivers them.
    QWindow *window = m_window->windowHandle();
    QSignalSpy drag(image2, &ImageArea::mouseDown);
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(150, 12));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(150, 12));
    QCOMPARE(drag.count(), 1);
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(273, 12));
    QCOMPARE(drag.count(), 1);
}

void TestWindow::hiddenStoresAreNeverShown()
{
    CONTROL(QWidget, frame, *m_window, "Frame1");
    QVERIFY(frame->isHidden());
    for (const char *name : { "Text3", "Txt01", "Txt02", "Txt03", "Txt04", "Label1", "Label2" }) {
        auto *stored = m_window->findChild<QWidget *>(QLatin1StringView(name));
        QVERIFY2(stored, name);
        QCOMPARE(stored->parentWidget(), frame);
        QVERIFY(!stored->isVisible());
    }
    QTest::mouseClick(m_test, Qt::LeftButton);
    QVERIFY(!m_window->findChild<QWidget *>(u"Label1"_s)->isVisible());
}

void TestWindow::tabOrderAndFirstFocus()
{
    // Tab goes round the controls in view, in the order of their tab indexes.
    QTRY_COMPARE(QApplication::focusWidget(), m_test);
    const QList<QWidget *> closed { m_output, m_phone, m_link, m_test };
    for (QWidget *next : closed) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }

    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {},
        m_link->mapTo(m_window.get(), m_link->rect().center()));
    QCOMPARE(m_window->panelState(), u"1"_s);
    QCOMPARE(QApplication::focusWidget(), m_test); // a click leaves the focus
    const QList<QWidget *> open { m_output, m_phone, m_link, m_question, m_boxes[0], m_boxes[1],
        m_boxes[2], m_boxes[3], m_test };
    for (QWidget *next : open) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void TestWindow::skinIsPainted_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("top edge") << QPoint(150, 2) << QColor(0, 0, 82);
    QTest::newRow("title band") << QPoint(30, 12) << skin::kTitleBand;
    QTest::newRow("close mark, red edge") << QPoint(279, 12) << skin::kCloseRed;
    QTest::newRow("close mark, inner edge") << QPoint(293, 12) << QColor(159, 120, 120);
    QTest::newRow("close mark, outer edge") << QPoint(294, 12) << QColor(59, 59, 125);
    QTest::newRow("close mark, cross") << skin::kCloseMark << QColor(0, 0, 0);
    QTest::newRow("close mark, face") << QPoint(281, 8) << skin::kTitleBand;
    QTest::newRow("separator, light") << QPoint(150, 22) << QColor(148, 148, 194);
    QTest::newRow("separator") << QPoint(150, 24) << QColor(90, 90, 189);
    QTest::newRow("separator, dark") << QPoint(150, 27) << QColor(66, 66, 165);
    QTest::newRow("dark band") << QPoint(150, 30) << QColor(0, 0, 82);
    QTest::newRow("body") << QPoint(5, 100) << skin::kBody;
    QTest::newRow("body under the link") << QPoint(150, 190) << skin::kBody;
    QTest::newRow("bottom edge") << QPoint(150, 195) << QColor(90, 90, 189);
    QTest::newRow("left edge") << QPoint(0, 100) << skin::kLeftEdge;
    QTest::newRow("right edge") << QPoint(300, 100) << QColor(67, 67, 180);
    QTest::newRow("navy strip, right") << QPoint(302, 100) << skin::kNavy;
    QTest::newRow("navy strip, bottom") << QPoint(150, 199) << skin::kNavy;
    QTest::newRow("navy corner") << QPoint(302, 199) << skin::kNavy;
    QTest::newRow("phone box") << QPoint(196, 45) << skin::kPhoneGround;
    QTest::newRow("output box") << QPoint(150, 170) << QColor(224, 224, 224);
}

void TestWindow::skinIsPainted()
{
    QFETCH(QPoint, at);
    QFETCH(QColor, colour);
    const QImage image = m_window->grab().toImage();
    QCOMPARE(image.size(), skin::kClosed);
    QVERIFY(pixelIs(image, at, colour, QDir::temp().filePath(u"phone-fortune-skin.png"_s)));
}

void TestWindow::phoneTestShowsVerdict_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("output");
    QTest::newRow("verdict") << u"13912345678"_s
                             << u"-----------------------\r\n手机号码：13912345678\r\n"
                                "-----------------------\r\n\r\n吉凶解释：吉带凶\r\n\r\n"
                                "吉凶注解：有得有失.华而不实"_s;
    QTest::newRow("fallback") << u"13800138000"_s
                              << u"-----------------------\r\n手机号码：13800138000\r\n"
                                 "-----------------------\r\n\r\n吉凶解释：大吉\r\n\r\n"
                                 "吉凶注解：非凡特质,名人猛人"_s;
    QTest::newRow("one digit") << u"5"_s
                               << u"-----------------------\r\n手机号码：5\r\n"
                                  "-----------------------\r\n\r\n吉凶解释：吉\r\n\r\n"
                                  "吉凶注解：生意欣荣.名利双收"_s;
}

void TestWindow::phoneTestShowsVerdict()
{
    QFETCH(QString, phone);
    QFETCH(QString, output);
    QCOMPARE(runTest(phone), output);
    QCOMPARE(runTest(phone), output); // no text accumulates in the labels
    CONTROL(QLabel, label3, *m_window, "Label3");
    QCOMPARE(label3->text(), u"手机号码："_s);
}

void TestWindow::emptyBoxPrompts()
{
    QCOMPARE(runTest(QString()),
        u"-----------------------\r\n手机号码：\r\n-----------------------\r\n\r\n"
        "请输入手机号码\r\n\r\n如：13XXXXXXXXX"_s);
    QTRY_COMPARE(QApplication::focusWidget(), m_phone);
    // The next test after the prompts shows a verdict again.
    QCOMPARE(runTest(u"161"_s).section(u"\r\n"_s, 4),
        u"吉凶解释：吉\r\n\r\n吉凶注解：大展鸿图.可获成功"_s);
}

void TestWindow::enterPressesTheTestButton()
{
    m_phone->setFocus();
    m_phone->setText(u"5678"_s);
    QTest::keyClick(m_phone, Qt::Key_Return);
    QVERIFY(m_output->text().endsWith(u"有得有失.华而不实"_s));
    QCOMPARE(m_phone->text(), u"5678"_s); // Enter reaches neither the box nor the filter

    m_output->setFocus();
    m_phone->setText(u"83"_s);
    QTest::keyClick(m_output, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(m_output->text().endsWith(u"蒸蒸日上.百事顺遂"_s));
}

void TestWindow::typingKeepsOnlyDigits()
{
    m_phone->clear();
    QTest::keyClicks(m_phone, u"1a 2.-+3Z"_s);
    QCOMPARE(m_phone->text(), u"123"_s);
    // Characters no keyboard layout here types, as key events with text.
    for (const QString &typed : { u"中"_s, u"１"_s, u"\t"_s, u"\x1b"_s, u"😀"_s })
        QTest::sendKeyEvent(QTest::Click, m_phone, Qt::Key_unknown, typed, Qt::NoModifier);
    QCOMPARE(m_phone->text(), u"123"_s);
    QTest::keyClick(m_phone, Qt::Key_Backspace);
    QCOMPARE(m_phone->text(), u"12"_s);
    QTest::keyClick(m_phone, Qt::Key_5, Qt::KeypadModifier);
    QCOMPARE(m_phone->text(), u"125"_s);
}

void TestWindow::editingKeysStillWork()
{
    m_phone->setText(u"1234"_s);
    m_phone->setFocus();
    QTest::keyClick(m_phone, Qt::Key_Home);
    QTest::keyClick(m_phone, Qt::Key_Delete);
    QCOMPARE(m_phone->text(), u"234"_s);
    QTest::keyClick(m_phone, Qt::Key_Right);
    QTest::keyClicks(m_phone, u"9"_s);
    QCOMPARE(m_phone->text(), u"2934"_s);
    QTest::keyClick(m_phone, Qt::Key_End);
    QTest::keyClick(m_phone, Qt::Key_Left);
    QTest::keyClick(m_phone, Qt::Key_Backspace);
    QCOMPARE(m_phone->text(), u"294"_s);
    QTest::keyClick(m_phone, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(m_phone->selectedText(), u"9"_s);
}

void TestWindow::clipboardShortcutsDoNothingInPhoneBox()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(u"999"_s);
    m_phone->setText(u"1234"_s);
    m_phone->setFocus();
    m_phone->selectAll();
    QTest::keyClick(m_phone, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(m_phone, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), u"999"_s);
    QCOMPARE(m_phone->text(), u"1234"_s);
    m_phone->end(false);
    QTest::keyClick(m_phone, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(m_phone, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_phone, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_phone->text(), u"1234"_s);
    QVERIFY(!m_phone->hasSelectedText());
    QTest::keyClick(m_phone, Qt::Key_Backspace, Qt::ControlModifier);
    QCOMPARE(m_phone->text(), u"1234"_s);
}

void TestWindow::inputMethodTextIsFiltered()
{
    m_phone->setText(u"1"_s);
    m_phone->setFocus();
    m_phone->end(false);
    QInputMethodEvent composing(u"zhong"_s, {});
    QApplication::sendEvent(m_phone, &composing);
    QInputMethodEvent committed;
    committed.setCommitString(u"中2３4 "_s);
    QApplication::sendEvent(m_phone, &committed);
    QCOMPARE(m_phone->text(), u"124"_s);
    QInputMethodEvent digits;
    digits.setCommitString(u"56"_s);
    QApplication::sendEvent(m_phone, &digits);
    QCOMPARE(m_phone->text(), u"12456"_s);
}

void TestWindow::pastedTextKeepsOnlyDigits()
{
    QGuiApplication::clipboard()->setText(u"+86 139-1234-5678"_s);
    m_phone->clear();
    m_phone->paste(); // as the context menu's paste does
    QCOMPARE(m_phone->text(), u"8613912345678"_s);

    // Dropped text too; the cursor stays among the digits.
    m_phone->setText(u"12"_s);
    m_phone->setCursorPosition(1);
    m_phone->insert(u"a9b"_s);
    QCOMPARE(m_phone->text(), u"192"_s);
    QCOMPARE(m_phone->cursorPosition(), 2);

    // A megabyte of mixed text, far beyond a line edit's usual limit: its
    // digits stay, and the test then answers on the last four of them.
    const QString mixed = u"中a13 9-"_s.repeated(150000) + u"5678"_s; // 1.05 million characters
    QGuiApplication::clipboard()->setText(mixed);
    m_phone->clear();
    m_phone->paste();
    QCOMPARE(m_phone->text().size(), 3 * 150000 + 4);
    QVERIFY(m_phone->text().startsWith(u"1391391"_s));
    QTest::mouseClick(m_test, Qt::LeftButton);
    QVERIFY(m_output->text().endsWith(u"吉凶注解：有得有失.华而不实"_s));
    QVERIFY(m_output->text().contains(m_phone->text()));
}

void TestWindow::longNumberEditsLikeAShortOne_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("short") << 40;
    QTest::newRow("long") << 50000; // drawn by the box itself
}

void TestWindow::longNumberEditsLikeAShortOne()
{
    QFETCH(int, length);
    const QString number = QString(length - 4, u'1') + u"5678"_s;
    m_phone->setText(number);
    m_phone->setFocus();
    const int middle = m_phone->height() / 2;
    const auto cursorShown = [this] {
        const QRect cursor = m_phone->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        return m_phone->rect().contains(cursor.center());
    };
    const auto repaint = [this] { m_phone->grab(); };

    // At either end, the cursor is in view, and a click there stays there.
    for (const bool atEnd : { true, false }) {
        QTest::keyClick(m_phone, atEnd ? Qt::Key_End : Qt::Key_Home);
        repaint();
        QVERIFY(cursorShown());
        const int edge = atEnd ? m_phone->width() - 5 : 5;
        QTest::mouseClick(m_phone, Qt::LeftButton, {}, QPoint(edge, middle));
        const int cursor = m_phone->cursorPosition();
        QVERIFY2(atEnd ? cursor >= length - 1 : cursor <= 1, qPrintable(QString::number(cursor)));
    }

    // A drag from the right edge leftwards selects the digits in view there.
    QTest::keyClick(m_phone, Qt::Key_End);
    repaint();
    QTest::mousePress(m_phone, Qt::LeftButton, {}, QPoint(m_phone->width() - 5, middle));
    const QPoint half(m_phone->width() / 2, middle);
    QMouseEvent drag(QEvent::MouseMove, QPointF(half), m_phone->mapToGlobal(QPointF(half)),
        Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(m_phone, &drag);
    QTest::mouseRelease(m_phone, Qt::LeftButton, {}, half);
    const QString selected = m_phone->selectedText();
    QVERIFY2(selected.size() > 4 && selected.size() < 30, qPrintable(selected));
    QVERIFY(selected.endsWith(u"5678"_s));

    // Shift+Home then takes the selection to the start; a double click, all.
    QTest::keyClick(m_phone, Qt::Key_Home, Qt::ShiftModifier);
    repaint();
    QVERIFY(cursorShown());
    QCOMPARE(m_phone->cursorPosition(), 0);
    QTest::mouseDClick(m_phone, Qt::LeftButton, {}, QPoint(m_phone->width() / 2, middle));
    QCOMPARE(m_phone->selectedText(), number);
}

void TestWindow::cursorIsSteadyInALongNumber_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("pasted"); // while the box has the focus
    QTest::newRow("short") << 40 << false;
    QTest::newRow("long") << 50000 << false;
    QTest::newRow("made long in the box") << 50000 << true;
}

// A short number's cursor blinks; a long one's is steady, since each blink
// would measure the whole number again. The desktop's flash time comes back
// when the box loses the focus.
void TestWindow::cursorIsSteadyInALongNumber()
{
    QFETCH(int, length);
    QFETCH(bool, pasted);
    const int desktops = QApplication::cursorFlashTime();
    const auto restore = qScopeGuard([desktops] { QApplication::setCursorFlashTime(desktops); });
    QApplication::setCursorFlashTime(100); // a blink each 50 ms
    const QString number(length, u'7');
    if (!pasted)
        m_phone->setText(number);
    m_phone->setFocus();
    QTRY_VERIFY(m_phone->hasFocus());
    if (pasted) {
        QGuiApplication::clipboard()->setText(number);
        m_phone->selectAll();
        m_phone->paste();
    }
    QCOMPARE(m_phone->text().size(), length);

    // Each blink is a timer's: none fires in the box, or in any of its
    // parts, while it waits with a long number.
    struct TimerCounter : QObject
    {
        int timers = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            timers += event->type() == QEvent::Timer;
            return false;
        }
    } counter;
    QTest::qWait(100); // what the number's arrival brought is done
    QObjectList parts = m_phone->findChildren<QObject *>();
    parts << m_phone;
    for (QObject *part : parts)
        part->installEventFilter(&counter);
    QTest::qWait(500);
    for (QObject *part : parts)
        part->removeEventFilter(&counter);
    if (length <= PhoneEdit::kLongNumber)
        QVERIFY2(counter.timers >= 4, qPrintable(QString::number(counter.timers)));
    else
        QCOMPARE(counter.timers, 0);

    m_output->setFocus();
    QTRY_VERIFY(m_output->hasFocus());
    QCOMPARE(QApplication::cursorFlashTime(), 100);
}

void TestWindow::outputBoxIsReadOnlyButCopyable_data()
{
    QTest::addColumn<QString>("phone");
    QTest::newRow("short") << u"1234"_s;
    QTest::newRow("long") << QString(30000, u'7'); // shown in pieces
}

void TestWindow::outputBoxIsReadOnlyButCopyable()
{
    QFETCH(QString, phone);
    m_phone->setText(phone);
    QTest::mouseClick(m_test, Qt::LeftButton);
    const QString before = m_output->text();
    QVERIFY(before.contains(u"\r\n手机号码："_s + phone + u"\r\n"_s));
    m_output->setFocus();
    QTest::keyClicks(m_output, u"abc"_s);
    QTest::keyClick(m_output, Qt::Key_Delete);
    QCOMPARE(m_output->text(), before);
    QTest::keyClick(m_output, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_output, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString(before).replace(u"\r\n"_s, u"\n"_s));
}

void TestWindow::contextMenusReadInChinese()
{
    // In the window's own face, whatever the desktop's: a face for another
    // language would draw other forms, or thin fallback glyphs.
    const QString song = QFontInfo(m_window->font()).family();
    QStringList faces;
    // Asked for from the keyboard, as the menu key does.
    const auto menuTexts = [&faces](QWidget *box) {
        const QPoint centre = box->rect().center();
        QContextMenuEvent request(QContextMenuEvent::Keyboard, centre, box->mapToGlobal(centre));
        QApplication::sendEvent(box, &request);
        auto *menu = box->findChild<QMenu *>();
        QStringList texts;
        if (menu) {
            for (const QAction *action : menu->actions())
                if (!action->isSeparator())
                    texts << action->text();
            faces << QFontInfo(menu->font()).family();
            menu->close();
            delete menu;
        }
        return texts;
    };
    // Undo, redo, cut, copy, paste, delete and select all; copy and select all.
    for (const auto &[box, entries] :
        { std::pair { static_cast<QWidget *>(m_phone), 7 }, { m_output, 2 } }) {
        const QStringList texts = menuTexts(box);
        QVERIFY2(texts.size() >= entries && std::all_of(texts.cbegin(), texts.cend(), inChinese),
            qPrintable(texts.join(u'|')));
    }
    faces << QFontInfo(QToolTip::font()).family();
    QCOMPARE(faces, QStringList(3, song));
}

void TestWindow::controlsHaveAccessibleNames()
{
    const QList<std::tuple<const char *, QString, QAccessible::Role>> expected {
        { "Text2", u"手机号码"_s, QAccessible::EditableText },
        { "CmmTest", u"测算"_s, QAccessible::Button },
        { "Text1", u"测算结果"_s, QAccessible::EditableText },
        { "Label7", u"其它功能"_s, QAccessible::Button },
        { "Text4", u"密码测验题目"_s, QAccessible::EditableText },
        { "Image1", u"关闭程序"_s, QAccessible::Button },
        { "Image2", u"拖动窗口"_s, QAccessible::Pane },
    };
    for (const auto &[name, accessibleName, role] : expected) {
        auto *widget = m_window->findChild<QWidget *>(QLatin1StringView(name));
        QVERIFY2(widget, name);
        QAccessibleInterface *item = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(item, name);
        QCOMPARE(item->text(QAccessible::Name), accessibleName);
        QCOMPARE(item->role(), role);
    }
    // Each thing is told once, and only as what it offers: a role that screen
    // readers read as text (as AT-SPI maps a title bar) comes with the text.
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(m_window.get());
    int titles = 0;
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface *item = window->child(i);
        QCOMPARE(window->indexOfChild(item), i);
        titles += item->text(QAccessible::Name) == u"Vexo手机号码测吉祥"_s;
        const bool readAsText
            = item->role() == QAccessible::EditableText || item->role() == QAccessible::TitleBar;
        QVERIFY2(!readAsText || item->textInterface(), qPrintable(item->object()->objectName()));
    }
    QCOMPARE(titles, 1);

    QCOMPARE(m_boxes.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QAccessibleInterface *item = QAccessible::queryAccessibleInterface(m_boxes[i]);
        QVERIFY(item->text(QAccessible::Name).startsWith(u"答案"_s + QChar(u'A' + i) + u"："_s));
        QCOMPARE(item->role(), QAccessible::CheckBox);
    }
    // The phone box is labelled by the prompt beside it.
    QAccessibleInterface *phone = QAccessible::queryAccessibleInterface(m_phone);
    const auto labels = phone->relations(QAccessible::Label);
    QVERIFY(!labels.isEmpty());
    QCOMPARE(labels.first().first->text(QAccessible::Name), u"手机号码："_s);
    // The close mark and the link can be pressed without a mouse.
    for (const char *name : { "Image1", "Label7" }) {
        QAccessibleInterface *button = QAccessible::queryAccessibleInterface(
            m_window->findChild<QWidget *>(QLatin1StringView(name)));
        QVERIFY2(button->actionInterface(), name);
        QVERIFY2(button->actionInterface()->actionNames().contains(
                     QAccessibleActionInterface::pressAction()),
            name);
    }
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
