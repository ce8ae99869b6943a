// Desktop integration and the built binary: what `cmake --install` and the
// Debian package put where, whether the standard validators accept it, and
// the binary's hardening.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kSource = QStringLiteral(SOURCE_DIR);
const QString kBuild = QStringLiteral(BUILD_DIR);
const QString kBinary = QStringLiteral(PHONE_FORTUNE_BINARY);

const QStringList kInstalled {
    u"bin/phone-fortune"_s,
    u"share/applications/com.example.PhoneFortune.desktop"_s,
    u"share/metainfo/com.example.PhoneFortune.metainfo.xml"_s,
    u"share/icons/hicolor/32x32/apps/phone-fortune.png"_s,
    u"share/icons/hicolor/64x64/apps/phone-fortune.png"_s,
    u"share/icons/hicolor/128x128/apps/phone-fortune.png"_s,
};

// Runs a command to its end; its standard output, or a failure with its errors.
QString run(const QString &program, const QStringList &arguments, int *exitCode = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        qWarning() << program << "did not finish";
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    if (exitCode)
        *exitCode = process.exitCode();
    else if (process.exitCode() != 0)
        qWarning().noquote() << program << arguments.join(u' ') << "failed:" << errors;
    return QString::fromUtf8(process.readAllStandardOutput()) + errors;
}

} // namespace

class TestPackaging : public QObject
{
    Q_OBJECT

private slots:
    void validatorsAcceptDesktopEntryAndMetainfo();
    void installPutsEverythingInItsPlace();
    void debianPackageHoldsTheSameFiles();
    void binaryIsHardened();
};

void TestPackaging::validatorsAcceptDesktopEntryAndMetainfo()
{
    int status = -1;
    const QString desktop = kSource + u"/packaging/com.example.PhoneFortune.desktop"_s;
    const QString metainfo = kSource + u"/packaging/com.example.PhoneFortune.metainfo.xml"_s;
    QString output = run(u"desktop-file-validate"_s, { desktop }, &status);
    QVERIFY2(status == 0 && output.trimmed().isEmpty(), qPrintable(output));
    output = run(u"appstreamcli"_s, { u"validate"_s, u"--no-net"_s, metainfo }, &status);
    QVERIFY2(status == 0, qPrintable(output));
    QVERIFY2(!output.contains(u"W: "_s) && !output.contains(u"E: "_s), qPrintable(output));
}

void TestPackaging::installPutsEverythingInItsPlace()
{
    QTemporaryDir prefix;
    int status = -1;
    const QString output
        = run(u"cmake"_s, { u"--install"_s, kBuild, u"--prefix"_s, prefix.path() }, &status);
    QVERIFY2(status == 0, qPrintable(output));
    for (const QString &file : kInstalled)
        QVERIFY2(QFileInfo::exists(prefix.filePath(file)), qPrintable(file));

    // The icon as drawn, and enlarged by whole pixels: no blurred colours.
    const QString icons = prefix.filePath(u"share/icons/hicolor/"_s);
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

void TestPackaging::debianPackageHoldsTheSameFiles()
{
    QTemporaryDir out;
    int status = -1;
    const QString output = run(u"cpack"_s,
        { u"--config"_s, kBuild + u"/CPackConfig.cmake"_s, u"-B"_s, out.path() }, &status);
    QVERIFY2(status == 0, qPrintable(output));
    const QStringList packages = QDir(out.path()).entryList({ u"*.deb"_s });
    QCOMPARE(packages.size(), 1);
    const QString deb = out.filePath(packages.first());
    const QString contents = run(u"dpkg-deb"_s, { u"--contents"_s, deb });
    for (const QString &file : kInstalled)
        QVERIFY2(contents.contains(u"./usr/"_s + file), qPrintable(file));
    const QString depends = run(u"dpkg-deb"_s, { u"--field"_s, deb, u"Depends"_s });
    for (const QString &needed :
        { u"libqt6widgets6"_s, u"qt6-qpa-plugins"_s, u"fonts-arphic-uming"_s })
        QVERIFY2(depends.contains(needed), qPrintable(depends));
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
