// The window on a desktop that has none of its fonts (run with FONTCONFIG_FILE
// naming a font set without them): it starts, and every text still shows.
#include "phoneedit.h"
#include "textbox.h"
#include "windowtest.h"

#include <QFontInfo>
#include <QLabel>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;

class TestFallback : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void designFontsAreMissing();
    void everyTextShows();
    void phoneTestWorks();

private:
    std::unique_ptr<frmmain> m_window;
};

void TestFallback::initTestCase()
{
    QVERIFY2(qEnvironmentVariableIsSet("FONTCONFIG_FILE"), "run with FONTCONFIG_FILE set");
    setUpApplication();
    QVERIFY((m_window = shownWindow()));
}

void TestFallback::designFontsAreMissing()
{
    for (const QString &family : { u"AR PL UMing CN"_s, u"AR PL UKai CN"_s, u"URW Gothic"_s })
        QVERIFY2(!QFontDatabase::families().contains(family), qPrintable(family));
    qInfo() << "window font falls back to" << QFontInfo(m_window->font()).family();
}

void TestFallback::everyTextShows()
{
    // Each label draws something: some pixels in its rectangle differ from
    // the skin beneath it (the same window grabbed with its labels hidden).
    const QList<QLabel *> labels
        = m_window->findChildren<QLabel *>(Qt::FindDirectChildrenOnly); // the visible ones
    const QImage withText = m_window->grab().toImage();
    for (QLabel *label : labels)
        label->hide();
    const QImage without = m_window->grab().toImage();
    for (QLabel *label : labels)
        label->show();
    for (QLabel *label : labels) {
        const QRect area = label->geometry();
        int ink = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                ink += withText.pixel(x, y) != without.pixel(x, y);
        QVERIFY2(ink > area.width(), qPrintable(label->objectName()));
        // The text is not cut off: its fallback face still fits the label.
        QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width(),
            qPrintable(label->objectName()));
        QVERIFY2(area.right() < 303, qPrintable(label->objectName())); // inside the window
    }
}

void TestFallback::phoneTestWorks()
{
    auto *phone = control<PhoneEdit>(*m_window, "Text2");
    phone->clear();
    QTest::keyClicks(phone, u"13912345678"_s);
    QTest::mouseClick(control<QPushButton>(*m_window, "CmmTest"), Qt::LeftButton);
    QVERIFY(control<TextBox>(*m_window, "Text1")->text().endsWith(u"有得有失.华而不实"_s));
}

QTEST_MAIN(TestFallback)
#include "tst_fallback.moc"
