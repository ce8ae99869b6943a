// End to end on a real X server: the built program started as a user starts
// it, driven with real pointer and key input, read back through the clipboard.
#include "pixels.h"
#include "warnings.h"
#include "xdotool.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// xdotool's geometry of a window: X, Y, WIDTH and HEIGHT.
QRect geometry(const QString &window)
{
    const QString shell = xdotool({ u"getwindowgeometry"_s, u"--shell"_s, window });
    QMap<QString, int> value;
    for (const QString &line : shell.split(u'\n'))
        value.insert(line.section(u'=', 0, 0), line.section(u'=', 1).toInt());
    return QRect(value[u"X"_s], value[u"Y"_s], value[u"WIDTH"_s], value[u"HEIGHT"_s]);
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private slots:
    void init() { failOnUnexpectedWarnings(); }
    void userRunsThePhoneTest();
    void keyboardAndEmptyClipboard();
    void startsOnTheDisplayItsOptionNames();
    void widthHoldsAtAFractionalScale();
    void wholeOnAMonitorOfAnotherScale();

private:
    // Starts the program, with one variable more in its environment if named.
    void start(QProcess &program, const QStringList &arguments = {}, const QString &variable = {},
        const QString &value = {});
    void clickAt(QPoint inWindow, int button = 1);
    void key(const QString &keys);
    void dragBy(QPoint inWindow, int dx);
    QString copyFrom(QPoint inWindow);
    QString property(const QString &name) const;

    QString m_window;
    QPoint m_origin;
    QPoint m_pointer;
};

void TestDesktop::start(
    QProcess &program, const QStringList &arguments, const QString &variable, const QString &value)
{
    if (!variable.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(variable, value);
        program.setProcessEnvironment(environment);
    }
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(PHONE_FORTUNE_BINARY), arguments);
    QVERIFY(program.waitForStarted());
    m_window = xdotool(
        { u"search"_s, u"--sync"_s, u"--onlyvisible"_s, u"--name"_s, u"^手机号码吉祥如意测算$"_s });
    QVERIFY2(!m_window.isEmpty() && !m_window.contains(u'\n'), qPrintable(m_window));
    // Wait until the window manager has taken the window in, as a desktop
    // user's window always is: it then states the window's frame.
    QTRY_VERIFY_WITH_TIMEOUT(!property(u"_NET_FRAME_EXTENTS"_s).endsWith(u"not found."_s), 10000);
    m_origin = geometry(m_window).topLeft();
}

QString TestDesktop::property(const QString &name) const
{
    return run(u"xprop"_s, { u"-id"_s, m_window, name });
}

void TestDesktop::clickAt(QPoint inWindow, int button)
{
    const QPoint at = m_origin + inWindow;
    // A move to where the pointer already is would wait for motion forever.
    if (at != m_pointer)
        xdotool({ u"mousemove"_s, u"--sync"_s, QString::number(at.x()), QString::number(at.y()) });
    m_pointer = at;
    xdotool({ u"click"_s, QString::number(button) });
}

// Selects all of the text box at inWindow and copies it, as a user would.
QString TestDesktop::copyFrom(QPoint inWindow)
{
    QGuiApplication::clipboard()->clear();
    clickAt(inWindow);
    key(u"ctrl+a ctrl+c"_s);
    QString copied;
    (void)QTest::qWaitFor( // empty if nothing came, which the caller sees
        [&copied] { return !(copied = QGuiApplication::clipboard()->text()).isEmpty(); }, 5000);
    return copied;
}

void TestDesktop::key(const QString &keys)
{
    xdotool(QStringList { u"key"_s, u"--delay"_s, u"20"_s } + keys.split(u' '));
}

void TestDesktop::userRunsThePhoneTest()
{
    QProcess program;
    start(program);
    if (QTest::currentTestFailed())
        return;

    // Borderless, 303 x 200, centred on the screen.
    const QString extents = property(u"_NET_FRAME_EXTENTS"_s);
    QVERIFY2(extents.endsWith(u"= 0, 0, 0, 0"_s), qPrintable(extents));
    // The window's icon reaches the desktop.
    const QString icon = property(u"_NET_WM_ICON"_s);
    QVERIFY2(icon.contains(u"Icon (32 x 32)"_s), qPrintable(icon.left(200)));
    QRect frame = geometry(m_window);
    QCOMPARE(frame.size(), QSize(303, 200));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY2(std::abs(frame.center().x() - screen.center().x()) <= 1
            && std::abs(frame.center().y() - screen.center().y()) <= 1,
        qPrintable(u"window at %1,%2"_s.arg(frame.x()).arg(frame.y())));
    m_origin = frame.topLeft();

    // Type a number (a letter among it is refused) and press the test button.
    clickAt({ 130, 46 });
    key(u"End"_s + u" BackSpace"_s.repeated(8));
    xdotool({ u"type"_s, u"--delay"_s, u"20"_s, u"1391234a5678"_s });
    clickAt({ 250, 46 });

    // Read the result back as a user would: select it all and copy it.
    clickAt({ 150, 120 });
    key(u"ctrl+a ctrl+c"_s);
    const QString expected = u"-----------------------\n手机号码：13912345678\n"
                             "-----------------------\n\n吉凶解释：吉带凶\n\n"
                             "吉凶注解：有得有失.华而不实"_s;
    QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::clipboard()->text(), expected, 10000);

    // Open the extra panel, then close the program with its close mark.
    clickAt({ 20, 186 });
    QTRY_COMPARE(geometry(m_window).size(), QSize(303, 371));
    clickAt({ 286, 12 });
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

void TestDesktop::keyboardAndEmptyClipboard()
{
    // Nothing has been copied on this display yet: the clipboard has no owner.
    QVERIFY(QGuiApplication::clipboard()->mimeData()->formats().isEmpty());
    QProcess program;
    start(program);
    if (QTest::currentTestFailed())
        return;

    // Paste nothing into the quiz box, by Ctrl+V, Shift+Insert and the
    // middle button: the program lives on and the question is unchanged.
    clickAt({ 20, 186 });
    QTRY_COMPARE(geometry(m_window).size(), QSize(303, 371));
    clickAt({ 150, 240 });
    key(u"ctrl+v shift+Insert"_s);
    clickAt({ 150, 240 }, 2);
    // The copy is handled after the pastes, so the program has outlived them.
    const QString question = copyFrom({ 150, 240 });
    QCOMPARE(program.state(), QProcess::Running);
    QVERIFY2(question.startsWith(u"　　成为社会人士"_s), qPrintable(question));
    QVERIFY2(question.contains(u"D、精心设计"_s), qPrintable(question));

    // Answer B with the mouse. Focus goes to the test button, not staying on
    // the box now out of sight, so Tab then Space cannot answer C.
    clickAt({ 18, 307 });
    QTRY_COMPARE(geometry(m_window).size(), QSize(303, 200));
    key(u"Tab space"_s);
    // Handled after the keys: the answer stands, and the panel stayed shut.
    const QString answer = copyFrom({ 150, 120 });
    QVERIFY2(answer.contains(u"选B的人"_s), qPrintable(answer));
    QCOMPARE(geometry(m_window).size(), QSize(303, 200));

    // Tab round the closed window reaches the link; Space opens the panel,
    // and the first Tab then goes into the quiz box.
    clickAt({ 150, 120 }); // the output box
    key(u"Tab Tab space"_s); // phone box, link, open
    QTRY_COMPARE(geometry(m_window).size(), QSize(303, 371));
    key(u"Tab ctrl+a ctrl+c"_s);
    QTRY_VERIFY(QGuiApplication::clipboard()->text().startsWith(u"　　成为社会人士"_s));

    // The desktop's own close shortcut ends the program like the close mark.
    // It acts on the active window, which this one is once clicked.
    const QString active = u"window id # 0x"_s + QString::number(m_window.toULongLong(), 16);
    QTRY_VERIFY(run(u"xprop"_s, { u"-root"_s, u"_NET_ACTIVE_WINDOW"_s }).endsWith(active));
    key(u"alt+F4"_s);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

void TestDesktop::startsOnTheDisplayItsOptionNames()
{
    // Started on the display named by the toolkit's option alone; the drags
    // on every desktop are in tst_desktops.
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"DISPLAY"_s);
    program.setProcessEnvironment(environment);
    start(program, { u"-display"_s, qEnvironmentVariable("DISPLAY") });
    if (QTest::currentTestFailed())
        return;
    clickAt({ 286, 12 });
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 0);
}

void TestDesktop::widthHoldsAtAFractionalScale()
{
    QProcess program;
    start(program, {}, u"QT_SCALE_FACTOR"_s, u"1.5"_s);
    if (QTest::currentTestFailed())
        return;
    // 303 pixels are 454.5 device pixels: whichever way that is rounded, the
    // panel's opening and closing keep it.
    const int width = geometry(m_window).width();
    QVERIFY2(width == 454 || width == 455, qPrintable(QString::number(width)));
    for (const int height : { 557, 300 }) { // 371 and 200 pixels, rounded
        clickAt({ 30, 279 }); // the link
        QTRY_COMPARE(geometry(m_window).height(), height);
        QCOMPARE(geometry(m_window).width(), width);
    }
    key(u"alt+F4"_s);
    QVERIFY(program.waitForFinished(10000));
}

// Drags the window by its title band at inWindow, dx pixels across, in steps.
void TestDesktop::dragBy(QPoint inWindow, int dx)
{
    const QPoint press = geometry(m_window).topLeft() + inWindow;
    xdotool(
        { u"mousemove"_s, u"--sync"_s, QString::number(press.x()), QString::number(press.y()) });
    xdotool({ u"mousedown"_s, u"1"_s });
    for (int step = 1; step <= 10; ++step) {
        QTest::qWait(50);
        xdotool({ u"mousemove"_s, QString::number(press.x() + dx * step / 10),
            QString::number(press.y()) });
    }
    QTest::qWait(100);
    xdotool({ u"mouseup"_s, u"1"_s });
    m_pointer = press + QPoint(dx, 0);
}

// Two monitors side by side, the right one at twice the scale: the window
// dragged onto it is drawn at its scale and shows all of itself, and dragged
// back, at the left one's again. (Run on a screen 3200 pixels wide.)
void TestDesktop::wholeOnAMonitorOfAnotherScale()
{
    if (QGuiApplication::primaryScreen()->size().width() < 3200)
        QSKIP("needs a screen 3200 pixels wide (tests/with-xvfb.sh --screen 3200x1200)");
    run(u"xrandr"_s, { u"--setmonitor"_s, u"LEFT"_s, u"1280/338x1024/270+0+0"_s, u"screen"_s });
    run(u"xrandr"_s, { u"--setmonitor"_s, u"RIGHT"_s, u"1920/508x1200/317+1280+0"_s, u"none"_s });
    QTRY_COMPARE(QGuiApplication::screens().size(), 2);

    QProcess program;
    start(program, {}, u"QT_SCREEN_SCALE_FACTORS"_s, u"LEFT=1;RIGHT=2"_s);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(geometry(m_window).size(), QSize(303, 200));

    // Onto the right monitor, whole: the close mark's black cross at its
    // place in the skin, twice as far in.
    dragBy({ 50, 10 }, 1300 - geometry(m_window).x());
    QTRY_COMPARE_WITH_TIMEOUT(geometry(m_window).size(), QSize(606, 400), 10000);
    const QRect doubled = geometry(m_window);
    QVERIFY2(doubled.left() >= 1280, qPrintable(QString::number(doubled.left())));
    QTRY_VERIFY_WITH_TIMEOUT(
        nearColour(QGuiApplication::primaryScreen()
                       ->grabWindow(0, doubled.x() + 2 * 286, doubled.y() + 2 * 12, 1, 1)
                       .toImage()
                       .pixelColor(0, 0),
            Qt::black),
        5000);
    m_origin = doubled.topLeft();
    clickAt({ 60, 372 }); // the link, at twice its place: the panel opens
    QTRY_COMPARE(geometry(m_window).size(), QSize(606, 742));
    clickAt({ 60, 372 });
    QTRY_COMPARE(geometry(m_window).size(), QSize(606, 400));

    // And back again.
    dragBy({ 100, 20 }, 400 - doubled.x());
    QTRY_COMPARE_WITH_TIMEOUT(geometry(m_window).size(), QSize(303, 200), 10000);
    m_origin = geometry(m_window).topLeft();
    clickAt({ 286, 12 }); // the close mark
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 0);
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
