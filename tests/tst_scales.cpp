// The built program at every scale a desktop offers, from 1 to 3 in steps of
// a quarter, set either way a user sets it: QT_SCALE_FACTOR, or Xft.dpi in
// the X resources (what a desktop's scale setting writes). Each framed
// control shows its frame whole, every side as at 1, enlarged: each pixel of
// the frame at 1 covers a band of device pixels, of which at least one must
// have that pixel's colour, with the window closed and open. Runs under
// tests/with-xvfb.sh, on a screen tall enough for the open window at 3.
#include "pixels.h"
#include "skin.h"
#include "xdotool.h"

#include <QProcess>
#include <QtTest>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// The controls drawn with a frame, in the window's pixels, and whether they
// are in the extra panel.
struct Framed
{
    const char *name;
    QRect rect;
    bool inPanel;
};
constexpr Framed kFramed[] = {
    { "phone box", skin::kPhoneBox, false },
    { "test button", skin::kTestButton, false },
    { "output box", skin::kOutputBox, false },
    { "quiz box", skin::kQuizBox, true },
};

// The window's pixels along the middle of each side of a frame's outermost
// line, each with the step inwards: a fifth of each side is left at either
// end, for rounded corners.
QList<std::pair<QPoint, QPoint>> framePixels(QRect rect)
{
    QList<std::pair<QPoint, QPoint>> pixels;
    const int dx = rect.width() / 5;
    const int dy = rect.height() / 5;
    for (int x = rect.left() + dx; x <= rect.right() - dx; ++x)
        pixels << std::pair(QPoint(x, rect.top()), QPoint(0, 1))
               << std::pair(QPoint(x, rect.bottom()), QPoint(0, -1));
    for (int y = rect.top() + dy; y <= rect.bottom() - dy; ++y)
        pixels << std::pair(QPoint(rect.left(), y), QPoint(1, 0))
               << std::pair(QPoint(rect.right(), y), QPoint(-1, 0));
    return pixels;
}

int distance(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green())
        + std::abs(a.blue() - b.blue());
}

// Whether a picture of the window at scale shows its skin drawn: the title
// band on either side of its text and the body beside the output box, and,
// open, the extra panel's question box along most of a line near its top.
bool drawn(const QImage &window, double scale, bool open)
{
    const auto at = [&](QPoint point) {
        return window.pixelColor(
            int(std::floor((point.x() + 0.5) * scale)), int(std::floor((point.y() + 0.5) * scale)));
    };
    if (!nearColour(at({ 30, 12 }), skin::kTitleBand)
        || !nearColour(at({ 250, 12 }), skin::kTitleBand)
        || !nearColour(at({ 5, 100 }), skin::kBody))
        return false;
    if (!open)
        return true;
    int filled = 0;
    for (int x = 5; x < 298; ++x)
        filled += nearColour(at({ x, 218 }), skin::kQuestionBox);
    return filled > 150;
}

// The program's window, closed and open, as screenshots of the window's area.
struct Shown
{
    QImage closed;
    QImage open;
};

} // namespace

class TestScales : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void framesAreWhole_data();
    void framesAreWhole();
    void cleanup();

private:
    Shown show(double scale, bool byResources);

    Shown m_atOne;
};

// Starts the program at a scale, opens its panel with a click on the link,
// and takes the window's pictures, closed and open.
Shown TestScales::show(double scale, bool byResources)
{
    Shown shown;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    QProcess resources;
    resources.start(u"xrdb"_s, { u"-load"_s, u"-"_s });
    resources.write(byResources ? u"Xft.dpi: %1\n"_s.arg(qRound(96 * scale)).toLatin1() : "");
    resources.closeWriteChannel();
    if (!resources.waitForFinished(10000) || resources.exitCode() != 0) {
        qWarning("xrdb failed");
        return shown;
    }
    if (!byResources)
        environment.insert(u"QT_SCALE_FACTOR"_s, QString::number(scale));

    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PHONE_FORTUNE_BINARY));
    const QString window = programWindow();
    const auto geometry = [&window] { return windowGeometry(window); };
    // Of the window's size at scale, a fraction of a device pixel may be
    // rounded either way.
    const auto sized = [&](QSize size) {
        return QTest::qWaitFor(
            [&] {
                const QSizeF expected = QSizeF(size) * scale;
                const QSize actual = geometry().size();
                return std::abs(actual.width() - expected.width()) < 1
                    && std::abs(actual.height() - expected.height()) < 1;
            },
            10000);
    };
    // The window's picture once the skin shows in it; null if it never does.
    const auto picture = [&](bool open) {
        QImage seen;
        const bool shows = QTest::qWaitFor(
            [&] { return drawn(seen = screenshot().copy(geometry()), scale, open); }, 10000);
        return shows ? seen : QImage();
    };
    if (sized(skin::kClosed) && !(shown.closed = picture(false)).isNull()) {
        const QPoint link = geometry().topLeft() + (QPointF(skin::kLink) * scale).toPoint();
        // Not --sync: the pointer may already be there, from the run before.
        xdotool({ u"mousemove"_s, QString::number(link.x()), QString::number(link.y()), u"click"_s,
            u"1"_s });
        if (sized(skin::kOpen))
            shown.open = picture(true);
    }
    program.kill();
    program.waitForFinished();
    return shown;
}

void TestScales::initTestCase()
{
    m_atOne = show(1, false);
    QVERIFY(!m_atOne.open.isNull());
}

void TestScales::cleanup()
{
    QProcess::execute(u"xrdb"_s, { u"-remove"_s });
}

void TestScales::framesAreWhole_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<bool>("byResources");
    for (int quarters = 4; quarters <= 12; ++quarters) {
        const double scale = quarters / 4.0;
        QTest::addRow("QT_SCALE_FACTOR=%g", scale) << scale << false;
        QTest::addRow("Xft.dpi: %d", qRound(96 * scale)) << scale << true;
    }
}

void TestScales::framesAreWhole()
{
    QFETCH(double, scale);
    QFETCH(bool, byResources);
    const Shown shown = show(scale, byResources);
    QVERIFY2(!shown.open.isNull(), "the window, closed and open, was not seen");
    QStringList faults;
    for (const Framed &framed : kFramed) {
        const QImage &atOne = framed.inPanel ? m_atOne.open : m_atOne.closed;
        const QImage &scaled = framed.inPanel ? shown.open : shown.closed;
        for (const auto &[pixel, inward] : framePixels(framed.rect)) {
            const QColor frame = atOne.pixelColor(pixel);
            const QColor outside = atOne.pixelColor(pixel - inward);
            const QColor inside = atOne.pixelColor(pixel + inward);
            // Across the side, from the frame's outer edge inwards to the
            // middle of the pixel inside the frame: a device pixel whose
            // middle lies in the frame's pixel (or on one of its edges) is
            // nearer the frame's colour than the colours beside it, and
            // nothing further in shows what lies outside the control. (Where
            // the toolkit draws a frame antialiased, as Fusion does a button,
            // the line may lie a device pixel further in on one Qt than on
            // another.)
            const bool across = inward.x() != 0;
            const int step = across ? inward.x() : inward.y();
            const double outerEdge = (across ? pixel.x() : pixel.y()) + (step > 0 ? 0 : 1);
            const int along = across ? pixel.y() : pixel.x();
            QList<std::pair<double, QColor>> seen; // by depth inwards
            const int first
                = int(std::floor(std::min(outerEdge, outerEdge + 2 * step) * scale)) - 1;
            const int last = int(std::ceil(std::max(outerEdge, outerEdge + 2 * step) * scale)) + 1;
            for (int d = first; d <= last; ++d) {
                const double depth = ((d + 0.5) / scale - outerEdge) * step;
                if (depth < 0 || depth >= 2)
                    continue;
                for (int e = int(std::ceil(along * scale - 0.5));
                     e <= int(std::ceil((along + 1) * scale - 0.5)) - 1; ++e)
                    seen.append({ depth, scaled.pixelColor(across ? QPoint(d, e) : QPoint(e, d)) });
            }
            std::sort(seen.begin(), seen.end(),
                [](const auto &a, const auto &b) { return a.first < b.first; });
            const auto isFrame = [&](QColor colour) {
                return distance(colour, frame) < distance(colour, outside)
                    && distance(colour, frame) < distance(colour, inside);
            };
            bool frameSeen = false;
            bool outsideSeen = false;
            QStringList report;
            for (const auto &[depth, colour] : seen) {
                report << u"%1 %2"_s.arg(depth, 0, 'f', 2).arg(colour.name());
                outsideSeen = outsideSeen || (frameSeen && nearColour(colour, outside));
                frameSeen = frameSeen || (depth <= 1 && isFrame(colour));
            }
            if (!frameSeen || outsideSeen) {
                faults << u"%1 at %2,%3: %4 (outside %5, frame %6, inside %7; seen by depth: %8)"_s
                              .arg(QString::fromLatin1(framed.name), QString::number(pixel.x()),
                                  QString::number(pixel.y()),
                                  frameSeen ? u"the outside shows"_s : u"no frame"_s,
                                  outside.name(), frame.name(), inside.name(),
                                  report.join(u", "_s));
                break;
            }
        }
    }
    if (!faults.isEmpty()) {
        const QString saveAs = QDir::temp().filePath(u"phone-fortune-scale-%1.png"_s.arg(scale));
        shown.open.save(saveAs);
        QFAIL(qPrintable(faults.join(u"; "_s) + u"; the open window is in "_s + saveAs));
    }
}

QTEST_MAIN(TestScales)
#include "tst_scales.moc"
