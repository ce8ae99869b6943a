// End to end on the desktops users run: the built program started as a user
// starts it, seen in screenshots of the screen and driven with real pointer
// and key input through xdotool. One row for each desktop; a row runs only
// under tests/with-desktop.sh with its name (CTest starts one per desktop).
// The test itself runs on X: a Wayland compositor is nested in the X server.
#include "pixels.h"
#include "warnings.h"
#include "xdotool.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QtTest>

#include <algorithm>
#include <csignal>

using namespace Qt::Literals::StringLiterals;

namespace {

QImage screenshot()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
}

// The window's top-left corner on the screen, found by its skin: the title
// band, RGB(96, 96, 131), starts 3 pixels in and 4 down. Null if not shown.
QPoint findWindow(const QImage &shot)
{
    const QColor band(96, 96, 131);
    for (int y = 0; y < shot.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(shot.constScanLine(y));
        for (int x = 0; x + 200 < shot.width(); ++x)
            if (nearColour(line[x], band) && nearColour(line[x + 200], band))
                return QPoint(x - 3, y - 4);
    }
    return {};
}

// Points of the skin, from the window's top-left corner.
QList<std::pair<QPoint, QColor>> skin()
{
    const QColor band(96, 96, 131), navy(0, 0, 128);
    return {
        { { 30, 12 }, band }, // title band, left of its text
        { { 250, 12 }, band }, // and right of it
        { { 0, 100 }, QColor(0, 0, 82) }, // left edge of the skin
        { { 280, 6 }, QColor(199, 22, 22) }, // close mark's red edge
        { { 5, 100 }, QColor(136, 136, 207) }, // body, left of the output box
        { { 302, 100 }, navy }, // navy strip at the right
        { { 150, 199 }, navy }, // and at the bottom
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
// or shadow), or its shadow.
QPoint shownWindow(const QImage &shot, QString *why = nullptr)
{
    const QPoint origin = findWindow(shot);
    if (origin.isNull())
        return {};
    for (const auto &[at, colour] : skin())
        if (!nearColour(shot.pixelColor(origin + at), colour)) {
            if (why)
                *why = u"skin at %1,%2"_s.arg(at.x()).arg(at.y());
            return {};
        }
    const QList<std::pair<QPoint, QPoint>> edges { { { 150, -1 }, { 0, -80 } },
        { { -1, 100 }, { -80, 0 } }, { { 303, 100 }, { 80, 0 } }, { { 150, 200 }, { 0, 80 } } };
    const QRect screen = shot.rect();
    for (const auto &[outside, further] : edges) {
        const QPoint at = origin + outside;
        if (!screen.contains(at))
            continue; // the window reaches the screen's edge there
        const QPoint beyond(std::clamp(at.x() + further.x(), 0, screen.right()),
            std::clamp(at.y() + further.y(), 0, screen.bottom()));
        if (!backgroundOrShadow(shot.pixelColor(at), shot.pixelColor(beyond))) {
            if (why)
                *why = u"a frame at %1,%2"_s.arg(outside.x()).arg(outside.y());
            return {};
        }
    }
    return origin;
}

// Whether the panel is open: its question box, RGB(128, 128, 255), fills
// most of a line through it.
bool panelOpen(QPoint origin)
{
    const QImage shot = screenshot();
    int filled = 0;
    for (int x = 5; x < 298; ++x)
        filled += nearColour(shot.pixelColor(origin + QPoint(x, 290)), QColor(128, 128, 255));
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
            ink += !nearColour(box.pixelColor(x, y), QColor(192, 192, 192));
    return ink <= 20;
}

const QRect phoneBox(69, 37, 129, 18);
const QRect outputBox(10, 64, 282, 113);

} // namespace

class TestDesktops : public QObject
{
    Q_OBJECT

private slots:
    void init() { failOnUnexpectedWarnings(); }
    void userOnDesktop_data();
    void userOnDesktop();
    void typingWithTheInputMethod();

private:
    void start(QProcess &program);
    void pointerTo(QPoint at);
    void key(const QString &keys);
    void drag(int button, bool moves);
    void latePress(QProcess &program);
    void closeWith(QProcess &program, const QString &how);

    bool m_wayland = false;
    QPoint m_origin;
};

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

void TestDesktops::start(QProcess &program)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (m_wayland) {
        environment.insert(u"QT_QPA_PLATFORM"_s, u"wayland"_s);
        environment.remove(u"DISPLAY"_s); // a Wayland client, with no way back to X
    } else {
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    }
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PHONE_FORTUNE_BINARY), {});
    QVERIFY(program.waitForStarted());
    // Started: its skin shows, whole and with no frame around it.
    m_origin = {};
    QString why = u"no window"_s;
    const QString saveAs = QDir::temp().filePath(u"phone-fortune-desktop.png"_s);
    QTRY_VERIFY2_WITH_TIMEOUT(!(m_origin = shownWindow(screenshot(), &why)).isNull(),
        qPrintable(u"%1; the screen is in %2"_s.arg(why, saveAs)
            + (screenshot().save(saveAs) ? u""_s : u" (unsaved)"_s)),
        20000);
    // The desktop's attention (keyboard focus) comes with a click on the
    // window's body, where nothing else happens.
    pointerTo(m_origin + QPoint(5, 100));
    xdotool({ u"click"_s, u"1"_s });
    QTRY_VERIFY_WITH_TIMEOUT(hasKeyboard(m_origin), 10000);
}

void TestDesktops::pointerTo(QPoint at)
{
    xdotool({ u"mousemove"_s, u"--sync"_s, QString::number(at.x()), QString::number(at.y()) });
}

void TestDesktops::key(const QString &keys)
{
    xdotool(QStringList { u"key"_s, u"--delay"_s, u"30"_s } + keys.split(u' '));
}

// A drag by the title band with button, which moves the window with the
// pointer while it is held, or does nothing.
void TestDesktops::drag(int button, bool moves)
{
    // Towards the middle of the screen, where there is room (a compositor
    // may place the window near an edge).
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const int right = m_origin.x() < screen.width() / 2 ? 1 : -1;
    const int down = m_origin.y() < screen.height() / 2 ? 1 : -1;
    const QPoint press = m_origin + QPoint(100, 12);
    pointerTo(press);
    xdotool({ u"mousedown"_s, QString::number(button) });
    QTest::qWait(100);
    for (const QPoint step : { QPoint(10, 10), QPoint(25, 20), QPoint(40, 30) }) {
        xdotool({ u"mousemove"_s, QString::number(press.x() + right * step.x()),
            QString::number(press.y() + down * step.y()) });
        QTest::qWait(50);
    }
    const QPoint moved = moves ? m_origin + QPoint(right * 40, down * 30) : m_origin;
    QTRY_COMPARE(findWindow(screenshot()), moved);
    xdotool({ u"mouseup"_s, QString::number(button) });
    QTest::qWait(100);
    // Released, the window stays where it was left.
    xdotool({ u"mousemove"_s, QString::number(press.x() + right * 90),
        QString::number(press.y() + down * 120) });
    QTest::qWait(300);
    QVERIFY2(
        findWindow(screenshot()) == moved, qPrintable(u"button %1 still dragging"_s.arg(button)));
    m_origin = moved;
}

// A click on the title band that the program handles only after its release
// (it was stopped meanwhile) must leave the window where it is.
void TestDesktops::latePress(QProcess &program)
{
    pointerTo(m_origin + QPoint(100, 12));
    QCOMPARE(::kill(pid_t(program.processId()), SIGSTOP), 0);
    xdotool({ u"mousedown"_s, u"1"_s });
    QTest::qWait(120);
    xdotool({ u"mouseup"_s, u"1"_s });
    QCOMPARE(::kill(pid_t(program.processId()), SIGCONT), 0);
    // The focus is on the link: Space opens the panel once the program has
    // handled the click, and closes it once it has handled the pointer's move.
    key(u"space"_s);
    QTRY_VERIFY(panelOpen(m_origin));
    pointerTo(m_origin + QPoint(150, 150));
    pointerTo(m_origin + QPoint(200, 170));
    key(u"space"_s);
    QTRY_VERIFY(!panelOpen(m_origin));
    QCOMPARE(findWindow(screenshot()), m_origin);
}

// Ends with status 0, and said nothing on its way.
void TestDesktops::closeWith(QProcess &program, const QString &how)
{
    QVERIFY2(program.waitForFinished(20000), qPrintable(how));
    const QByteArray errors = program.readAllStandardError();
    const QString report = how + u": "_s + QString::fromUtf8(errors);
    QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
        qPrintable(report));
    QVERIFY2(errors.isEmpty(), qPrintable(report));
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
    start(program);
    if (QTest::currentTestFailed())
        return;

    // The keyboard alone: Tab twice reaches the phone box, a number typed
    // there shows, and Enter shows its verdict; Tab reaches the link, and
    // Space opens and closes the panel.
    key(u"Tab Tab ctrl+a BackSpace"_s);
    QTRY_VERIFY(phoneBoxIsEmpty(area(m_origin, phoneBox)));
    xdotool({ u"type"_s, u"--delay"_s, u"30"_s, u"13912345678"_s });
    QTRY_VERIFY(!phoneBoxIsEmpty(area(m_origin, phoneBox)));
    const QImage outputBefore = area(m_origin, outputBox);
    key(u"Return"_s);
    QTRY_VERIFY(differingPixels(area(m_origin, outputBox), outputBefore) > 40);
    key(u"Tab space"_s);
    QTRY_VERIFY(panelOpen(m_origin));
    key(u"space"_s);
    QTRY_VERIFY(!panelOpen(m_origin));

    // Dragged by the title band: on X11 with every button, on Wayland with
    // the left only. Each drag ends with its button.
    for (const int button : { 1, 3, 2 }) {
        drag(button, !wayland || button == 1);
        if (QTest::currentTestFailed())
            return;
    }
    latePress(program);
    if (QTest::currentTestFailed())
        return;

    // The close mark ends the program, and so does the desktop's shortcut.
    pointerTo(m_origin + QPoint(286, 12));
    xdotool({ u"click"_s, u"1"_s });
    closeWith(program, u"close mark"_s);
    if (!closeShortcut)
        return;
    QProcess again;
    start(again);
    if (QTest::currentTestFailed())
        return;
    key(u"alt+F4"_s);
    closeWith(again, u"Alt+F4"_s);
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
    start(program);
    if (QTest::currentTestFailed())
        return;
    key(u"Tab Tab ctrl+a BackSpace"_s); // the phone box, emptied
    run(u"fcitx5-remote"_s, { u"-o"_s });
    QTRY_COMPARE(run(u"fcitx5-remote"_s, {}), u"2"_s); // on,
    QTRY_COMPARE_WITH_TIMEOUT(run(u"fcitx5-remote"_s, { u"-n"_s }), u"pinyin"_s, 10000); // pinyin
    const QImage empty = area(m_origin, phoneBox);
    xdotool({ u"type"_s, u"--delay"_s, u"60"_s, u"139"_s });
    QTRY_VERIFY(differingPixels(area(m_origin, phoneBox), empty) > 40);
    const QImage digits = area(m_origin, phoneBox);
    xdotool({ u"type"_s, u"--delay"_s, u"60"_s, u"ni"_s });
    QTRY_VERIFY(differingPixels(area(m_origin, phoneBox), digits) > 40); // being composed
    key(u"space"_s); // 你, the first candidate, refused
    QTRY_VERIFY(differingPixels(area(m_origin, phoneBox), digits) <= 20);
    xdotool({ u"type"_s, u"--delay"_s, u"60"_s, u"12345678"_s });
    key(u"Return"_s);

    QGuiApplication::clipboard()->clear();
    pointerTo(m_origin + QPoint(150, 120));
    xdotool({ u"click"_s, u"1"_s });
    key(u"ctrl+a ctrl+c"_s);
    QTRY_VERIFY(QGuiApplication::clipboard()->text().contains(u"吉凶解释"_s));
    const QString result = QGuiApplication::clipboard()->text();
    QVERIFY2(result.contains(u"手机号码：13912345678\n"_s), qPrintable(result));
    QVERIFY2(result.contains(u"吉凶解释：吉带凶"_s), qPrintable(result));

    pointerTo(m_origin + QPoint(286, 12));
    xdotool({ u"click"_s, u"1"_s });
    closeWith(program, u"close mark"_s);
}

QTEST_MAIN(TestDesktops)
#include "tst_desktops.moc"
