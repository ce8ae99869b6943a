// The window on a high-density screen (run with QT_SCALE_FACTOR set): same
// proportions, a skin enlarged without blur, every text inside its control.
#include "windowtest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <set>

using namespace Qt::Literals::StringLiterals;

class TestHighDpi : public WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void keepsItsProportions();
    void skinIsEnlargedWithoutBlur();
    void textsStayInsideTheirControls();

private:
    qreal m_scale = 1;
};

void TestHighDpi::initTestCase()
{
    m_scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();
    QVERIFY2(m_scale > 1, "run with QT_SCALE_FACTOR above 1");
    WindowFixture::initTestCase();
}

void TestHighDpi::keepsItsProportions()
{
    QCOMPARE(m_window->devicePixelRatio(), m_scale);
    QCOMPARE(m_window->size(), skin::kClosed);
    const QPixmap shot = m_window->grab();
    QCOMPARE(shot.size(), (QSizeF(skin::kClosed) * m_scale).toSize());
    QCOMPARE(m_output->geometry(), skin::kOutputBox);
}

void TestHighDpi::skinIsEnlargedWithoutBlur()
{
    // Every device pixel of the close mark and the strips beside it (where
    // no text is drawn) has one of the skin's own colours.
    const QImage skin(u":/skin.bmp"_s);
    std::set<QRgb> colours;
    for (const QRgb colour : skin.colorTable())
        colours.insert(colour | 0xFF000000);
    const QImage shot = m_window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect area = QRectF(QPointF(276, 0) * m_scale, QSizeF(26, 32) * m_scale).toRect();
    int checked = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x, ++checked)
            if (!colours.count(shot.pixel(x, y))) {
                shot.save(QDir::temp().filePath(u"phone-fortune-hidpi.png"_s));
                QFAIL(
                    qPrintable(u"blended colour %1 at %2,%3"_s.arg(QColor(shot.pixel(x, y)).name())
                                   .arg(x)
                                   .arg(y)));
            }
    QVERIFY(checked > 26 * 32);
    // And the cross stays black in the middle of its stroke.
    QVERIFY(pixelIs(shot, (QPointF(286.5, 12.5) * m_scale).toPoint(), Qt::black,
        QDir::temp().filePath(u"phone-fortune-hidpi.png"_s)));
}

void TestHighDpi::textsStayInsideTheirControls()
{
    const auto fits = [](const QWidget *control, const QString &text, qreal room) {
        const qreal width = QFontMetricsF(control->font()).horizontalAdvance(text);
        if (width > room)
            qWarning() << control->objectName() << text << width << "wider than" << room;
        return width <= room;
    };
    QList<QWidget *> labels { m_link };
    for (QLabel *label : m_window->findChildren<QLabel *>())
        labels.append(label);
    for (QWidget *label : labels) {
        QVERIFY(label);
        QVERIFY(fits(label, label->property("text").toString(), label->width()));
        QVERIFY(QFontMetricsF(label->font()).height() <= label->height());
    }
    QVERIFY(fits(m_phone, m_phone->text(), m_phone->width() - 6));
    QVERIFY(fits(m_test, m_test->text(), m_test->width() - 8));
}

QTEST_MAIN(TestHighDpi)
#include "tst_hidpi.moc"
