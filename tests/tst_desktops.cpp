// End to end on the desktops users run: the built program started as a user
// starts it, seen in screenshots of the screen and driven with real pointer
// and key input through xdotool. One row for each desktop; a row runs only
// under tests/with-desktop.sh with its name (CTest starts one per desktop).
// The test itself runs on X: a Wayland compositor is nested in the X server.
// On the reference desktop, openbox, more is checked through the window
// manager's view of the window, and the result is read back through the
// clipboard.
#include "pixels.h"
#include "skin.h"
#include "warnings.h"
#include "xdotool.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QtTest>

#include <algorithm>
#include <array>
#include <csignal>
#include <string_view>

using namespace Qt::Literals::StringLiterals;

namespace {

// The window's top-left corner on the screen, found by its skin: the title
// band, RGB(96, 96, 131), starts 3 pixels in and 4 down. Null if not shown.
QPoint findWindow(const QImage &shot)
{
    const QColor band = skin::kTitleBand;
    for (int y = 0; y < shot.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(shot.constScanLine(y));
        for (int x = 0; x + 200 < shot.width(); ++x)
            if (nearColour(line[x], band) && nearColour(line[x + 200], band))
                return QPoint(x - 3, y - 4);
    }
    return {};
}

// A point of the window, in its own pixels, where it lies at scale.
QPoint scaled(QPoint at, qreal scale)
{
    return (QPointF(at) * scale).toPoint();
}

// Points of the skin, from the window's top-left corner.
QList<std::pair<QPoint, QColor>> skinPoints()
{
    return {
        { { 30, 12 }, skin::kTitleBand }, // title band, left of its text
        { { 250, 12 }, skin::kTitleBand }, // and right of it
        { { 0, 100 }, skin::kLeftEdge }, // left edge of the skin
        { { 280, 6 }, skin::kCloseRed }, // close mark's red edge
        { { 5, 100 }, skin::kBody }, // body, left of the output box
        { { 302, 100 }, skin::kNavy }, // navy strip at the right
        { { 150, 199 }, skin::kNavy }, // and at the bottom
    };
}

// Whether pixel is the desktop's background, or a soft shadow cast on it:
// the same colour, darkened. A frame is neither.
bool backgroundOrShadow(QColor pixel, QColor background)
{
    const int lightness = pixel.red() + pixel.green() + pixel.blue();
    const int backgroundLightness = background.red() + background.green() + background.blue();
    if (backgroundLightness < 30)
        return lightness < 30;
    const double darkened = double(lightness) / backgroundLightness;
    if (darkened > 1.15) // allowing for a background that shades off
        return false;
    const auto near = [darkened](int channel, int backgroundChannel) {
        return std::abs(channel - darkened * backgroundChannel) <= 12;
    };
    return near(pixel.red(), background.red()) && near(pixel.green(), background.green())
        && near(pixel.blue(), background.blue());
}

// Where the whole window shows, skin and no frame; null until it does. Just
// outside each edge is what lies 80 pixels further out (beyond any title bar
// or shadow), or its shadow, wherever that point is on the screen.
QPoint shownWindow(const QImage &shot, QString *why = nullptr)
{
    const QPoint origin = findWindow(shot);
    if (origin.isNull())
        return {};
    for (const auto &[at, colour] : skinPoints())
        if (!nearColour(shot.pixelColor(origin + at), colour)) {
            if (why)
                *why = u"skin at %1,%2"_s.arg(at.x()).arg(at.y());
            return {};
        }
    const QList<std::pair<QPoint, QPoint>> edges { { { 150, -1 }, { 0, -80 } },
        { { -1, 100 }, { -80, 0 } }, { { 303, 100 }, { 80, 0 } }, { { 150, 200 }, { 0, 80 } } };
    for (const auto &[outside, further] : edges) {
        const QPoint at = origin + outside;
        const QPoint beyond = at + further;
        // Near the screen's edge there is nothing to compare with: what
        // lies at the edge itself may be anything (a nested compositor's
        // own frame, say), not the desktop.
        if (!shot.rect().contains(beyond))
            continue;
        if (!backgroundOrShadow(shot.pixelColor(at), shot.pixelColor(beyond))) {
            if (why)
                *why = u"a frame at %1,%2"_s.arg(outside.x()).arg(outside.y());
            return {};
        }
    }
    return origin;
}

// Whether the panel is open: its question box, RGB(128, 128, 255), fills
// most of a line through it, between its first two lines of text, near its
// top (a compositor may place the window so low that the open panel's
// bottom is off the screen).
bool panelOpen(QPoint origin)
{
    const QImage shot = screenshot();
    int filled = 0;
    for (int x = 5; x < 298; ++x)
        filled += nearColour(shot.pixelColor(origin + QPoint(x, 218)), skin::kQuestionBox);
    return filled > 150;
}

// Whether the window has the keyboard: the test button, which has the focus
// in the window, then shows its dotted focus rectangle (3 pixels inside it).
bool hasKeyboard(QPoint origin)
{
    const QImage shot = screenshot();
    int dots = 0;
    for (int x = 215; x < 286; ++x)
        dots += shot.pixelColor(origin + QPoint(x, 38)).lightness() < 64;
    return dots >= 10;
}

QImage area(QPoint origin, QRect rect)
{
    return screenshot().copy(rect.translated(origin));
}

// Pixels that differ between two pictures of a box; a blinking text cursor
// alone makes at most about 20.
int differingPixels(const QImage &a, const QImage &b)
{
    int count = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            count += !nearColour(a.pixelColor(x, y), b.pixelColor(x, y));
    return count;
}

// Whether the phone box shows nothing but its grey ground (and perhaps the
// text cursor) inside its frame.
bool phoneBoxIsEmpty(const QImage &box)
{
    int ink = 0;
    for (int y = 3; y < box.height() - 3; ++y)
        for (int x = 3; x < box.width() - 3; ++x)
            ink += !nearColour(box.pixelColor(x, y), skin::kPhoneGround);
    return ink <= 20;
}

// The test's own environment, with name set to value, or without name.
QProcessEnvironment environmentWith(const QString &name, const QString &value = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (value.isNull())
        environment.remove(name);
    else
        environment.insert(name, value);
    return environment;
}

QString windowProperty(const QString &window, const QString &name)
{
    return run(u"xprop"_s, { u"-id"_s, window, name });
}

// The window that holds window: a window manager's frame, or the root.
QString parentOf(const QString &window)
{
    static const QRegularExpression parent(u"Parent window id: (0x[0-9a-f]+)"_s);
    return parent.match(run(u"xwininfo"_s, { u"-tree"_s, u"-id"_s, window })).captured(1);
}

// Whether the test runs on the desktop named (tests/with-desktop.sh NAME).
bool onDesktop(const QString &name)
{
    return qEnvironmentVariable("PHONE_FORTUNE_DESKTOP") == name;
}

// The tests that look through openbox's view of the window, and so run on
// openbox alone.
constexpr std::array kOpenboxOnly { "userRunsThePhoneTest", "keyboardAndEmptyClipboard",
    "startsOnTheDisplayItsOptionNames", "endsWhenItsWindowIsDestroyed",
    "widthHoldsAtAFractionalScale", "wholeOnAMonitorOfAnotherScale",
    "survivesItsWindowManagerReplaced" };

} // namespace

// Waits until condition holds, for at most timeout ms, looking again every
// 50 ms as QTRY_VERIFY does (a few frames apart; each look may take a
// screenshot).
template<typename Condition> bool tryFor(Condition condition, int timeout)
{
    const QDeadlineTimer deadline(timeout);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(50);
    }
    return true;
}

// As QVERIFY2 and QTRY_VERIFY2_WITH_TIMEOUT, in the steps that return whether
// they went as they should: a failure is recorded where it happens, with its
// message (made only then), and the step returns false, which the test checks
// with QVERIFY.
#define STEP_CHECK(met, what, message)                                                             \
    do {                                                                                           \
        const bool passed = (met);                                                                 \
        if (!QTest::qVerify(                                                                       \
                passed, what, passed ? nullptr : qPrintable(message), __FILE__, __LINE__))         \
            return false;                                                                          \
    } while (false)
#define STEP_VERIFY2(condition, message) STEP_CHECK(condition, #condition, message)
#define STEP_TRY_VERIFY2(condition, message, timeout)                                              \
    STEP_CHECK(tryFor([&] { return bool(condition); }, timeout), #condition, message)

class TestDesktops : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void userOnDesktop_data();
    void userOnDesktop();
    void typingWithTheInputMethod();

    // On openbox only.
    void userRunsThePhoneTest();
    void keyboardAndEmptyClipboard();
    void startsOnTheDisplayItsOptionNames();
    void endsWhenItsWindowIsDestroyed();
    void widthHoldsAtAFractionalScale();
    void wholeOnAMonitorOfAnotherScale();
    void survivesItsWindowManagerReplaced();

private:
    [[nodiscard]] bool launch(QProcess &program, const QStringList &arguments = {},
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment());
    [[nodiscard]] bool start(QProcess &program);
    [[nodiscard]] bool startManaged(QProcess &program, const QStringList &arguments = {},
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    void pointerTo(QPoint at);
    void clickAt(QPoint inWindow, int button = 1);
    void key(const QString &keys);
    [[nodiscard]] bool drag(int button, bool moves);
    void pressAndMove(QPoint press, int button, const QList<QPoint> &steps);
    void dragBy(QPoint inWindow, int dx);
    [[nodiscard]] bool latePress(QProcess &program);
    [[nodiscard]] bool closeWith(QProcess &program, const QString &how);
    QString copyFrom(QPoint inWindow);

    bool m_wayland = false;
    // How long the screen may take to show what the program drew: a picture
    // that lags (tests/with-wayland.sh says when) gets longer.
    int m_patience = qEnvironmentVariableIsSet("PHONE_FORTUNE_PICTURE_LAGS") ? 30000 : 5000;
    QPoint m_origin;
    QString m_window; // the window's X id, once started managed
};

void TestDesktops::init()
{
    failOnUnexpectedWarnings();
    const std::string_view test = QTest::currentTestFunction();
    if (std::find(kOpenboxOnly.cbegin(), kOpenboxOnly.cend(), test) != kOpenboxOnly.cend()
        && !onDesktop(u"openbox"_s))
        QSKIP("runs under tests/with-desktop.sh openbox");
}

void TestDesktops::userOnDesktop_data()
{
    QTest::addColumn<bool>("wayland");
    QTest::addColumn<bool>("closeShortcut"); // Alt+F4 closes the active window
    QTest::newRow("openbox") << false << true;
    QTest::newRow("mutter-x11") << false << true;
    QTest::newRow("kwin-x11") << false << true;
    QTest::newRow("xfwm4") << false << true;
    QTest::newRow("weston") << true << false;
    QTest::newRow("mutter-wayland") << true << true;
    QTest::newRow("kwin-wayland") << true << true;
}

// Starts the program as a user does, in environment: on Wayland as a
// Wayland client.
bool TestDesktops::launch(
    QProcess &program, const QStringList &arguments, QProcessEnvironment environment)
{
    if (m_wayland) {
        environment.insert(u"QT_QPA_PLATFORM"_s, u"wayland"_s);
        environment.remove(u"DISPLAY"_s); // a Wayland client, with no way back to X
    } else {
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    }
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PHONE_FORTUNE_BINARY), arguments);
    STEP_VERIFY2(program.waitForStarted(), program.errorString());
    return true;
}

bool TestDesktops::start(QProcess &program)
{
    if (!launch(program))
        return false;
    // Started: its skin shows, whole and with no frame around it.
    m_origin = {};
    QString why = u"no window"_s;
    const QString saveAs = QDir::temp().filePath(u"phone-fortune-desktop.png"_s);
    // Shown, and done arriving: two pictures alike, a frame or more apart. A
    // picture may show the window while it still changes: weston fades its
    // whole desktop in as it starts, and the fade's last frames are within
    // the colours' tolerance (weston 16, with the pointer arriving then, crashed
    // every time).
    QImage seen;
    const auto arrived = [&] {
        const QImage shot = screenshot();
        const QPoint origin = shownWindow(shot, &why);
        const QImage window = origin.isNull() ? QImage() : shot.copy(QRect(origin, skin::kClosed));
        const bool rests = !window.isNull() && origin == m_origin && window == seen;
        m_origin = origin;
        seen = window;
        return rests;
    };
    STEP_TRY_VERIFY2(arrived(),
        u"%1; the screen is in %2"_s.arg(why, saveAs)
            + (screenshot().save(saveAs) ? u""_s : u" (unsaved)"_s),
        std::max(20000, m_patience));
    // The desktop's attention (keyboard focus) comes with a click on the
    // window's body, where nothing else happens. The pointer comes to rest
    // there first, as a hand does: weston 16 crashes (in its shell's
    // click-to-activate) when it handles the pointer's arrival on a window
    // just shown and a press together, as a busy machine makes it do.
    pointerTo(m_origin + QPoint(5, 100));
    QTest::qWait(200);
    clickAt(QPoint(5, 100));
    STEP_TRY_VERIFY2(
        hasKeyboard(m_origin), u"the window has no keyboard focus"_s, std::max(10000, m_patience));
    return true;
}

// Starts the program on X and waits until the window manager has taken its
// window in, as a desktop user's window always is: it then states the
// window's frame. The window is known by its X id.
bool TestDesktops::startManaged(
    QProcess &program, const QStringList &arguments, const QProcessEnvironment &environment)
{
    if (!launch(program, arguments, environment))
        return false;
    m_window = programWindow();
    STEP_VERIFY2(!m_window.isEmpty() && !m_window.contains(u'\n'), m_window);
    STEP_TRY_VERIFY2(!windowProperty(m_window, u"_NET_FRAME_EXTENTS"_s).endsWith(u"not found."_s),
        u"the window manager did not take the window in"_s, 10000);
    m_origin = windowGeometry(m_window).topLeft();
    return true;
}

void TestDesktops::pointerTo(QPoint at)
{
    xdotool({ u"mousemove"_s, u"--sync"_s, QString::number(at.x()), QString::number(at.y()) });
}

void TestDesktops::clickAt(QPoint inWindow, int button)
{
    const QPoint at = m_origin + inWindow;
    // A move to where the pointer already is would wait for motion forever.
    if (QCursor::pos() != at)
        pointerTo(at);
    xdotool({ u"click"_s, QString::number(button) });
}

void TestDesktops::key(const QString &keys)
{
    xdotool(QStringList { u"key"_s, u"--delay"_s, u"30"_s } + keys.split(u' '));
}

// A drag by the title band with button, which moves the window with the
// pointer while it is held, or does nothing.
bool TestDesktops::drag(int button, bool moves)
{
    // Towards the middle of the screen, where there is room (a compositor
    // may place the window near an edge).
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const int right = m_origin.x() < screen.width() / 2 ? 1 : -1;
    const int down = m_origin.y() < screen.height() / 2 ? 1 : -1;
    const QPoint press = m_origin + skin::kTitle;
    pressAndMove(press, button,
        { QPoint(right * 10, down * 10), QPoint(right * 25, down * 20),
            QPoint(right * 40, down * 30) });
    const QPoint moved = moves ? m_origin + QPoint(right * 40, down * 30) : m_origin;
    QPoint seen;
    STEP_TRY_VERIFY2((seen = findWindow(screenshot())) == moved,
        u"button %1 left the window at %2,%3, not %4,%5"_s.arg(button)
            .arg(seen.x())
            .arg(seen.y())
            .arg(moved.x())
            .arg(moved.y()),
        m_patience);
    xdotool({ u"mouseup"_s, QString::number(button) });
    QTest::qWait(100);
    // Released, the window stays where it was left.
    xdotool({ u"mousemove"_s, QString::number(press.x() + right * 90),
        QString::number(press.y() + down * 120) });
    QTest::qWait(300);
    STEP_VERIFY2(findWindow(screenshot()) == moved, u"button %1 still dragging"_s.arg(button));
    m_origin = moved;
    return true;
}

// A click on the title band that the program handles only after its release
// (it was stopped meanwhile) must leave the window where it is.
bool TestDesktops::latePress(QProcess &program)
{
    pointerTo(m_origin + skin::kTitle);
    STEP_VERIFY2(::kill(pid_t(program.processId()), SIGSTOP) == 0, u"not stopped"_s);
    xdotool({ u"mousedown"_s, u"1"_s });
    QTest::qWait(120);
    xdotool({ u"mouseup"_s, u"1"_s });
    STEP_VERIFY2(::kill(pid_t(program.processId()), SIGCONT) == 0, u"not continued"_s);
    // The focus is on the link: Space opens the panel once the program has
    // handled the click, and closes it once it has handled the pointer's move.
    key(u"space"_s);
    STEP_TRY_VERIFY2(panelOpen(m_origin), u"the panel did not open"_s, m_patience);
    pointerTo(m_origin + QPoint(150, 150));
    pointerTo(m_origin + QPoint(200, 170));
    key(u"space"_s);
    STEP_TRY_VERIFY2(!panelOpen(m_origin), u"the panel did not close"_s, m_patience);
    // Where it was, once the picture shows the closed window again: on
    // mutter 48 (X11) the first picture after the panel closes may be a frame
    // with the title band's top rows not yet redrawn, the window found 3
    // pixels low, and the next one, 45 ms later, whole.
    QPoint seen;
    STEP_TRY_VERIFY2((seen = findWindow(screenshot())) == m_origin,
        u"the window is at %1,%2, not %3,%4"_s.arg(seen.x())
            .arg(seen.y())
            .arg(m_origin.x())
            .arg(m_origin.y()),
        m_patience);
    return true;
}

// Ends with status 0, and said nothing on its way.
bool TestDesktops::closeWith(QProcess &program, const QString &how)
{
    STEP_VERIFY2(program.waitForFinished(20000), how);
    const QByteArray errors = program.readAllStandardError();
    const QString report = how + u": "_s + QString::fromUtf8(errors);
    STEP_VERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0, report);
    STEP_VERIFY2(errors.isEmpty(), report);
    return true;
}

void TestDesktops::userOnDesktop()
{
    QFETCH(bool, wayland);
    QFETCH(bool, closeShortcut);
    const QString desktop = QString::fromLatin1(QTest::currentDataTag());
    if (qEnvironmentVariable("PHONE_FORTUNE_DESKTOP") != desktop)
        QSKIP("runs under tests/with-desktop.sh with this desktop's name");
    m_wayland = wayland;

    QProcess program;
    QVERIFY(start(program));

    // The keyboard alone: Tab twice reaches the phone box, a number typed
    // there shows, and Enter shows its verdict; Tab reaches the link, and
    // Space opens and closes the panel.
    key(u"Tab Tab ctrl+a BackSpace"_s);
    QTRY_VERIFY_WITH_TIMEOUT(phoneBoxIsEmpty(area(m_origin, skin::kPhoneBox)), m_patience);
    xdotool({ u"type"_s, u"--delay"_s, u"30"_s, u"13912345678"_s });
    QTRY_VERIFY_WITH_TIMEOUT(!phoneBoxIsEmpty(area(m_origin, skin::kPhoneBox)), m_patience);
    const QImage outputBefore = area(m_origin, skin::kOutputBox);
    key(u"Return"_s);
    QTRY_VERIFY_WITH_TIMEOUT(
        differingPixels(area(m_origin, skin::kOutputBox), outputBefore) > 40, m_patience);
    key(u"Tab space"_s);
    QTRY_VERIFY_WITH_TIMEOUT(panelOpen(m_origin), m_patience);
    key(u"space"_s);
    QTRY_VERIFY_WITH_TIMEOUT(!panelOpen(m_origin), m_patience);

    // Dragged by the title band: on X11 with every button, on Wayland with
    // the left only. Each drag ends with its button.
    for (const int button : { 1, 3, 2 })
        QVERIFY(drag(button, !wayland || button == 1));
    QVERIFY(latePress(program));

    // The close mark ends the program, and so does the desktop's shortcut.
    clickAt(skin::kCloseMark);
    QVERIFY(closeWith(program, u"close mark"_s));
    if (!closeShortcut)
        return;
    QProcess again;
    QVERIFY(start(again));
    key(u"alt+F4"_s);
    QVERIFY(closeWith(again, u"Alt+F4"_s));
}

// With fcitx5 on, in its pinyin mode: digits reach the phone box, a composed
// word does not, and Enter runs the test. The result is read back as a user
// would copy it.
void TestDesktops::typingWithTheInputMethod()
{
    if (qEnvironmentVariable("PHONE_FORTUNE_INPUT_METHOD") != u"fcitx5"_s)
        QSKIP("runs under tests/with-fcitx5.sh");
    m_wayland = false;
    QProcess program;
    QVERIFY(start(program));
    key(u"Tab Tab ctrl+a BackSpace"_s); // the phone box, emptied
    run(u"fcitx5-remote"_s, { u"-o"_s });
    QTRY_COMPARE(run(u"fcitx5-remote"_s, {}), u"2"_s); // on,
    QTRY_COMPARE_WITH_TIMEOUT(run(u"fcitx5-remote"_s, { u"-n"_s }), u"pinyin"_s, 10000); // pinyin
    const QImage empty = area(m_origin, skin::kPhoneBox);
    xdotool({ u"type"_s, u"--delay"_s, u"60"_s, u"139"_s });
    QTRY_VERIFY(differingPixels(area(m_origin, skin::kPhoneBox), empty) > 40);
    const QImage digits = area(m_origin, skin::kPhoneBox);
    xdotool({ u"type"_s, u"--delay"_s, u"60"_s, u"ni"_s });
    QTRY_VERIFY(differingPixels(area(m_origin, skin::kPhoneBox), digits) > 40); // being composed
    key(u"space"_s); // 你, the first candidate, refused
    QTRY_VERIFY(differingPixels(area(m_origin, skin::kPhoneBox), digits) <= 20);
    xdotool({ u"type"_s, u"--delay"_s, u"60"_s, u"12345678"_s });
    key(u"Return"_s);

    const QString result = copyFrom(skin::kOutputBox.center());
    QVERIFY2(result.contains(u"手机号码：13912345678\n"_s), qPrintable(result));
    QVERIFY2(result.contains(u"吉凶解释：吉带凶"_s), qPrintable(result));

    clickAt(skin::kCloseMark);
    QVERIFY(closeWith(program, u"close mark"_s));
}

// Selects all of the text box at inWindow and copies it, as a user would.
QString TestDesktops::copyFrom(QPoint inWindow)
{
    QGuiApplication::clipboard()->clear();
    clickAt(inWindow);
    key(u"ctrl+a ctrl+c"_s);
    QString copied;
    (void)QTest::qWaitFor( // empty if nothing came, which the caller sees
        [&copied] { return !(copied = QGuiApplication::clipboard()->text()).isEmpty(); }, 5000);
    return copied;
}

void TestDesktops::userRunsThePhoneTest()
{
    QProcess program;
    QVERIFY(startManaged(program));

    // Borderless, 303 x 200, centred on the screen.
    const QString extents = windowProperty(m_window, u"_NET_FRAME_EXTENTS"_s);
    QVERIFY2(extents.endsWith(u"= 0, 0, 0, 0"_s), qPrintable(extents));
    // The window's icon reaches the desktop.
    const QString icon = windowProperty(m_window, u"_NET_WM_ICON"_s);
    QVERIFY2(icon.contains(u"Icon (32 x 32)"_s), qPrintable(icon.left(200)));
    QRect frame = windowGeometry(m_window);
    QCOMPARE(frame.size(), skin::kClosed);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY2(std::abs(frame.center().x() - screen.center().x()) <= 1
            && std::abs(frame.center().y() - screen.center().y()) <= 1,
        qPrintable(u"window at %1,%2"_s.arg(frame.x()).arg(frame.y())));
    m_origin = frame.topLeft();

    // Type a number (a letter among it is refused) and press the test button.
    clickAt(skin::kPhoneBox.center());
    key(u"End"_s + u" BackSpace"_s.repeated(8));
    xdotool({ u"type"_s, u"--delay"_s, u"20"_s, u"1391234a5678"_s });
    clickAt(skin::kTestButton.center());

    // Read the result back as a user would: select it all and copy it.
    clickAt(skin::kOutputBox.center());
    key(u"ctrl+a ctrl+c"_s);
    const QString expected = u"-----------------------\n手机号码：13912345678\n"
                             "-----------------------\n\n吉凶解释：吉带凶\n\n"
                             "吉凶注解：有得有失.华而不实"_s;
    QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::clipboard()->text(), expected, 10000);

    // Open the extra panel, then close the program with its close mark.
    clickAt(skin::kLink);
    QTRY_COMPARE(windowGeometry(m_window).size(), skin::kOpen);
    clickAt(skin::kCloseMark);
    QVERIFY(closeWith(program, u"close mark"_s));
}

void TestDesktops::keyboardAndEmptyClipboard()
{
    // Nothing has been copied on this display yet: the clipboard has no owner.
    QVERIFY(QGuiApplication::clipboard()->mimeData()->formats().isEmpty());
    QProcess program;
    QVERIFY(startManaged(program));

    // Paste nothing into the quiz box, by Ctrl+V, Shift+Insert and the
    // middle button: the program lives on and the question is unchanged.
    clickAt(skin::kLink);
    QTRY_COMPARE(windowGeometry(m_window).size(), skin::kOpen);
    clickAt(skin::kQuizBox.center());
    key(u"ctrl+v shift+Insert"_s);
    clickAt(skin::kQuizBox.center(), 2);
    // The copy is handled after the pastes, so the program has outlived them.
    const QString question = copyFrom(skin::kQuizBox.center());
    QCOMPARE(program.state(), QProcess::Running);
    QVERIFY2(question.startsWith(u"　　成为社会人士"_s), qPrintable(question));
    QVERIFY2(question.contains(u"D、精心设计"_s), qPrintable(question));

    // Answer B with the mouse. Focus goes to the test button, not staying on
    // the box now out of sight, so Tab then Space cannot answer C.
    clickAt(skin::kAnswerB);
    QTRY_COMPARE(windowGeometry(m_window).size(), skin::kClosed);
    key(u"Tab space"_s);
    // Handled after the keys: the answer stands, and the panel stayed shut.
    const QString answer = copyFrom(skin::kOutputBox.center());
    QVERIFY2(answer.contains(u"选B的人"_s), qPrintable(answer));
    QCOMPARE(windowGeometry(m_window).size(), skin::kClosed);

    // Tab round the closed window reaches the link; Space opens the panel,
    // and the first Tab then goes into the quiz box.
    clickAt(skin::kOutputBox.center());
    key(u"Tab Tab space"_s); // phone box, link, open
    QTRY_COMPARE(windowGeometry(m_window).size(), skin::kOpen);
    key(u"Tab ctrl+a ctrl+c"_s);
    QTRY_VERIFY(QGuiApplication::clipboard()->text().startsWith(u"　　成为社会人士"_s));

    // The desktop's own close shortcut ends the program like the close mark.
    // It acts on the active window, which this one is once clicked.
    const QString active = u"window id # 0x"_s + QString::number(m_window.toULongLong(), 16);
    QTRY_VERIFY(run(u"xprop"_s, { u"-root"_s, u"_NET_ACTIVE_WINDOW"_s }).endsWith(active));
    key(u"alt+F4"_s);
    QVERIFY(closeWith(program, u"Alt+F4"_s));
}

void TestDesktops::startsOnTheDisplayItsOptionNames()
{
    // Started on the display named by the toolkit's option alone.
    QProcess program;
    QVERIFY(startManaged(program, { u"-display"_s, qEnvironmentVariable("DISPLAY") },
        environmentWith(u"DISPLAY"_s)));
    clickAt(skin::kCloseMark);
    QVERIFY(closeWith(program, u"close mark"_s));
}

// Another client destroys the window: the program ends with it, quietly.
void TestDesktops::endsWhenItsWindowIsDestroyed()
{
    QProcess program;
    QVERIFY(startManaged(program));
    xdotool({ u"windowclose"_s, m_window });
    QVERIFY(closeWith(program, u"xdotool windowclose"_s));
}

void TestDesktops::widthHoldsAtAFractionalScale()
{
    QProcess program;
    QVERIFY(startManaged(program, {}, environmentWith(u"QT_SCALE_FACTOR"_s, u"1.5"_s)));
    // 303 pixels are 454.5 device pixels: whichever way that is rounded, the
    // panel's opening and closing keep it.
    const int width = windowGeometry(m_window).width();
    QVERIFY2(width == 454 || width == 455, qPrintable(QString::number(width)));
    for (const int height :
        { qRound(skin::kOpen.height() * 1.5), qRound(skin::kClosed.height() * 1.5) }) {
        clickAt(scaled(skin::kLink, 1.5));
        QTRY_COMPARE(windowGeometry(m_window).height(), height);
        QCOMPARE(windowGeometry(m_window).width(), width);
    }
    key(u"alt+F4"_s);
    QVERIFY(closeWith(program, u"Alt+F4"_s));
}

// Presses button at press, a point of the screen, and moves the pointer by
// each of steps from there in turn, holding the button: the first half of
// any drag, which the caller ends with the button's release.
void TestDesktops::pressAndMove(QPoint press, int button, const QList<QPoint> &steps)
{
    pointerTo(press);
    xdotool({ u"mousedown"_s, QString::number(button) });
    QTest::qWait(100);
    for (const QPoint step : steps) {
        xdotool({ u"mousemove"_s, QString::number(press.x() + step.x()),
            QString::number(press.y() + step.y()) });
        QTest::qWait(50);
    }
}

// Drags the window by its title band at inWindow, dx pixels across, in ten
// steps, with the left button.
void TestDesktops::dragBy(QPoint inWindow, int dx)
{
    QList<QPoint> steps;
    for (int step = 1; step <= 10; ++step)
        steps << QPoint(dx * step / 10, 0);
    pressAndMove(windowGeometry(m_window).topLeft() + inWindow, 1, steps);
    QTest::qWait(100);
    xdotool({ u"mouseup"_s, u"1"_s });
}

// Two monitors side by side, the right one at twice the scale: the window
// dragged onto it is drawn at its scale and shows all of itself, and dragged
// back, at the left one's again. (Run on a screen 3200 pixels wide.)
void TestDesktops::wholeOnAMonitorOfAnotherScale()
{
    if (QGuiApplication::primaryScreen()->size().width() < 3200)
        QSKIP("runs under tests/with-desktop.sh openbox --screen 3200x1200");
    run(u"xrandr"_s, { u"--setmonitor"_s, u"LEFT"_s, u"1280/338x1024/270+0+0"_s, u"screen"_s });
    run(u"xrandr"_s, { u"--setmonitor"_s, u"RIGHT"_s, u"1920/508x1200/317+1280+0"_s, u"none"_s });
    QTRY_COMPARE(QGuiApplication::screens().size(), 2);

    QProcess program;
    QVERIFY(startManaged(
        program, {}, environmentWith(u"QT_SCREEN_SCALE_FACTORS"_s, u"LEFT=1;RIGHT=2"_s)));
    QCOMPARE(windowGeometry(m_window).size(), skin::kClosed);

    // Onto the right monitor, whole: the close mark's black cross at its
    // place in the skin, twice as far in.
    dragBy({ 50, 10 }, 1300 - windowGeometry(m_window).x());
    QTRY_COMPARE_WITH_TIMEOUT(windowGeometry(m_window).size(), skin::kClosed * 2, 10000);
    const QRect doubled = windowGeometry(m_window);
    QVERIFY2(doubled.left() >= 1280, qPrintable(QString::number(doubled.left())));
    QTRY_VERIFY_WITH_TIMEOUT(
        nearColour(QGuiApplication::primaryScreen()
                       ->grabWindow(0, doubled.x() + scaled(skin::kCloseMark, 2).x(),
                           doubled.y() + scaled(skin::kCloseMark, 2).y(), 1, 1)
                       .toImage()
                       .pixelColor(0, 0),
            Qt::black),
        5000);
    m_origin = doubled.topLeft();
    clickAt(scaled(skin::kLink, 2)); // the panel opens
    QTRY_COMPARE(windowGeometry(m_window).size(), skin::kOpen * 2);
    clickAt(scaled(skin::kLink, 2));
    QTRY_COMPARE(windowGeometry(m_window).size(), skin::kClosed * 2);

    // And back again.
    dragBy({ 100, 20 }, 400 - doubled.x());
    QTRY_COMPARE_WITH_TIMEOUT(windowGeometry(m_window).size(), skin::kClosed, 10000);
    m_origin = windowGeometry(m_window).topLeft();
    clickAt(skin::kCloseMark);
    QVERIFY(closeWith(program, u"close mark"_s));
}

// Another window manager takes the screen over while the program runs, as when
// a user tries another desktop's, or one is restarted: the window stays as it
// was, frameless and in place, and follows a drag as before.
void TestDesktops::survivesItsWindowManagerReplaced()
{
    QProcess program;
    QVERIFY(startManaged(program));
    QTRY_COMPARE_WITH_TIMEOUT(shownWindow(screenshot()), m_origin, m_patience);
    const QString openboxFrame = parentOf(m_window);
    QVERIFY(!openboxFrame.isEmpty());

    QProcess xfwm4;
    xfwm4.start(u"xfwm4"_s, { u"--compositor=off"_s, u"--replace"_s });
    QVERIFY2(xfwm4.waitForStarted(), qPrintable(xfwm4.errorString()));
    const auto stop = qScopeGuard([&xfwm4] {
        xfwm4.terminate();
        xfwm4.waitForFinished(5000);
    });
    // Taken in by xfwm4: openbox gives the window back to the root as it
    // leaves, and xfwm4 puts it in a frame of its own, which has no border.
    static const QRegularExpression id(u"Window id: (0x[0-9a-f]+)"_s);
    const QString root = id.match(run(u"xwininfo"_s, { u"-root"_s })).captured(1);
    const QStringList notYet { {}, openboxFrame, root };
    QTRY_VERIFY_WITH_TIMEOUT(!notYet.contains(parentOf(m_window)), 10000);
    const QString extents = windowProperty(m_window, u"_NET_FRAME_EXTENTS"_s);
    QVERIFY2(extents.endsWith(u"= 0, 0, 0, 0"_s), qPrintable(extents));
    QString why;
    QPoint seen;
    QTRY_VERIFY2_WITH_TIMEOUT((seen = shownWindow(screenshot(), &why)) == m_origin,
        qPrintable(u"at %1,%2, not %3,%4: %5"_s.arg(seen.x())
                       .arg(seen.y())
                       .arg(m_origin.x())
                       .arg(m_origin.y())
                       .arg(why)),
        m_patience);
    QVERIFY(drag(1, true));
    clickAt(skin::kCloseMark);
    QVERIFY(closeWith(program, u"close mark"_s));
}

QTEST_MAIN(TestDesktops)
#include "tst_desktops.moc"
