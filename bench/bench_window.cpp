// A phone test as the user triggers it: from the click on the test button to
// the output box holding the result; and what a box holding a megabyte costs
// while the window waits for the user. Run with -median N for the median.
#include "app/app.h"
#include "window/frmmain.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTextEdit>
#include <QtTest>

#include <unistd.h>

namespace {

// The processor time this process has used so far, in seconds.
double processorSeconds()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // After the command name in parentheses: utime and stime are the 12th and
    // 13th fields, in clock ticks.
    const QList<QByteArray> fields = stat.readAll().split(')').last().split(' ');
    return (fields.at(12).toDouble() + fields.at(13).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

} // namespace

class BenchWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void testClick_data();
    void testClick();
    void idleWithAMegabyteInAFocusedBox_data();
    void idleWithAMegabyteInAFocusedBox();

private:
    std::unique_ptr<frmmain> m_window;
};

void BenchWindow::initTestCase()
{
    configureApplication();
    m_window = std::make_unique<frmmain>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void BenchWindow::testClick_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::newRow("phone number") << QStringLiteral("13912345678");
    // A megabyte of mixed text pasted into the box: only its digits stay.
    QString mixed;
    QRandomGenerator random(8);
    const QString pieces = QStringLiteral("0123456789 abc-+中文，。");
    for (qsizetype bytes = 0; bytes < 1 << 20;) {
        const QChar piece = pieces.at(random.bounded(pieces.size()));
        mixed += piece;
        bytes += piece.unicode() < 0x80 ? 1 : 3; // its length in UTF-8
    }
    QTest::newRow("megabyte pasted") << mixed;
    QTest::newRow("ten megabytes of digits pasted") << QString(10'000'000, u'7');
}

void BenchWindow::testClick()
{
    QFETCH(QString, pasted);
    auto *phone = m_window->findChild<QLineEdit *>(QStringLiteral("Text2"));
    auto *button = m_window->findChild<QPushButton *>(QStringLiteral("CmmTest"));
    auto *output = m_window->findChild<QTextEdit *>(QStringLiteral("Text1"));
    phone->clear();
    phone->insert(pasted);
    QVERIFY(!phone->text().isEmpty());
    QBENCHMARK
    {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QVERIFY(output->toPlainText().contains(QStringLiteral("吉凶注解：")));
}

void BenchWindow::idleWithAMegabyteInAFocusedBox_data()
{
    QTest::addColumn<QString>("box");
    QTest::newRow("phone box") << QStringLiteral("Text2");
    QTest::newRow("quiz box") << QStringLiteral("Text4");
}

// Reported as a share of one core, sampled over three seconds of waiting,
// with the cursor blinking in the box.
void BenchWindow::idleWithAMegabyteInAFocusedBox()
{
    QFETCH(QString, box);
    auto *link = m_window->findChild<QAbstractButton *>(QStringLiteral("Label7"));
    if (m_window->panelState() == QStringLiteral("0"))
        link->click(); // the quiz box is in view
    auto *target = m_window->findChild<QWidget *>(box);
    target->setFocus();
    QVERIFY(QMetaObject::invokeMethod(target, "selectAll"));
    QGuiApplication::clipboard()->setText(QString(1 << 20, u'7'));
    QVERIFY(QMetaObject::invokeMethod(target, "paste"));
    QTRY_VERIFY(target->hasFocus());
    QTest::qWait(500); // the paste's own work done
    const double before = processorSeconds();
    QTest::qWait(3000);
    const double share = (processorSeconds() - before) / 3;
    qInfo("%s: %.1f%% of a core while idle", qPrintable(box), 100 * share);
}

QTEST_MAIN(BenchWindow)
#include "bench_window.moc"
