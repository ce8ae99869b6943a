// Every way in besides the mouse: the keyboard alone, assistive technology,
// pasted and dropped data. Each must run the same handlers as a click, and
// focus must never rest on something out of view.
#include "window/texts.h"

#include "windowtest.h"

#include <QAccessible>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QStyleHints>
#include <QTextBlock>
#include <QTextLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// Records what the announcer says: from Qt 6.8 each announcement event, as
// assistive technology receives it; before, each time the announcer starts
// showing, which is when the toolkit tells assistive technology that a
// notification appeared.
class AnnouncementSpy : public QObject
{
public:
    explicit AnnouncementSpy(QWidget *announcer)
        : m_announcer(announcer)
    {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        s_spy = this;
        QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
            if (event->type() == QAccessible::Announcement && event->object() == s_spy->m_announcer)
                s_spy->announced.append(
                    static_cast<QAccessibleAnnouncementEvent *>(event)->message());
        });
        QAccessible::setActive(true);
#else
        announcer->installEventFilter(this);
#endif
    }

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    ~AnnouncementSpy() override
    {
        QAccessible::setActive(false);
        QAccessible::installUpdateHandler(nullptr);
        s_spy = nullptr;
    }
#endif

    QStringList announced;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            QAccessibleInterface *item = QAccessible::queryAccessibleInterface(m_announcer);
            if (item->role() == QAccessible::Notification && !item->state().invisible)
                announced.append(item->text(QAccessible::Name));
        }
        return false;
    }

private:
    QWidget *m_announcer;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    static inline AnnouncementSpy *s_spy = nullptr;
#endif
};

} // namespace

class TestKeyboard : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();

    void emptyPasteChangesNothing_data();
    void emptyPasteChangesNothing();
    void longPasteWrapsAnywhere_data();
    void longPasteWrapsAnywhere();
    void digitsOfAnyScriptBecomeAscii_data();
    void digitsOfAnyScriptBecomeAscii();
    void menuShowsOnlyShortcutsThatWork();
    void linkWorksFromTheKeyboard();
    void linkShowsFocusOnlyWithIt();
    void testButtonShowsFocusOnlyWithIt();
    void answerEndsTheSameHoweverGiven_data();
    void answerEndsTheSameHoweverGiven();
    void closingThePanelTakesFocusToTheTestButton();
    void closedPanelIsOutOfSight();
    void resultsAreAnnounced();
    void openPanelStaysOnScreen();

private:
    void openPanel();
    [[nodiscard]] bool dropOn(QWidget *target, const QMimeData &data);
    QAction *contextMenuPaste(QWidget *target);
    void press(QWidget *target, Qt::Key key);
};

void TestKeyboard::init()
{
    WindowFixture::init();
    if (QTest::currentTestFailed())
        return;
    QTRY_COMPARE(QApplication::focusWidget(), m_test);
}

// A key pressed where the focus is, which must be target.
void TestKeyboard::press(QWidget *target, Qt::Key key)
{
    QCOMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(target, key);
}

// Opens the panel from the keyboard alone: Tab to the link, then Space.
void TestKeyboard::openPanel()
{
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    press(m_link, Qt::Key_Space);
    QCOMPARE(m_window->panelState(), u"1"_s);
}

// Dropped in the middle of target, as a drag from another program would;
// whether the drop was taken.
bool TestKeyboard::dropOn(QWidget *target, const QMimeData &data)
{
    auto *scrolled = qobject_cast<QAbstractScrollArea *>(target);
    QWidget *surface = scrolled ? scrolled->viewport() : target;
    const QPoint at = surface->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(surface, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(surface, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(surface, &drop);
    return drop.isAccepted();
}

// The paste entry of a line edit's own context menu, opened from the keyboard.
QAction *TestKeyboard::contextMenuPaste(QWidget *target)
{
    const QPoint centre = target->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, centre, target->mapToGlobal(centre));
    QApplication::sendEvent(target, &request);
    auto *menu = target->findChild<QMenu *>(u"qt_edit_menu"_s);
    if (!menu)
        return nullptr;
    // Named by the toolkits that name it, else known by its text.
    const QList<QAction *> actions = menu->actions();
    const auto paste = std::find_if(actions.cbegin(), actions.cend(), [](QAction *action) {
        return action->objectName() == u"edit-paste"_s
            || action->text().startsWith(QLineEdit::tr("&Paste"));
    });
    return paste == actions.cend() ? nullptr : *paste;
}

void TestKeyboard::emptyPasteChangesNothing_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("formats");
    for (const char *box : { "Text4", "Text2", "Text1" }) {
        QTest::addRow("%s, no formats", box) << QString::fromLatin1(box) << QStringList {};
        QTest::addRow("%s, a picture", box)
            << QString::fromLatin1(box) << QStringList { u"image/png"_s };
        QTest::addRow("%s, unknown", box)
            << QString::fromLatin1(box) << QStringList { u"application/x-nonesuch"_s };
    }
    // Text without a digit is nothing to the phone box either.
    QTest::addRow("Text2, no digit") << u"Text2"_s << QStringList { u"text/plain"_s };
}

void TestKeyboard::emptyPasteChangesNothing()
{
    QFETCH(QString, box);
    QFETCH(QStringList, formats);
    const auto makeData = [&] {
        auto *data = new QMimeData;
        for (const QString &format : formats)
            data->setData(format, "\x89PNG");
        return data;
    };
    openPanel();
    auto *target = m_window->findChild<QWidget *>(box);
    QVERIFY(target);
    target->setFocus();
    const auto content = [&] {
        return target->property("plainText").toString() + target->property("text").toString();
    };
    const QString before = content();
    QVERIFY(!before.isEmpty());
    // All selected, so that any paste would replace it.
    QVERIFY(QMetaObject::invokeMethod(target, "selectAll"));
    const auto selected = [&] {
        if (auto *edit = qobject_cast<QLineEdit *>(target))
            return edit->selectedText();
        return qobject_cast<QTextEdit *>(target)->textCursor().selectedText();
    };
    const QString selection = selected();

    QGuiApplication::clipboard()->setMimeData(makeData());
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Insert, Qt::ShiftModifier);
    if (qobject_cast<QTextEdit *>(target)) {
        QVERIFY(QMetaObject::invokeMethod(target, "paste"));
    } else { // the phone box's own menu
        QAction *paste = contextMenuPaste(target);
        QVERIFY(paste);
        paste->trigger();
        target->findChild<QMenu *>(u"qt_edit_menu"_s)->close();
    }

    // Refused, not taken and found to hold nothing: the selection stays.
    const std::unique_ptr<QMimeData> dropped(makeData());
    QVERIFY(!dropOn(target, *dropped));

    QCOMPARE(content(), before);
    QCOMPARE(selected(), selection);
    QCOMPARE(m_window->panelState(), u"1"_s);
}

void TestKeyboard::longPasteWrapsAnywhere_data()
{
    QTest::addColumn<QString>("way");
    for (const char *way : { "Ctrl+V", "Shift+Insert", "drop", "onto a long line" })
        QTest::newRow(way) << QString::fromLatin1(way);
}

// A line of digits longer than many lines of the box is wrapped anywhere:
// wrapping it at word boundaries would take time quadratic in its length.
void TestKeyboard::longPasteWrapsAnywhere()
{
    QFETCH(QString, way);
    const QString digits(way == u"onto a long line"_s ? 800 : 5000, u'7');
    openPanel();
    m_question->setFocus();
    m_question->moveCursor(QTextCursor::End);
    QCOMPARE(m_question->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    QGuiApplication::clipboard()->setText(digits);
    if (way == u"Shift+Insert"_s) {
        QTest::keyClick(m_question, Qt::Key_Insert, Qt::ShiftModifier);
    } else if (way == u"drop"_s) {
        QMimeData dropped;
        dropped.setText(digits);
        QVERIFY(dropOn(m_question, dropped));
    } else {
        QTest::keyClick(m_question, Qt::Key_V, Qt::ControlModifier);
        if (way == u"onto a long line"_s) // each paste alone is short
            QTest::keyClick(m_question, Qt::Key_V, Qt::ControlModifier);
    }
    QVERIFY(m_question->toPlainText().contains(digits));
    QCOMPARE(m_question->wordWrapMode(), QTextOption::WrapAnywhere);
    // Its shapes are kept, not made anew for each blink of the cursor.
    QVERIFY(m_question->textCursor().block().layout()->cacheEnabled());
}

void TestKeyboard::digitsOfAnyScriptBecomeAscii_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("text");
    const std::pair<const char *, QString> scripts[] = {
        { "full-width", u"１３９ １２３４－５６７８"_s },
        { "ASCII then Arabic-Indic", u"139١٢٣٤٥٦٧٨"_s },
        { "Persian", u"۱۳۹۱۲۳۴۵۶۷۸"_s },
        { "Devanagari", u"१३९१२३४५६७८"_s },
        { "Bengali", u"১৩৯-১২৩৪-৫৬৭৮"_s },
        // Beyond the first plane: mathematical bold digits, and a lone
        // surrogate and a superscript two that are no digits.
        { "bold, and no digits",
            u"\U0001D7CF\U0001D7D1\U0001D7D7\xB2\xD800"
            u"\U0001D7CF\U0001D7D0\U0001D7D1\U0001D7D2"
            u"\U0001D7D3\U0001D7D4\U0001D7D5\U0001D7D6"_s },
    };
    for (const char *way : { "Shift+Insert", "context menu", "drop", "assistive technology" })
        for (const auto &[script, text] : scripts)
            QTest::addRow("%s, %s", way, script) << QString::fromLatin1(way) << text;
}

// However they come, other than typed, digits of any script are kept as
// ASCII ones, in order, and the number gets their verdict.
void TestKeyboard::digitsOfAnyScriptBecomeAscii()
{
    QFETCH(QString, way);
    QFETCH(QString, text);
    m_phone->setFocus();
    m_phone->setText(u"0"_s);
    m_phone->selectAll();
    QGuiApplication::clipboard()->setText(text);
    if (way == u"Shift+Insert"_s) {
        QTest::keyClick(m_phone, Qt::Key_Insert, Qt::ShiftModifier);
    } else if (way == u"context menu"_s) {
        QAction *paste = contextMenuPaste(m_phone);
        QVERIFY(paste);
        QVERIFY(paste->isEnabled());
        paste->trigger();
        m_phone->findChild<QMenu *>(u"qt_edit_menu"_s)->close();
    } else if (way == u"drop"_s) {
        QMimeData dropped;
        dropped.setText(text);
        m_phone->setCursorPosition(1);
        m_phone->clear();
        QVERIFY(dropOn(m_phone, dropped));
    } else {
        QAccessible::queryAccessibleInterface(m_phone)->editableTextInterface()->replaceText(
            0, 1, text);
    }
    QCOMPARE(m_phone->text(), u"13912345678"_s);
    QTest::keyClick(m_phone, Qt::Key_Return);
    QVERIFY(m_output->text().endsWith(u"吉凶注解：有得有失.华而不实"_s));

    // Typed, such a digit is still refused by the key-press rule.
    QTest::sendKeyEvent(QTest::Click, m_phone, Qt::Key_unknown, text.right(1), Qt::NoModifier);
    QCOMPARE(m_phone->text(), u"13912345678"_s);
}

// The phone box's menu shows no shortcut that its key rule refuses (Ctrl+V
// and the like): only Shift+Insert, beside Paste.
void TestKeyboard::menuShowsOnlyShortcutsThatWork()
{
    QGuiApplication::styleHints()->setShowShortcutsInContextMenus(true);
    m_phone->setFocus();
    QAction *paste = contextMenuPaste(m_phone);
    QVERIFY(paste);
    const std::unique_ptr<QMenu> menu(m_phone->findChild<QMenu *>(u"qt_edit_menu"_s));
    const QString shiftInsert
        = QKeySequence(Qt::SHIFT | Qt::Key_Insert).toString(QKeySequence::NativeText);
    for (const QAction *action : menu->actions()) {
        QCOMPARE(action->text().section(u'\t', 1), action == paste ? shiftInsert : QString());
        QVERIFY(action->shortcut().isEmpty());
    }
}

void TestKeyboard::linkWorksFromTheKeyboard()
{
    openPanel();
    QCOMPARE(m_output->text(), texts::kNumberTrick);
    QCOMPARE(m_window->height(), skin::kOpen.height());

    // Enter closes it again, and is not taken for the test button's.
    m_output->setText(u"x"_s);
    press(m_link, Qt::Key_Return);
    QCOMPARE(m_window->panelState(), u"0"_s);
    QCOMPARE(m_output->text(), texts::kNumberTrick);

    // A screen reader's press action runs the same handler.
    QAccessibleInterface *item = QAccessible::queryAccessibleInterface(m_link);
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(m_window->panelState(), u"1"_s);
    QCOMPARE(m_window->height(), skin::kOpen.height());
}

void TestKeyboard::linkShowsFocusOnlyWithIt()
{
    // The link's top-left pixel is skin until Tab brings the focus there.
    const QPoint corner = m_link->geometry().topLeft();
    const QColor skin = QImage(u":/skin.bmp"_s).pixelColor(corner);
    QVERIFY(pixelIs(m_window->grab().toImage(), corner, skin,
        QDir::temp().filePath(u"phone-fortune-link-unfocused.png"_s)));
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, m_link->geometry().center());
    QCOMPARE(QApplication::focusWidget(), m_test); // a click leaves the focus
    QVERIFY(pixelIs(m_window->grab().toImage(), corner, skin,
        QDir::temp().filePath(u"phone-fortune-link-clicked.png"_s)));

    for (int i = 0; i < 3; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_link);
    const QColor focused = m_window->grab().toImage().pixelColor(corner);
    QCOMPARE(focused, m_link->palette().color(QPalette::Highlight));

    QTest::keyClick(m_link, Qt::Key_Tab);
    QVERIFY(pixelIs(m_window->grab().toImage(), corner, skin,
        QDir::temp().filePath(u"phone-fortune-link-left.png"_s)));
}

void TestKeyboard::testButtonShowsFocusOnlyWithIt()
{
    // Focused, a dotted line runs inside the button's left edge; the face is
    // otherwise one colour along each row.
    const auto marked = [this] {
        const QImage button = m_window->grab(m_test->geometry()).toImage();
        for (int y = 3; y < button.height() - 3; ++y)
            if (button.pixel(3, y) != button.pixel(5, y))
                return true;
        return false;
    };
    QVERIFY(marked()); // where the focus starts
    QTest::keyClick(m_test, Qt::Key_Tab);
    QVERIFY(!marked());
    m_test->setFocus(); // as after an answer is ticked
    QVERIFY(marked());
}

void TestKeyboard::answerEndsTheSameHoweverGiven_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("way");
    const QStringList ways { u"mouse"_s, u"space"_s, u"toggle action"_s, u"click()"_s,
        u"toggle()"_s, u"setChecked()"_s };
    for (int index = 0; index < 4; ++index)
        for (const QString &way : ways)
            QTest::addRow("%c by %s", 'A' + index, qPrintable(way)) << index << way;
}

void TestKeyboard::answerEndsTheSameHoweverGiven()
{
    QFETCH(int, index);
    QFETCH(QString, way);
    const std::array answers { texts::kAnswerA, texts::kAnswerB, texts::kAnswerC, texts::kAnswerD };
    QAbstractButton *box = m_boxes[index];
    openPanel();
    if (way == u"mouse"_s) {
        QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, box->geometry().center());
    } else if (way == u"space"_s) {
        for (int i = 0; i <= index + 1; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        press(box, Qt::Key_Space);
    } else if (way == u"toggle action"_s) {
        QAccessibleInterface *item = QAccessible::queryAccessibleInterface(box);
        QVERIFY(item->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::toggleAction()));
        item->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    } else if (way == u"click()"_s) {
        box->click();
    } else if (way == u"toggle()"_s) {
        box->toggle();
    } else {
        box->setChecked(true);
    }
    QTRY_COMPARE(m_output->text(), answers[std::size_t(index)]);
    QCOMPARE(m_window->height(), skin::kClosed.height());
    QCOMPARE(m_window->panelState(), u"0"_s);
    for (QAbstractButton *each : std::as_const(m_boxes))
        QVERIFY(!each->isChecked());
}

void TestKeyboard::closingThePanelTakesFocusToTheTestButton()
{
    openPanel();
    // Into the quiz box; closing the panel by the link from there.
    QTest::keyClick(m_link, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_question);
    // Straight to the test button, not passed along the boxes as they hide
    // (a screen reader would speak each of them).
    QList<QWidget *> focused;
    const auto watch = connect(qApp, &QApplication::focusChanged, this,
        [&](QWidget *, QWidget *now) { focused.append(now); });
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, m_link->geometry().center());
    disconnect(watch);
    QCOMPARE(m_window->panelState(), u"0"_s);
    QCOMPARE(focused, QList<QWidget *> { m_test });

    // An answer ticked by the mouse: focus does not stay on the unseen box,
    // and Tab then Space does not answer again.
    openPanel();
    QTest::keyClick(m_link, Qt::Key_Tab);
    QTest::keyClick(m_question, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_boxes[0]);
    QTest::mouseClick(
        m_window->windowHandle(), Qt::LeftButton, {}, m_boxes[1]->geometry().center());
    QCOMPARE(m_output->text(), texts::kAnswerB);
    QCOMPARE(QApplication::focusWidget(), m_test);
    for (int step = 0; step < 8; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        QVERIFY2(m_window->rect().contains(focus->geometry()), qPrintable(focus->objectName()));
        if (focus != m_phone && focus != m_link)
            QTest::keyClick(focus, Qt::Key_Space);
    }
    QCOMPARE(m_window->panelState(), u"0"_s);
}

void TestKeyboard::closedPanelIsOutOfSight()
{
    const QList<QWidget *> panel { m_question, m_boxes[0], m_boxes[1], m_boxes[2], m_boxes[3] };
    const auto shown = [&](bool expected) {
        for (QWidget *control : panel) {
            const QAccessible::State state
                = QAccessible::queryAccessibleInterface(control)->state();
            if (state.invisible == expected || control->isVisible() != expected)
                return false;
        }
        return true;
    };
    QVERIFY(shown(false));
    QVERIFY(
        !m_link->isHidden() && !QAccessible::queryAccessibleInterface(m_link)->state().invisible);
    QCOMPARE(m_question->text(), texts::kQuestion); // kept, though not yet laid out
    openPanel();
    QVERIFY(shown(true));
    QCOMPARE(m_question->toPlainText(), QString(texts::kQuestion).replace(u"\r\n"_s, u"\n"_s));
    press(m_link, Qt::Key_Space);
    QVERIFY(shown(false));
}

void TestKeyboard::resultsAreAnnounced()
{
    auto *announcer = m_window->findChild<QWidget *>(u"Announcer"_s);
    QVERIFY(announcer);
    AnnouncementSpy spy(announcer);
    m_phone->setText(u"13912345678"_s);
    m_test->click();
    QCOMPARE(spy.announced,
        QStringList { u"手机号码：13912345678\n吉凶解释：吉带凶\n吉凶注解：有得有失.华而不实"_s });

    // Opening and closing the panel is said in a few words, not the number
    // trick that the output box then shows.
    openPanel();
    QCOMPARE(spy.announced.last(), u"其它功能已打开"_s);
    press(m_link, Qt::Key_Space);
    QCOMPARE(spy.announced.last(), u"其它功能已关闭"_s);

    press(m_link, Qt::Key_Space);
    QTest::keyClick(m_link, Qt::Key_Tab);
    QTest::keyClick(m_question, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    press(m_boxes[2], Qt::Key_Space);
    QCOMPARE(spy.announced.size(), 5);
    QVERIFY(
        spy.announced.last().startsWith(u"　　 选C的人：三天两头就视心情而更换。\n　　这类人"_s));

    // What sighted users see does not change: nothing drawn, focus kept.
    QVERIFY(announcer->size().isEmpty());
    QCOMPARE(QApplication::focusWidget(), m_test);
}

void TestKeyboard::openPanelStaysOnScreen()
{
    const QRect available = m_window->screen()->availableGeometry();
    m_window->move(100, available.bottom() - 250);
    QTRY_COMPARE(m_window->y(), available.bottom() - 250);
    openPanel();
    QCOMPARE(m_window->height(), skin::kOpen.height());
    QCOMPARE(m_window->frameGeometry().bottom(), available.bottom());
    QCOMPARE(m_window->x(), 100);

    // With room below, opening does not move the window.
    press(m_link, Qt::Key_Space);
    m_window->move(100, available.top() + 10);
    QTRY_COMPARE(m_window->y(), available.top() + 10);
    press(m_link, Qt::Key_Space);
    QCOMPARE(m_window->y(), available.top() + 10);
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
