// A phone test as the user triggers it: from the click on the test button to
// the output box holding the result. Run with -median N for the median.
#include "app.h"
#include "frmmain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTextEdit>
#include <QtTest>

class BenchWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void testClick_data();
    void testClick();

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

QTEST_MAIN(BenchWindow)
#include "bench_window.moc"
