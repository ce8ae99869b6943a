// Start-up cost of the window against a bare Qt window of the same size that
// shows one line of Chinese in a label (so it loads the font database too).
// Both are built into this one binary, with the same flags.
//
//   bench_startup [RUNS]    needs a display; e.g. tests/with-xvfb.sh bench_startup
//
// For comparison it also measures the bare window with one more line in each of
// the window's fonts (which need font files of their own).
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
    if (kind != "window") {
        QWidget window;
        window.resize(303, 200);
        QLabel label(QStringLiteral("手机号码吉祥如意测算"), &window);
        label.move(10, 10);
        // For comparison only: the bare window with one line in each of the
        // window's fonts, so that it loads the same font files.
        if (kind == "bare-fonts") {
            configureApplication();
            int top = 10;
            for (const QFont &font :
                { fonts::window(), fonts::title(), fonts::link(), fonts::phoneBox() }) {
                auto *line = new QLabel(QStringLiteral("手机号码 12345678"), &window);
                line->setFont(font);
                line->move(10, top += 30);
            }
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
    std::vector<double> bareMs, windowMs, fontsMs;
    std::vector<long> bareKiB, windowKiB, bareAnonKiB, windowAnonKiB, fontsKiB, fontsAnonKiB;
    measure(self, QStringLiteral("window")); // warm the file cache
    for (int run = 0; run < runs; ++run) {
        const Sample bare = measure(self, QStringLiteral("bare"));
        const Sample window = measure(self, QStringLiteral("window"));
        const Sample fonts = measure(self, QStringLiteral("bare-fonts"));
        fontsMs.push_back(fonts.startMs);
        fontsKiB.push_back(fonts.residentKiB);
        fontsAnonKiB.push_back(fonts.anonymousKiB);
        bareMs.push_back(bare.startMs);
        bareKiB.push_back(bare.residentKiB);
        bareAnonKiB.push_back(bare.anonymousKiB);
        windowMs.push_back(window.startMs);
        windowKiB.push_back(window.residentKiB);
        windowAnonKiB.push_back(window.anonymousKiB);
    }
    const double bm = median(bareMs), wm = median(windowMs);
    const long bk = median(bareKiB), wk = median(windowKiB);
    std::printf("runs %d (medians)\n", runs);
    std::printf("first frame: bare %.1f ms, window %.1f ms, ratio %.2f\n", bm, wm, wm / bm);
    const double fm = median(fontsMs);
    const long fk = median(fontsKiB), fa = median(fontsAnonKiB);
    std::printf("the floor, a bare window with the window's four fonts: %.1f ms, %ld KiB, of "
                "which own %ld KiB\n",
        fm, fk, fa);
    std::printf("window against that floor: first frame %.2f, idle memory %.2f, own memory %.2f\n",
        wm / fm, double(median(windowKiB)) / double(fk),
        double(median(windowAnonKiB)) / double(fa));
    std::printf(
        "idle memory: bare %ld KiB, window %ld KiB, ratio %.2f\n", bk, wk, double(wk) / double(bk));
    const long ba = median(bareAnonKiB), wa = median(windowAnonKiB);
    std::printf("of which own (anonymous): bare %ld KiB, window %ld KiB, ratio %.2f\n", ba, wa,
        double(wa) / double(ba));
    return 0;
}
