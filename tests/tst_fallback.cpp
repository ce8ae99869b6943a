// The window on a desktop that has none of its fonts (run with FONTCONFIG_FILE
// naming a font set without them): it starts, and every text still shows.
#include "window/controls/phoneedit.h"
#include "window/controls/textbox.h"

#include "windowtest.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>

using namespace Qt::Literals::StringLiterals;

class TestFallback : public WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void designFontsAreMissing();
    void everyTextShows();
    void phoneTestWorks();
    void answersStayBesideTheirBoxes();
};

void TestFallback::initTestCase()
{
    QVERIFY2(qEnvironmentVariableIsSet("FONTCONFIG_FILE"), "run with FONTCONFIG_FILE set");
    WindowFixture::initTestCase();
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
    QList<QWidget *> labels;
    for (const char *name : { "Label3", "Label4", "Label5", "Label6", "Label7" }) {
        auto *label = findControl<QWidget>(*m_window, name);
        QVERIFY(label);
        labels.append(label);
    }
    const QImage withText = m_window->grab().toImage();
    for (QWidget *label : labels)
        label->hide();
    const QImage without = m_window->grab().toImage();
    for (QWidget *label : labels)
        label->show();
    for (QWidget *label : labels) {
        const QRect area = label->geometry();
        int ink = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                ink += withText.pixel(x, y) != without.pixel(x, y);
        QVERIFY2(ink > area.width(), qPrintable(label->objectName()));
        // The text is not cut off: its fallback face still fits the label.
        const QString text = label->property("text").toString();
        QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(text) <= label->width(),
            qPrintable(label->objectName()));
        QVERIFY2(area.right() < 297, qPrintable(label->objectName())); // inside the skin's edge
    }
}

void TestFallback::phoneTestWorks()
{
    m_phone->clear();
    QTest::keyClicks(m_phone, u"13912345678"_s);
    QTest::mouseClick(m_test, Qt::LeftButton);
    QVERIFY(m_output->text().endsWith(u"有得有失.华而不实"_s));
}

void TestFallback::answersStayBesideTheirBoxes()
{
    m_link->click();
    QTRY_VERIFY(m_question->isVisible());
    const QStringList answers { u"A、"_s, u"B、"_s, u"C、"_s, u"D、"_s };
    QList<int> tops;
    for (int i = 0; i < 4; ++i) {
        const QTextCursor answer = m_question->document()->find(answers[i]);
        QVERIFY(!answer.isNull());
        const QRect line = m_question->cursorRect(answer);
        const int middle = m_question->viewport()->mapTo(m_window.get(), line.center()).y();
        const QRect box = m_boxes[i]->geometry();
        QVERIFY2(box.top() <= middle && middle <= box.bottom(),
            qPrintable(u"answer %1 at y %2, its box at %3 to %4"_s.arg(answers[i])
                           .arg(middle)
                           .arg(box.top())
                           .arg(box.bottom())));
        tops.append(line.top());
    }
    // The whole question inside the box, down to its last answer (answers
    // are two lines apart).
    const int pitch = (tops[3] - tops[2]) / 2;
    QVERIFY2(
        tops[3] + pitch <= m_question->viewport()->height(), qPrintable(QString::number(pitch)));
}

QTEST_MAIN(TestFallback)
#include "tst_fallback.moc"
