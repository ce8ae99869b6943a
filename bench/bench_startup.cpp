// Start-up cost of the window against two fair floors: a bare Qt window of
// the same size that shows one line in each of the window's four fonts and
// nothing else (no style, no translation, no controls), and the same window
// with the design's controls as the toolkit's plain widgets, in the design's
// fonts and the window's style. All three are built into this one binary,
// with the same flags.
//
//   bench_startup [RUNS]    needs a display; e.g. tests/with-xvfb.sh bench_startup
//
// Each is measured under two sets of fonts: the system's, as many as a
// Chinese desktop may have (the test set-up installs Noto, its CJK faces
// among them: some 2,500 faces), and only the design's free faces with
// DejaVu (a private fontconfig set-up). Each run starts a fresh process of
// each kind, in turn, and measures from just before the process is started
// to its window mapped, as the X server tells any client (what the user
// waits for), and its resident memory once idle after its first paint.
// Medians are reported.
#include "app/app.h"
#include "window/fonts.h"
#include "window/frmmain.h"
#include "window/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <vector>

#include <poll.h>
#include <xcb/xcb.h>

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

// The design's controls as the toolkit's plain widgets, where the window has
// them, in the design's fonts.
void addPlainControls(QWidget &window)
{
    window.setFont(fonts::window());
    const auto place = [](QWidget *control, int left, int top, int width, int height) {
        control->setGeometry(twipsRect(left, top, width, height));
    };
    place(new QLabel(QStringLiteral("手机号码："), &window), 135, 615, 900, 180);
    auto *phone = new QLineEdit(QStringLiteral("12345678"), &window);
    phone->setFont(fonts::phoneBox());
    place(phone, 1035, 555, 1935, 270);
    place(new QPushButton(QStringLiteral("- 测 -"), &window), 3150, 525, 1215, 330);
    auto *output = new QTextEdit(&window);
    output->setPlainText(QStringLiteral("Vexo主页：http://www.example.com/\n我的QQ：12345678"));
    output->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    place(output, 150, 960, 4230, 1695);
    auto *link = new QLabel(QStringLiteral("其它功能"), &window);
    link->setFont(fonts::link());
    place(link, 150, 2700, 720, 180);
    place(new QLabel(QStringLiteral("版权所有 (C)2026 www.example.com"), &window), 1515, 2715, 2895,
        180);
    for (int top : { 4155, 4495, 4835, 5175 })
        place(new QCheckBox(&window), 150, top, 255, 210);
}

int child(int argc, char **argv, const QByteArray &kind)
{
    QApplication app(argc, argv);
    FirstFrame firstFrame;
    if (kind == "floor" || kind == "controls") {
        fonts::installSubstitutions();
        QWidget window;
        window.resize(303, 200);
        if (kind == "controls") {
            QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
            addPlainControls(window);
        } else {
            int top = 10;
            for (const QFont &font :
                { fonts::window(), fonts::title(), fonts::link(), fonts::phoneBox() }) {
                auto *line = new QLabel(QStringLiteral("手机号码 12345678"), &window);
                line->setFont(font);
                line->move(10, top);
                top += 30;
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

// The X server's word that a window was mapped (shown), as seen by any
// client: the moment a user first sees the window's place on the screen.
class MapWatch
{
public:
    MapWatch()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_connection)) {
            std::fprintf(stderr, "bench_startup: no X display\n");
            std::exit(1);
        }
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }
    ~MapWatch() { xcb_disconnect(m_connection); }

    // The time the next top-level window is mapped, or -1 after 30 s.
    double nextMapMs()
    {
        const double deadline = monotonicMs() + 30000;
        for (;;) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY
                    && !reinterpret_cast<xcb_map_notify_event_t *>(event)->override_redirect;
                std::free(event);
                if (mapped)
                    return monotonicMs();
            }
            const double left = deadline - monotonicMs();
            if (left <= 0)
                return -1;
            pollfd readable { xcb_get_file_descriptor(m_connection), POLLIN, 0 };
            poll(&readable, 1, int(left));
        }
    }

private:
    xcb_connection_t *m_connection;
};

Sample measure(const QString &self, const QString &kind, const QProcessEnvironment &fonts)
{
    static MapWatch maps;
    QProcess process;
    process.setProcessEnvironment(fonts);
    const double started = monotonicMs();
    process.start(self, { QStringLiteral("--child"), kind });
    const double mapped = maps.nextMapMs();
    process.waitForFinished(30000);
    const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
    if (process.exitCode() != 0 || lines.size() < 3 || mapped < 0) {
        std::fprintf(stderr, "bench_startup: the %s window failed\n", qPrintable(kind));
        std::exit(1);
    }
    return { mapped - started, lines[1].toLong(), lines[2].toLong() };
}

// How many faces fontconfig finds under a set-up.
int faceCount(const QProcessEnvironment &fonts)
{
    QProcess list;
    list.setProcessEnvironment(fonts);
    list.start(QStringLiteral("fc-list"), { QStringLiteral(":"), QStringLiteral("file") });
    list.waitForFinished(30000);
    return int(list.readAllStandardOutput().count('\n'));
}

template<typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A fontconfig set-up with only the design's free faces and DejaVu.
QProcessEnvironment designFontsOnly(const QTemporaryDir &folder)
{
    QFile config(folder.filePath(QStringLiteral("fonts.conf")));
    if (!config.open(QIODevice::WriteOnly))
        std::exit(1);
    config.write(QStringLiteral(R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/arphic</dir>
  <dir>/usr/share/fonts/opentype/urw-base35</dir>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>%1</cachedir>
</fontconfig>
)")
                     .arg(folder.filePath(QStringLiteral("cache")))
                     .toUtf8());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), config.fileName());
    return environment;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return child(1, argv, argv[2]);

    const int runs = argc > 1 ? std::max(3, atoi(argv[1])) : 21;
    const QString self = QString::fromLocal8Bit(argv[0]);
    const QTemporaryDir folder;
    const std::vector<std::pair<const char *, QProcessEnvironment>> fontSets {
        { "the system's fonts", QProcessEnvironment::systemEnvironment() },
        { "the design's fonts and DejaVu", designFontsOnly(folder) },
    };
    const std::array<QString, 3> kinds { QStringLiteral("floor"), QStringLiteral("controls"),
        QStringLiteral("window") };
    std::printf("runs %d (medians). Floors: a bare window with the window's four fonts, and the "
                "same with the design's controls as plain widgets\n",
        runs);
    for (const auto &[name, fonts] : fontSets) {
        std::array<std::vector<Sample>, 3> samples;
        for (const QString &kind : kinds)
            measure(self, kind, fonts); // warm the file and font caches
        for (int run = 0; run < runs; ++run)
            for (std::size_t kind = 0; kind < kinds.size(); ++kind)
                samples[kind].push_back(measure(self, kinds[kind], fonts));
        std::array<Sample, 3> figures {};
        for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
            std::vector<double> ms;
            std::vector<long> kib, anon;
            for (const Sample &sample : samples[kind]) {
                ms.push_back(sample.startMs);
                kib.push_back(sample.residentKiB);
                anon.push_back(sample.anonymousKiB);
            }
            figures[kind] = { median(ms), median(kib), median(anon) };
        }
        const Sample &bare = figures[0], &plain = figures[1], &window = figures[2];
        std::printf("\nwith %s (%d faces):\n", name, faceCount(fonts));
        std::printf("  mapped:       floor %6.1f ms,  controls %6.1f ms,  window %6.1f ms;  "
                    "window/floor %.2f, window/controls %.2f\n",
            bare.startMs, plain.startMs, window.startMs, window.startMs / bare.startMs,
            window.startMs / plain.startMs);
        std::printf("  idle memory:  floor %6ld KiB, controls %6ld KiB, window %6ld KiB; "
                    "window/floor %.2f, window/controls %.2f\n",
            bare.residentKiB, plain.residentKiB, window.residentKiB,
            double(window.residentKiB) / double(bare.residentKiB),
            double(window.residentKiB) / double(plain.residentKiB));
        std::printf("  of which own: floor %6ld KiB, controls %6ld KiB, window %6ld KiB\n",
            bare.anonymousKiB, plain.anonymousKiB, window.anonymousKiB);
    }
    return 0;
}
