// The window is a skin: on a desktop with a dark or a high-contrast colour
// scheme it looks as it does on a light one, pixel for pixel, so that the
// text on the design's fixed back colours stays readable.
#include "windowtest.h"

#include <QDir>

#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

using State = std::function<void(frmmain &)>;

void openPanel(frmmain &window)
{
    if (auto *link = findControl<ClickLabel>(window, "Label7"))
        link->click();
}

// How many pixels differ; both images are saved when any does.
qsizetype differences(const QImage &light, const QImage &other, const QString &name)
{
    if (light.size() != other.size())
        return qsizetype(light.width()) * light.height();
    qsizetype count = 0;
    for (int y = 0; y < light.height(); ++y)
        for (int x = 0; x < light.width(); ++x)
            count += light.pixel(x, y) != other.pixel(x, y);
    if (count > 0) {
        light.save(QDir::temp().filePath(u"phone-fortune-%1-light.png"_s.arg(name)));
        other.save(QDir::temp().filePath(u"phone-fortune-%1.png"_s.arg(name)));
    }
    return count;
}

} // namespace

class TestSchemes : public WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void looksAsInTheLightScheme_data();
    void looksAsInTheLightScheme();

private:
    QPalette m_light; // the desktop's own scheme, a light one here
};

void TestSchemes::initTestCase()
{
    WindowFixture::initTestCase();
    m_light = QApplication::palette();
}

void TestSchemes::cleanup()
{
    QApplication::setPalette(m_light);
    WindowFixture::cleanup();
}

void TestSchemes::looksAsInTheLightScheme_data()
{
    QTest::addColumn<QPalette>("scheme");
    QTest::addColumn<State>("state");

    const QList<std::pair<const char *, State>> states {
        { "closed", [](frmmain &) {} },
        { "open", openPanel },
        { "after a test",
            [](frmmain &window) {
                if (auto *test = findControl<QPushButton>(window, "CmmTest"))
                    test->click();
            } },
        { "link focused",
            [](frmmain &window) {
                if (auto *link = findControl<ClickLabel>(window, "Label7"))
                    link->setFocus(Qt::TabFocusReason);
            } },
        { "answer focused",
            [](frmmain &window) {
                openPanel(window);
                answerBoxes(window).at(1)->setFocus(Qt::TabFocusReason);
            } },
    };
    for (const auto &[name, state] : states) {
        QTest::addRow("dark, %s", name) << schemes::dark() << state;
        QTest::addRow("high contrast, %s", name) << schemes::highContrast() << state;
    }
}

void TestSchemes::looksAsInTheLightScheme()
{
    QFETCH(QPalette, scheme);
    QFETCH(State, state);
    const QString name
        = QString::fromLatin1(QTest::currentDataTag()).replace(u", "_s, u"-"_s).replace(u' ', u'-');
    state(*m_window);
    const QImage light = m_window->grab().toImage();

    // The desktop changes its scheme while the window is open,
    QApplication::setPalette(scheme);
    QCOMPARE(differences(light, m_window->grab().toImage(), name + u"-changed"_s), 0);

    // or had it before the window opened.
    const std::unique_ptr<frmmain> other = shownWindow();
    QVERIFY(other);
    state(*other);
    QCOMPARE(differences(light, other->grab().toImage(), name), 0);
}

QTEST_MAIN(TestSchemes)
#include "tst_schemes.moc"
