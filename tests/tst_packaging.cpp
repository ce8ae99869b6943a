// Desktop integration and the built binary: what `cmake --install` and the
// Debian package put where, whether the standard validators accept it, and
// the binary's hardening.
#include "run.h"
#include "warnings.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QLatin1StringView kBuild(BUILD_DIR);
constexpr QLatin1StringView kBinary(PHONE_FORTUNE_BINARY);

constexpr QLatin1StringView kProgram("games/phone-fortune");
constexpr QLatin1StringView kDesktopEntry("share/applications/com.example.PhoneFortune.desktop");
constexpr QLatin1StringView kMetainfo("share/metainfo/com.example.PhoneFortune.metainfo.xml");

QStringList manualPages()
{
    return {
        u"share/man/man6/phone-fortune.6.gz"_s,
        u"share/man/zh_CN/man6/phone-fortune.6.gz"_s,
    };
}

QStringList installedFiles()
{
    return QStringList {
        kProgram,
        kDesktopEntry,
        kMetainfo,
        u"share/doc/phone-fortune/copyright"_s,
        u"share/doc/phone-fortune/changelog.gz"_s,
        u"share/icons/hicolor/32x32/apps/phone-fortune.png"_s,
        u"share/icons/hicolor/64x64/apps/phone-fortune.png"_s,
        u"share/icons/hicolor/128x128/apps/phone-fortune.png"_s,
    }
    + manualPages();
}

} // namespace

class TestPackaging : public QObject
{
    Q_OBJECT

private slots:
    void init() { failOnUnexpectedWarnings(); }
    void initTestCase();
    void validatorsAcceptDesktopEntryAndMetainfo();
    void desktopEntryStartsTheProgramWhereverInstalled_data();
    void desktopEntryStartsTheProgramWhereverInstalled();
    void installPutsEverythingInItsPlace();
    void debianPackageHoldsTheSameFilesAndLintianAcceptsIt();
    void binaryIsHardened();

private:
    QTemporaryDir m_prefix; // where the build is installed
};

void TestPackaging::initTestCase()
{
    int status = -1;
    const QString output
        = run(u"cmake"_s, { u"--install"_s, kBuild, u"--prefix"_s, m_prefix.path() }, &status);
    QVERIFY2(status == 0, qPrintable(output));
}

void TestPackaging::validatorsAcceptDesktopEntryAndMetainfo()
{
    int status = -1;
    const QString desktop = m_prefix.filePath(kDesktopEntry);
    const QString metainfo = m_prefix.filePath(kMetainfo);
    QString output = run(u"desktop-file-validate"_s, { desktop }, &status);
    QVERIFY2(status == 0 && output.trimmed().isEmpty(), qPrintable(output));
    output = run(u"appstreamcli"_s, { u"validate"_s, u"--no-net"_s, metainfo }, &status);
    QVERIFY2(status == 0, qPrintable(output));
    QVERIFY2(!output.contains(u"W: "_s) && !output.contains(u"E: "_s), qPrintable(output));

    // The entry starts the program where it was installed; the metainfo
    // carries the project's version and licence.
    QFile entry(desktop);
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QString exec = u"Exec=%1\n"_s.arg(m_prefix.filePath(kProgram));
    QVERIFY2(QString::fromUtf8(entry.readAll()).contains(exec), qPrintable(exec));
    QFile about(metainfo);
    QVERIFY(about.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(about.readAll());
    QVERIFY(text.contains(u"<release version=\"%1\""_s.arg(QStringLiteral(PROJECT_VERSION))));
    QVERIFY(text.contains(u"<project_license>MIT</project_license>"_s));
}

void TestPackaging::desktopEntryStartsTheProgramWhereverInstalled_data()
{
    QTest::addColumn<QString>("folder"); // under a temporary folder
    QTest::addColumn<QString>("exec"); // the Exec line, the prefix as %1
    QTest::newRow("with a space") << u"my apps"_s << u"Exec=\"%1/games/phone-fortune\""_s;
    QTest::newRow("with quotes and $") << u"a \"b\" $c"_s << u"Exec=\"%1/games/phone-fortune\""_s;
}

// Under a prefix with characters that desktops read specially in Exec, the
// entry quotes the program's path, and GLib (which desktops read entries
// with) finds the program from it.
void TestPackaging::desktopEntryStartsTheProgramWhereverInstalled()
{
    QFETCH(QString, folder);
    QFETCH(QString, exec);
    const QTemporaryDir temporary;
    const QString prefix = temporary.filePath(folder);
    int status = -1;
    QString output = run(u"cmake"_s, { u"--install"_s, kBuild, u"--prefix"_s, prefix }, &status);
    QVERIFY2(status == 0, qPrintable(output));
    const QString entry = QDir(prefix).filePath(kDesktopEntry);
    output = run(u"desktop-file-validate"_s, { entry }, &status);
    QVERIFY2(status == 0 && output.isEmpty(), qPrintable(output));

    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QString quoted = prefix;
    quoted.replace(u'"', u"\\\\\""_s).replace(u'$', u"\\\\$"_s);
    QVERIFY2(
        QString::fromUtf8(file.readAll()).contains(exec.arg(quoted) + u'\n'), qPrintable(quoted));
    // Only GLib's answer is compared: what the bindings say of themselves
    // (Debian 14's PyGObject warns there that Gio.DesktopAppInfo moved to GioUnix)
    // goes to the other stream.
    const Ran glib = runApart(u"/usr/bin/python3"_s,
        { u"-c"_s, uR"(import sys, gi
gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib
info = Gio.DesktopAppInfo.new_from_filename(sys.argv[1])
print(GLib.shell_parse_argv(info.get_commandline())[1][0] if info else "refused"))"_s,
            entry });
    QVERIFY2(glib.status == 0, qPrintable(glib.errors));
    QCOMPARE(glib.output, QDir(prefix).filePath(kProgram));
}

void TestPackaging::installPutsEverythingInItsPlace()
{
    for (const QString &file : installedFiles())
        QVERIFY2(QFileInfo::exists(m_prefix.filePath(file)), qPrintable(file));

    // Both manual pages read without a complaint from the formatter.
    for (const QString &page : manualPages()) {
        QProcess man;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
        environment.insert(u"MANWIDTH"_s, u"80"_s);
        man.setProcessEnvironment(environment);
        man.start(
            u"man"_s, { u"--warnings"_s, u"-E"_s, u"UTF-8"_s, u"-l"_s, m_prefix.filePath(page) });
        QVERIFY(man.waitForFinished(20000));
        const QByteArray errors = man.readAllStandardError();
        QVERIFY2(man.exitCode() == 0 && errors.isEmpty(), errors.constData());
        QVERIFY(man.readAllStandardOutput().contains("phone-fortune"));
    }

    // The icon as drawn, and enlarged by whole pixels: no blurred colours.
    const QString icons = m_prefix.filePath(u"share/icons/hicolor/"_s);
    const QImage small(icons + u"32x32/apps/phone-fortune.png"_s);
    QCOMPARE(small.size(), QSize(32, 32));
    for (const int size : { 64, 128 }) {
        const QImage large(icons + u"%1x%1/apps/phone-fortune.png"_s.arg(size));
        QCOMPARE(large.size(), QSize(size, size));
        const int scale = size / 32;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                QCOMPARE(large.pixel(x, y), small.pixel(x / scale, y / scale));
    }
}

// The package that a Debian build of the source package makes (the
// reproducibility test leaves it in PHONE_FORTUNE_DEB): the files a plain
// install puts in place, where Debian keeps them.
void TestPackaging::debianPackageHoldsTheSameFilesAndLintianAcceptsIt()
{
    const QString deb = qEnvironmentVariable("PHONE_FORTUNE_DEB");
    QVERIFY2(QFileInfo(deb).isFile(), qPrintable(u"no package at \"%1\""_s.arg(deb)));
    const QString contents = run(u"dpkg-deb"_s, { u"--contents"_s, deb });
    QStringList files = installedFiles();
    // Debian's own build names the changelog for the package's revisions.
    files.replaceInStrings(
        u"doc/phone-fortune/changelog.gz"_s, u"doc/phone-fortune/changelog.Debian.gz"_s);
    for (const QString &file : std::as_const(files)) {
        const QRegularExpression listed(u" \\./usr/"_s + QRegularExpression::escape(file) + u'$',
            QRegularExpression::MultilineOption);
        QVERIFY2(listed.match(contents).hasMatch(), qPrintable(file));
    }
    const QString depends = run(u"dpkg-deb"_s, { u"--field"_s, deb, u"Depends"_s });
    for (const QString &needed :
        { u"libqt6widgets6"_s, u"qt6-qpa-plugins"_s, u"fonts-arphic-uming"_s })
        QVERIFY2(depends.contains(needed), qPrintable(depends));
    const QString recommends = run(u"dpkg-deb"_s, { u"--field"_s, deb, u"Recommends"_s });
    QVERIFY2(recommends.contains(u"qt6-wayland"_s), qPrintable(recommends));

    // Debian's checker, with its informational and pedantic notes too: not
    // one complaint.
    const QString report = run(u"lintian"_s,
        { u"--info"_s, u"--display-info"_s, u"--pedantic"_s, u"--tag-display-limit"_s, u"0"_s,
            deb });
    const QStringList complaints = report.split(u'\n').filter(QRegularExpression(u"^[EWIP]: "_s));
    QVERIFY2(complaints.isEmpty(), qPrintable(complaints.join(u'\n')));
}

void TestPackaging::binaryIsHardened()
{
    const QString header = run(u"readelf"_s, { u"--file-header"_s, kBinary });
    QVERIFY2(header.contains(u"DYN (Position-Independent Executable"_s), qPrintable(header));
    const QString segments = run(u"readelf"_s, { u"--program-headers"_s, u"--wide"_s, kBinary });
    QVERIFY(segments.contains(u"GNU_RELRO"_s));
    const QRegularExpression stack(u"GNU_STACK( +\\S+){5} +RW "_s);
    QVERIFY2(stack.match(segments).hasMatch(), qPrintable(segments)); // not executable
    const QString dynamic = run(u"readelf"_s, { u"--dynamic"_s, kBinary });
    QVERIFY2(dynamic.contains(u"BIND_NOW"_s), qPrintable(dynamic));
    const QString symbols = run(u"readelf"_s, { u"--dyn-syms"_s, u"--wide"_s, kBinary });
    QVERIFY(symbols.contains(u"__stack_chk_fail"_s));
}

QTEST_GUILESS_MAIN(TestPackaging)
#include "tst_packaging.moc"
