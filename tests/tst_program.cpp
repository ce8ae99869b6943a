// The built program as a whole: how it starts, and how it fails to.
#include <QProcess>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void withoutDisplaySaysSoInOneLine_data();
    void withoutDisplaySaysSoInOneLine();
    void artworkIsWhatItsSourceMakes();
};

void TestProgram::withoutDisplaySaysSoInOneLine_data()
{
    QTest::addColumn<QStringList>("environment");
    QTest::newRow("no display named") << QStringList {};
    QTest::newRow("display not there") << QStringList { u"DISPLAY=:4711"_s };
    QTest::newRow("no such platform") << QStringList { u"QT_QPA_PLATFORM=nonesuch"_s };
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

void TestProgram::artworkIsWhatItsSourceMakes()
{
    QProcess check;
    check.start(QStringLiteral(ARTWORK_BINARY), { u"--check"_s, QStringLiteral(ASSETS_DIR) });
    QVERIFY(check.waitForFinished(20000));
    QVERIFY2(check.exitCode() == 0, check.readAllStandardError().constData());
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
