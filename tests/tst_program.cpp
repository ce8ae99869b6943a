// The built program as a whole: how it starts, and how it fails to.
#include "warnings.h"
#include <QProcess>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// The locales the system has, for a test: C.UTF-8, with or without
// zh_CN.GB18030 and zh_CN (GB2312) (see CMakeLists.txt).
QString lacking()
{
    return u"LOCPATH=" LOCALES_DIR "/without-zh_CN"_s;
}
QString having()
{
    return u"LOCPATH=" LOCALES_DIR "/with-zh_CN"_s;
}

} // namespace

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void init() { failOnUnexpectedWarnings(); }
    void withoutDisplaySaysSoInOneLine_data();
    void withoutDisplaySaysSoInOneLine();
    void badPlatformShowsTheToolkitsReason_data();
    void badPlatformShowsTheToolkitsReason();
    void versionAndHelpNeedNoDisplay_data();
    void versionAndHelpNeedNoDisplay();
    void failedWriteIsAnError_data();
    void failedWriteIsAnError();
    void artworkIsWhatItsSourceMakes();
};

void TestProgram::withoutDisplaySaysSoInOneLine_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::newRow("no display named") << QStringList {};
    QTest::newRow("display not there") << QStringList { u"DISPLAY=:4711"_s };
    QTest::newRow("display not there, locale not installed")
        << QStringList { u"DISPLAY=:4711"_s, u"LC_ALL=zh_CN.GB18030"_s, lacking() };
}

void TestProgram::withoutDisplaySaysSoInOneLine()
{
    QFETCH(QStringList, environment);
    QProcess program;
    environment << u"PATH=/usr/bin:/bin"_s << u"HOME=%1"_s.arg(QDir::tempPath());
    program.setEnvironment(environment);
    program.start(QStringLiteral(PHONE_FORTUNE_BINARY), {});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit); // not an abort
    QCOMPARE(program.exitCode(), 1);
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    QCOMPARE(errors.count(u'\n'), 1);
    QVERIFY2(errors.contains(u"no display"_s), qPrintable(errors));
}

void TestProgram::badPlatformShowsTheToolkitsReason_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    const QString nonesuch = u"platform plugin \"nonesuch\""_s;
    QTest::newRow("no such platform")
        << QStringList { u"QT_QPA_PLATFORM=nonesuch"_s, u"DISPLAY=:4711"_s } << QStringList {}
        << nonesuch;
    QTest::newRow("wayland without compositor")
        << QStringList { u"QT_QPA_PLATFORM=wayland"_s, u"WAYLAND_DISPLAY=nonesuch-0"_s }
        << QStringList {} << u"wl_display"_s;
    // Named by the toolkit's options alone, with no display in the environment.
    QTest::newRow("-platform") << QStringList {} << QStringList { u"-platform"_s, u"nonesuch"_s }
                               << nonesuch;
    QTest::newRow("--platform") << QStringList {} << QStringList { u"--platform"_s, u"nonesuch"_s }
                                << nonesuch;
}

void TestProgram::badPlatformShowsTheToolkitsReason()
{
    QFETCH(QStringList, environment);
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    QTemporaryDir runtime;
    QProcess program;
    environment << u"PATH=/usr/bin:/bin"_s << u"HOME=%1"_s.arg(QDir::tempPath())
                << u"XDG_RUNTIME_DIR=%1"_s.arg(runtime.path());
    program.setEnvironment(environment);
    program.start(QStringLiteral(PHONE_FORTUNE_BINARY), arguments);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit); // not an abort
    QVERIFY(program.exitCode() != 0);
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(errors.startsWith(u"phone-fortune: "_s), qPrintable(errors));
    QVERIFY2(!errors.contains(u"no display"_s), qPrintable(errors));
    QVERIFY2(errors.contains(reason), qPrintable(errors));
}

void TestProgram::versionAndHelpNeedNoDisplay_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("locale");
    QTest::addColumn<QByteArray>("answer"); // how the output begins
    const QByteArray version = "phone-fortune " PROJECT_VERSION "\n";
    const QByteArray english = "Usage: phone-fortune [--help] [--version]\n";
    // In the encoding of any locale, and in English alone where it cannot
    // show Chinese: a bare environment's, one that LC_ALL sets above a UTF-8
    // language, a Latin one, and GB18030, both where the system has it and
    // where it lacks it (yet its name says what the terminal shows). Nothing
    // but the answer is printed.
    const QList<std::tuple<const char *, QStringList, QByteArray>> locales {
        { "C", {}, english },
        { "LC_ALL=POSIX", { u"LANG=C.UTF-8"_s, u"LC_ALL=POSIX"_s }, english },
        { "Latin-1", { u"LANG=en_US.ISO-8859-1"_s }, english },
        { "GB18030", { u"LANG=zh_CN.GB18030"_s, having() },
            "\xD3\xC3\xB7\xA8\xA3\xBAphone-fortune [" },
        { "GB18030 lacking", { u"LANG=zh_CN.GB18030"_s, lacking() },
            "\xD3\xC3\xB7\xA8\xA3\xBAphone-fortune [" },
        // The system lacks the time's locale but has the character type's,
        // whose name does not say its encoding.
        { "GB2312, another category lacking",
            { u"LANG=zh_CN"_s, u"LC_TIME=xx_YY.UTF-8"_s, having() },
            "\xD3\xC3\xB7\xA8\xA3\xBAphone-fortune [" },
        { "UTF-8", { u"LANG=C.UTF-8"_s }, "用法：phone-fortune [" },
    };
    for (const auto &[name, locale, help] : locales) {
        QTest::addRow("version, %s", name) << u"--version"_s << locale << version;
        QTest::addRow("help, %s", name) << u"--help"_s << locale << help;
    }
}

void TestProgram::versionAndHelpNeedNoDisplay()
{
    QFETCH(QString, option);
    QFETCH(QStringList, locale);
    QFETCH(QByteArray, answer);
    QProcess program;
    program.setEnvironment(QStringList { u"PATH=/usr/bin:/bin"_s } + locale); // no display at all
    program.start(QStringLiteral(PHONE_FORTUNE_BINARY), { option });
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(program.readAllStandardError(), QByteArray());
    const QByteArray output = program.readAllStandardOutput();
    QVERIFY2(output.startsWith(answer), output.constData());
    if (answer.startsWith("Usage")) { // English alone: plain ASCII, every option explained
        QVERIFY2(std::all_of(output.cbegin(), output.cend(), [](char c) { return c > 0; }),
            output.constData());
        QVERIFY2(output.contains("\n  --version  show the version and exit\n"), output.constData());
    }
}

// As the GNU tools do, a write that failed is said, and fails the program.
void TestProgram::failedWriteIsAnError_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("version") << u"--version"_s;
    QTest::newRow("help") << u"--help"_s;
}

void TestProgram::failedWriteIsAnError()
{
    QFETCH(QString, option);
    QProcess program;
    program.setEnvironment({ u"PATH=/usr/bin:/bin"_s });
    program.setStandardOutputFile(u"/dev/full"_s);
    program.start(QStringLiteral(PHONE_FORTUNE_BINARY), { option });
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(program.readAllStandardError(),
        QByteArray("phone-fortune: write error: No space left on device\n"));
}

void TestProgram::artworkIsWhatItsSourceMakes()
{
    QProcess check;
    check.start(QStringLiteral(ARTWORK_BINARY), { u"--check"_s, QStringLiteral(ASSETS_DIR) });
    QVERIFY(check.waitForFinished(20000));
    QVERIFY2(check.exitCode() == 0, check.readAllStandardError().constData());
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
