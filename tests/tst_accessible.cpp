// What assistive technology asks of the window's texts and controls: every
// text item at every offset, answered at once and consistently, attribute
// runs that cover the text, and the link that opens the panel.
#include "window/controls/accessibletext.h"

#include "windowtest.h"

#include <QAccessible>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace Qt::Literals::StringLiterals;

namespace {

// Ends the test program should a call not return in time: a call that hangs
// would otherwise hang the test with it.
class Watchdog
{
public:
    explicit Watchdog(QByteArray what)
        : m_what(std::move(what))
        , m_thread([this] {
            std::unique_lock lock(m_mutex);
            if (!m_done.wait_for(lock, std::chrono::seconds(2), [this] { return m_returned; }))
                qFatal("%s did not return within 2 s", m_what.constData());
        })
    { }

    ~Watchdog()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_returned = true;
        }
        m_done.notify_one();
        m_thread.join();
    }

    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;

private:
    QByteArray m_what;
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_returned = false;
    std::thread m_thread;
};

struct Answer
{
    QString text;
    int start = 0;
    int end = 0;
};

using accessibletext::Side;

Answer ask(
    QAccessibleTextInterface *text, Side side, int offset, QAccessible::TextBoundaryType boundary)
{
    const Watchdog watchdog(QByteArray("text item ") + QByteArray::number(int(side)) + " at "
        + QByteArray::number(offset) + " by " + QByteArray::number(int(boundary)));
    Answer answer;
    switch (side) {
    case Side::Before:
        answer.text = text->textBeforeOffset(offset, boundary, &answer.start, &answer.end);
        break;
    case Side::At:
        answer.text = text->textAtOffset(offset, boundary, &answer.start, &answer.end);
        break;
    case Side::After:
        answer.text = text->textAfterOffset(offset, boundary, &answer.start, &answer.end);
        break;
    }
    return answer;
}

// Whether the answer is a stretch of the text between 0 and its length, or,
// for an offset outside the text, nothing.
bool isStretchOf(const Answer &answer, const QString &all, int offset)
{
    if (offset < -1 || offset > all.size())
        return answer.text.isEmpty() && answer.start == -1 && answer.end == -1;
    return answer.start >= 0 && answer.start <= answer.end && answer.end <= all.size()
        && answer.text == all.mid(answer.start, answer.end - answer.start);
}

} // namespace

class TestAccessible : public WindowFixture
{
    Q_OBJECT

private slots:
    void textItemsAtEveryOffset_data();
    void textItemsAtEveryOffset();
    void wordsAndLinesAsRead_data();
    void wordsAndLinesAsRead();
    void wrappedLinesAreReadAsShown();
    void editsKeepOnlyDigits();
    void attributeRunsCoverTheText();
    void linkSaysWhetherThePanelIsOpen();
};

void TestAccessible::textItemsAtEveryOffset_data()
{
    QTest::addColumn<QByteArray>("control");
    QTest::addColumn<QString>("text"); // empty: the control's own at start
    QTest::addColumn<bool>("afterTest"); // the output box after a test

    for (const char *name : { "Text2", "Text1", "Text4" })
        QTest::addRow("%s", name) << QByteArray(name) << QString() << false;
    QTest::addRow("Text1, a result") << QByteArray("Text1") << QString() << true;
    QTest::addRow("Text2, empty") << QByteArray("Text2") << u""_s << false;
    QTest::addRow("Text2, one digit") << QByteArray("Text2") << u"7"_s << false;
    QTest::addRow("Text4, two words") << QByteArray("Text4") << u"ab, cd.\nE"_s << false;
}

// Each text item, for each kind, at each offset near the edges and in the
// middle: answered at once, a stretch of the text, and where the items fit
// together (the item before ends where the item at begins, the item after
// begins where it ends).
void TestAccessible::textItemsAtEveryOffset()
{
    QFETCH(QByteArray, control);
    QFETCH(QString, text);
    QFETCH(bool, afterTest);
    auto *widget = findControl<QWidget>(*m_window, control.constData());
    QVERIFY(widget);
    m_link->click(); // the quiz text is laid out once it is in view
    if (afterTest)
        m_test->click();
    QAccessibleInterface *item = QAccessible::queryAccessibleInterface(widget);
    QAccessibleTextInterface *textual = item->textInterface();
    QVERIFY(textual);
    if (!text.isNull())
        item->editableTextInterface()->replaceText(0, textual->characterCount(), text);
    const QString all = textual->text(0, textual->characterCount());
    QVERIFY(text.isNull() || all == text);
    const int length = int(all.size());

    const QList<int> offsets { -3, -1, 0, 1, length / 2, length - 1, length, length + 1 };
    const std::array boundaries { QAccessible::CharBoundary, QAccessible::WordBoundary,
        QAccessible::SentenceBoundary, QAccessible::LineBoundary, QAccessible::ParagraphBoundary,
        QAccessible::NoBoundary };
    for (const QAccessible::TextBoundaryType boundary : boundaries) {
        for (const int offset : offsets) {
            const auto where = qPrintable(
                u"boundary %1, offset %2 of %3"_s.arg(int(boundary)).arg(offset).arg(length));
            const Answer before = ask(textual, Side::Before, offset, boundary);
            const Answer at = ask(textual, Side::At, offset, boundary);
            const Answer after = ask(textual, Side::After, offset, boundary);
            QVERIFY2(isStretchOf(before, all, offset), where);
            QVERIFY2(isStretchOf(at, all, offset), where);
            QVERIFY2(isStretchOf(after, all, offset), where);
            if (offset < -1 || offset > length)
                continue;
            const int position = offset == -1 ? length : offset;
            if (position < length) {
                QVERIFY2(at.start <= position && position < at.end, where);
            } else if (boundary != QAccessible::CharBoundary && length > 0) {
                QVERIFY2(at.start < length && at.end == length, where); // the last one
            } else {
                QVERIFY2(at.start == length && at.end == length, where);
            }
            if (boundary == QAccessible::CharBoundary && position < length)
                QCOMPARE(at.end - at.start, 1);
            if (boundary == QAccessible::NoBoundary) {
                QVERIFY2(at.text == all && before.text.isEmpty() && after.text.isEmpty(), where);
                continue;
            }
            QVERIFY2(before.end == at.start && after.start == at.end, where);
        }
    }
}

void TestAccessible::wordsAndLinesAsRead_data()
{
    QTest::addColumn<QByteArray>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("boundary");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("expected");

    const auto word = int(QAccessible::WordBoundary);
    const auto line = int(QAccessible::LineBoundary);
    QTest::newRow("the word at the end")
        << QByteArray("Text2") << u"12345678"_s << word << 8 << u"12345678"_s;
    QTest::newRow("the word at -1")
        << QByteArray("Text2") << u"12345678"_s << word << -1 << u"12345678"_s;
    QTest::newRow("the line of a number")
        << QByteArray("Text2") << u"13800138000"_s << line << 11 << u"13800138000"_s;
    QTest::newRow("a word between spaces")
        << QByteArray("Text4") << u"ab cd ef"_s << word << 4 << u"cd"_s;
    QTest::newRow("a line with its break")
        << QByteArray("Text4") << u"ab\ncd\nef"_s << line << 4 << u"cd\n"_s;
    QTest::newRow("the last line") << QByteArray("Text4") << u"ab\ncd"_s << line << 5 << u"cd"_s;
}

// What a screen reader reads as the cursor moves by word or by line.
void TestAccessible::wordsAndLinesAsRead()
{
    QFETCH(QByteArray, control);
    QFETCH(QString, text);
    QFETCH(int, boundary);
    QFETCH(int, offset);
    QFETCH(QString, expected);
    auto *widget = findControl<QWidget>(*m_window, control.constData());
    QVERIFY(widget);
    m_link->click();
    QAccessibleInterface *item = QAccessible::queryAccessibleInterface(widget);
    item->editableTextInterface()->replaceText(0, item->textInterface()->characterCount(), text);
    QCOMPARE(
        ask(item->textInterface(), Side::At, offset, QAccessible::TextBoundaryType(boundary)).text,
        expected);
}

// A paragraph that wraps is read line by line, as the box shows it.
void TestAccessible::wrappedLinesAreReadAsShown()
{
    m_link->click();
    const QString paragraph = u"ab "_s.repeated(80);
    QAccessibleInterface *item = QAccessible::queryAccessibleInterface(m_question);
    item->editableTextInterface()->replaceText(
        0, item->textInterface()->characterCount(), paragraph);
    const Answer first = ask(item->textInterface(), Side::At, 0, QAccessible::LineBoundary);
    QVERIFY2(first.end > 0 && first.end < paragraph.size(), qPrintable(first.text));
    QVERIFY(first.text.endsWith(u' '));
    QCOMPARE(
        ask(item->textInterface(), Side::After, 0, QAccessible::LineBoundary).start, first.end);
    QCOMPARE(ask(item->textInterface(), Side::At, first.end, QAccessible::LineBoundary).start,
        first.end);
}

// Assistive technology edits the phone box as a paste does: digits only, and
// nothing from text without one.
void TestAccessible::editsKeepOnlyDigits()
{
    QAccessibleEditableTextInterface *edit
        = QAccessible::queryAccessibleInterface(m_phone)->editableTextInterface();
    edit->replaceText(0, 8, u"139a1234５678"_s);
    QCOMPARE(m_phone->text(), u"13912345678"_s);
    edit->insertText(3, u"abc"_s);
    edit->replaceText(0, 11, u"-"_s);
    QCOMPARE(m_phone->text(), u"13912345678"_s);
    edit->deleteText(3, 99);
    QCOMPARE(m_phone->text(), u"139"_s);
}

// A screen reader builds a line from its runs of attributes: each run must
// hold the offset it was asked for, or characters are lost.
void TestAccessible::attributeRunsCoverTheText()
{
    m_phone->setText(u"13800138000"_s);
    m_link->click();
    for (QWidget *widget : std::initializer_list<QWidget *> { m_phone, m_output, m_question }) {
        QAccessibleTextInterface *text
            = QAccessible::queryAccessibleInterface(widget)->textInterface();
        const int length = text->characterCount();
        QVERIFY(length > 0);
        for (int offset = 0; offset < length; ++offset) {
            int start = -1;
            int end = -1;
            text->attributes(offset, &start, &end);
            QVERIFY2(start <= offset && offset < end,
                qPrintable(u"%1 at %2: %3 to %4"_s.arg(widget->objectName())
                               .arg(offset)
                               .arg(start)
                               .arg(end)));
        }
    }
}

// 其它功能 is expandable, and expanded while the panel is open, whether it
// was opened by mouse, key or assistive technology.
void TestAccessible::linkSaysWhetherThePanelIsOpen()
{
    QAccessibleInterface *link = QAccessible::queryAccessibleInterface(m_link);
    QVERIFY(link->state().expandable);
    QVERIFY(!link->state().expanded && link->state().collapsed);

    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(link->state().expanded && !link->state().collapsed);
    QCOMPARE(m_window->panelState(), u"1"_s);
    QTest::keyClick(m_link, Qt::Key_Space);
    QVERIFY(!link->state().expanded && link->state().collapsed);
    m_link->click();
    QVERIFY(link->state().expanded);
    m_boxes[0]->click(); // an answer closes the panel too
    QVERIFY(!link->state().expanded);
}

QTEST_MAIN(TestAccessible)
#include "tst_accessible.moc"
