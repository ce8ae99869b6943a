// Start-up cost of the window against a fair floor: a bare Qt window of the
// same size that shows one line in each of the window's four fonts and
// nothing else (no style, no translation, no controls). Both are built into
// this one binary, with the same flags.
//
//   bench_startup [RUNS]    needs a display; e.g. tests/with-xvfb.sh bench_startup
//
// Each run starts a fresh process of each kind, alternating, and measures
// from just before the process is started to its first painted frame, and
// its resident memory once idle. Medians are reported.
#include "app.h"
#include "fonts.h"
#include "frmmain.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double monotonicMs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// A figure of /proc/self/status in KiB: VmRSS, the resident memory, or
// RssAnon, the part that is the process's own (not pages of mapped files
// such as libraries and fonts, which the page cache shares).
long statusKiB(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLong();
    return -1;
}

// Reports the time once the first paint of the window has been flushed (the
// zero timer runs when the event that painted it has been handled), then the
// memory after a moment of idleness, and quits.
class FirstFrame : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, qApp, [] {
                std::printf("%.3f\n", monotonicMs());
                QTimer::singleShot(500, qApp, [] {
                    std::printf("%ld\n%ld\n", statusKiB("VmRSS"), statusKiB("RssAnon"));
                    QCoreApplication::quit();
                });
            });
        }
        return false;
    }

private:
    bool m_seen = false;
};

int child(int argc, char **argv, const QByteArray &kind)
{
    QApplication app(argc, argv);
    FirstFrame firstFrame;
    if (kind == "floor") {
        fonts::installSubstitutions();
        QWidget window;
        window.resize(303, 200);
        int top = 10;
        for (const QFont &font :
            { fonts::window(), fonts::title(), fonts::link(), fonts::phoneBox() }) {
            auto *line = new QLabel(QStringLiteral("手机号码 12345678"), &window);
            line->setFont(font);
            line->move(10, top);
            top += 30;
        }
        window.installEventFilter(&firstFrame);
        window.show();
        return app.exec();
    }
    configureApplication();
    frmmain window;
    window.installEventFilter(&firstFrame);
    window.show();
    return app.exec();
}

struct Sample
{
    double startMs;
    long residentKiB;
    long anonymousKiB;
};

Sample measure(const QString &self, const QString &kind)
{
    QProcess process;
    const double started = monotonicMs();
    process.start(self, { QStringLiteral("--child"), kind });
    process.waitForFinished(30000);
    const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
    if (process.exitCode() != 0 || lines.size() < 3) {
        std::fprintf(stderr, "bench_startup: the %s window failed\n", qPrintable(kind));
        std::exit(1);
    }
    return { lines[0].toDouble() - started, lines[1].toLong(), lines[2].toLong() };
}

template<typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return child(1, argv, argv[2]);

    const int runs = argc > 1 ? std::max(3, atoi(argv[1])) : 21;
    const QString self = QString::fromLocal8Bit(argv[0]);
    std::vector<double> floorMs, windowMs;
    std::vector<long> floorKiB, windowKiB, floorAnonKiB, windowAnonKiB;
    measure(self, QStringLiteral("window")); // warm the file cache
    for (int run = 0; run < runs; ++run) {
        const Sample floor = measure(self, QStringLiteral("floor"));
        const Sample window = measure(self, QStringLiteral("window"));
        floorMs.push_back(floor.startMs);
        floorKiB.push_back(floor.residentKiB);
        floorAnonKiB.push_back(floor.anonymousKiB);
        windowMs.push_back(window.startMs);
        windowKiB.push_back(window.residentKiB);
        windowAnonKiB.push_back(window.anonymousKiB);
    }
    const double fm = median(floorMs), wm = median(windowMs);
    const long fk = median(floorKiB), wk = median(windowKiB);
    const long fa = median(floorAnonKiB), wa = median(windowAnonKiB);
    std::printf(
        "runs %d (medians); the floor is a bare window with the window's four fonts\n", runs);
    std::printf("first frame:  floor %6.1f ms,  window %6.1f ms,  ratio %.2f\n", fm, wm, wm / fm);
    std::printf("idle memory:  floor %6ld KiB, window %6ld KiB, ratio %.2f\n", fk, wk,
        double(wk) / double(fk));
    std::printf("of which own: floor %6ld KiB, window %6ld KiB, ratio %.2f\n", fa, wa,
        double(wa) / double(fa));
    return 0;
}
