// End to end on Wayland: the built program as a client of a real weston,
// nested in Xvfb (tests/with-weston.sh). The test itself runs on X: it sees
// the compositor's output in screenshots of the X screen and drives it with
// xdotool, as a user's pointer would.
#include "pixels.h"
#include "warnings.h"
#include "xdotool.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// What weston's shell paints behind every window (tests/with-weston.sh).
const QColor compositorBackground(0x20, 0x40, 0x20);

void movePointer(QPoint to)
{
    xdotool({ u"mousemove"_s, u"--sync"_s, QString::number(to.x()), QString::number(to.y()) });
}

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

// What the window looks like at its origin: points of the skin, and just
// outside each edge the compositor's background (frameless).
QList<std::pair<QPoint, QColor>> landmarks()
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
        { { 150, -1 }, compositorBackground },
        { { -1, 100 }, compositorBackground },
        { { 303, 100 }, compositorBackground },
        { { 150, 200 }, compositorBackground },
    };
}

// Where the whole window shows on the screen; null until it does.
QPoint shownWindow()
{
    const QImage shot = screenshot();
    const QPoint origin = findWindow(shot);
    if (origin.isNull())
        return {};
    for (const auto &[at, colour] : landmarks())
        if (!nearColour(shot.pixelColor(origin + at), colour))
            return {};
    return origin;
}

} // namespace

class TestWayland : public QObject
{
    Q_OBJECT

private slots:
    void init() { failOnUnexpectedWarnings(); }
    void userOnWayland();

private:
    void checkWindowAt(QPoint origin);
};

// The skin at origin, and nothing of a frame around it.
void TestWayland::checkWindowAt(QPoint origin)
{
    const QImage shot = screenshot();
    const QString saveAs = QDir::temp().filePath(u"phone-fortune-wayland.png"_s);
    for (const auto &[at, colour] : landmarks())
        QVERIFY(pixelIs(shot, origin + at, colour, saveAs));
}

void TestWayland::userOnWayland()
{
    QVERIFY2(qEnvironmentVariableIsSet("WAYLAND_DISPLAY"), "run through tests/with-weston.sh");
    // The compositor's shell has drawn its background before the window comes
    // (looked for away from the middle, where weston draws its pointer).
    QTRY_VERIFY_WITH_TIMEOUT(
        nearColour(screenshot().pixel(1100, 100), compositorBackground), 20000);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"wayland"_s);
    environment.remove(u"DISPLAY"_s); // a Wayland client, with no way back to X
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PHONE_FORTUNE_BINARY), {});
    QVERIFY(program.waitForStarted());

    QPoint origin;
    QTRY_VERIFY_WITH_TIMEOUT(!(origin = shownWindow()).isNull(), 15000);
    checkWindowAt(origin);
    if (QTest::currentTestFailed())
        return;

    // Dragged by the title band with the left button, then the right: the
    // compositor moves it by the pointer's offset and leaves it on release.
    for (const int button : { 1, 3 }) {
        const QPoint press = origin + QPoint(100, 12);
        movePointer(press);
        xdotool({ u"mousedown"_s, QString::number(button) });
        QTest::qWait(100);
        for (const QPoint step : { QPoint(10, 10), QPoint(30, 25), QPoint(60, 40) }) {
            movePointer(press + step);
            QTest::qWait(50);
        }
        QTest::qWait(200);
        xdotool({ u"mouseup"_s, QString::number(button) });
        QTest::qWait(200);
        QTRY_COMPARE(findWindow(screenshot()), origin + QPoint(60, 40));
        movePointer(press + QPoint(150, 150));
        QTest::qWait(300);
        QVERIFY2(findWindow(screenshot()) == origin + QPoint(60, 40),
            qPrintable(u"button %1 still dragging"_s.arg(button)));
        origin += QPoint(60, 40);
    }
    checkWindowAt(origin);

    // The close mark ends the program.
    movePointer(origin + QPoint(286, 12));
    xdotool({ u"click"_s, u"1"_s });
    QVERIFY(program.waitForFinished(10000));
    const QByteArray errors = program.readAllStandardError();
    QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
        errors.constData());
    QVERIFY2(errors.isEmpty(), errors.constData()); // no warning on every start
}

QTEST_MAIN(TestWayland)
#include "tst_wayland.moc"
