// The fortune computation on its own: the reduction of a phone text and the
// two table lookups.
#include "engine/fortunenumber.h"
#include "engine/mod_date.h"

#include "warnings.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <map>
#include <string>

namespace {

// Number of Unicode characters in a valid UTF-8 text.
qsizetype characterCount(std::string_view utf8)
{
    return QString::fromUtf8(utf8).size();
}

const char kFallbackVerdict[] = "大吉";
const char kFallbackMeaning[] = "非凡特质,名人猛人";

} // namespace

class TestEngine : public QObject
{
    Q_OBJECT

private slots:
    void init() { failOnUnexpectedWarnings(); }
    void reducesPhoneTexts_data();
    void reducesPhoneTexts();
    void everyFourDigitTailIsModuloOrOneLess();
    void rejectsTailsThatAreNotDigits_data();
    void rejectsTailsThatAreNotDigits();
    void usesOnlyTheTailOfLongTexts();
    void lookupsMatchOnlyEqualKeys_data();
    void lookupsMatchOnlyEqualKeys();
    void tableHasItsShape();
};

void TestEngine::reducesPhoneTexts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("meaning");

    const QString fallbackVerdict = kFallbackVerdict;
    const QString fallbackMeaning = kFallbackMeaning;
    QTest::newRow("80") << QByteArray("80") << 0.0 << fallbackVerdict << fallbackMeaning;
    QTest::newRow("0080") << QByteArray("0080") << 0.0 << fallbackVerdict << fallbackMeaning;
    QTest::newRow("160") << QByteArray("160") << 0.0 << fallbackVerdict << fallbackMeaning;
    QTest::newRow("81 falls to 0") << QByteArray("81") << 0.0 << fallbackVerdict << fallbackMeaning;
    QTest::newRow("82 falls to 1") << QByteArray("82") << 1.0 << "吉"
                                   << "大展鸿图.可获成功";
    QTest::newRow("83") << QByteArray("83") << 3.0 << "吉"
                        << "蒸蒸日上.百事顺遂";
    QTest::newRow("86 falls to 5") << QByteArray("86") << 5.0 << "吉"
                                   << "生意欣荣.名利双收";
    QTest::newRow("161") << QByteArray("161") << 1.0 << "吉"
                         << "大展鸿图.可获成功";
    QTest::newRow("1234") << QByteArray("1234") << 34.0 << "吉"
                          << "中吉之数.进退保守";
    QTest::newRow("5678 falls to 77") << QByteArray("5678") << 77.0 << "吉带凶"
                                      << "有得有失.华而不实";
    QTest::newRow("8888 falls to 7") << QByteArray("8888") << 7.0 << "吉"
                                     << "和气致祥.必获成功";
    QTest::newRow("9999 falls to 78") << QByteArray("9999") << 78.0 << "凶"
                                      << "前途无光.希望不大";
    QTest::newRow("13800138000") << QByteArray("13800138000") << 0.0 << fallbackVerdict
                                 << fallbackMeaning;
    QTest::newRow("13912345678") << QByteArray("13912345678") << 77.0 << "吉带凶"
                                 << "有得有失.华而不实";
    QTest::newRow("one digit") << QByteArray("5") << 5.0 << "吉"
                               << "生意欣荣.名利双收";
}

void TestEngine::reducesPhoneTexts()
{
    QFETCH(QByteArray, text);
    QFETCH(double, number);
    QFETCH(QString, verdict);
    QFETCH(QString, meaning);

    const auto reduced = Mod_date::FortuneNumber(text.toStdString());
    QVERIFY(reduced.has_value());
    QCOMPARE(*reduced, number);
    const std::string_view v = Mod_date::FortuneVerdict(*reduced);
    const std::string_view m = Mod_date::FortuneText(*reduced);
    QCOMPARE(QString::fromUtf8(v), verdict);
    QCOMPARE(QString::fromUtf8(m), meaning);
}

void TestEngine::everyFourDigitTailIsModuloOrOneLess()
{
    // Rounding of n / 80 drops some results one below n mod 80. A fused
    // multiply-add, extended precision or an integer shortcut changes which.
    int oneLess = 0;
    std::map<double, int> seen;
    for (int n = 0; n <= 9999; ++n) {
        const std::string text = QByteArray::number(n).rightJustified(4, '0').toStdString();
        const auto reduced = Mod_date::FortuneNumber(text);
        QVERIFY(reduced.has_value());
        const double r = *reduced;
        const double mod = n % 80;
        if (r == mod - 1)
            ++oneLess;
        else if (r != mod)
            QFAIL(qPrintable(QStringLiteral("%1 gave %2").arg(n).arg(r)));
        // Without leading zeros the same value is read.
        QCOMPARE(Mod_date::FortuneNumber(std::to_string(n)), reduced);
        ++seen[r];
    }
    QCOMPARE(oneLess, 3950);
    QCOMPARE(seen.begin()->first, 0.0);
    QCOMPARE(seen.rbegin()->first, 79.0); // 80 is never reached
}

void TestEngine::rejectsTailsThatAreNotDigits_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("letters") << QByteArray("abcd");
    QTest::newRow("letter in tail") << QByteArray("1391234a678");
    QTest::newRow("letter at the end") << QByteArray("1391234567x");
    QTest::newRow("trailing space") << QByteArray("13912345678 ");
    QTest::newRow("sign") << QByteArray("-123");
    QTest::newRow("plus sign, short") << QByteArray("+8");
    QTest::newRow("full-width digits") << QByteArray("１２３４");
    QTest::newRow("Chinese at the end") << QByteArray("1391234中");
    QTest::newRow("NUL byte") << QByteArray("12\0004", 4);
    QTest::newRow("broken UTF-8 lead byte") << QByteArray("123\xe4");
    QTest::newRow("stray continuation byte") << QByteArray("1\x80"
                                                           "23");
    QTest::newRow("0xFF byte") << QByteArray("\xff"
                                             "234");
}

void TestEngine::rejectsTailsThatAreNotDigits()
{
    QFETCH(QByteArray, text);
    QCOMPARE(Mod_date::FortuneNumber(std::string_view(text.constData(), size_t(text.size()))),
        std::nullopt);
}

void TestEngine::usesOnlyTheTailOfLongTexts()
{
    // Four characters, not four bytes: what comes before them is never read.
    QCOMPARE(Mod_date::FortuneNumber("中文5678"), 77.0);
    QCOMPARE(Mod_date::FortuneNumber("\xe4"
                                     "0161"),
        1.0);
    QCOMPARE(Mod_date::FortuneNumber("a0080"), 0.0);

    std::string million(1'000'000, '9');
    million += "5678";
    QCOMPARE(Mod_date::FortuneNumber(million), 77.0);
    std::string letters(1'000'000, 'x');
    letters += "8888";
    QCOMPARE(Mod_date::FortuneNumber(letters), 7.0);
    letters += 'x';
    QCOMPARE(Mod_date::FortuneNumber(letters), std::nullopt);
}

void TestEngine::lookupsMatchOnlyEqualKeys_data()
{
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QString>("meaning");

    const double inf = std::numeric_limits<double>::infinity();
    const QString fv = kFallbackVerdict;
    const QString fm = kFallbackMeaning;
    QTest::newRow("80 only directly") << 80.0 << "吉"
                                      << "最极之数.能得成功";
    QTest::newRow("1") << 1.0 << "吉"
                       << "大展鸿图.可获成功";
    QTest::newRow("3.0 is 3") << 3.0 << "吉"
                              << "蒸蒸日上.百事顺遂";
    QTest::newRow("44 is short") << 44.0 << "吉"
                                 << "绿叶发枝.一举擅";
    QTest::newRow("48 full-width stop") << 48.0 << "凶"
                                        << "遇吉则吉．遇凶则凶";
    QTest::newRow("0") << 0.0 << fv << fm;
    QTest::newRow("-0") << -0.0 << fv << fm;
    QTest::newRow("81") << 81.0 << fv << fm;
    QTest::newRow("-1") << -1.0 << fv << fm;
    QTest::newRow("2.5") << 2.5 << fv << fm;
    QTest::newRow("3.5") << 3.5 << fv << fm;
    QTest::newRow("just above 1") << std::nextafter(1.0, 2.0) << fv << fm;
    QTest::newRow("just below 80") << std::nextafter(80.0, 0.0) << fv << fm;
    QTest::newRow("just above 80") << std::nextafter(80.0, 100.0) << fv << fm;
    QTest::newRow("huge") << 1e300 << fv << fm;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << fv << fm;
    QTest::newRow("+inf") << inf << fv << fm;
    QTest::newRow("-inf") << -inf << fv << fm;
}

void TestEngine::lookupsMatchOnlyEqualKeys()
{
    QFETCH(double, number);
    QFETCH(QString, verdict);
    QFETCH(QString, meaning);
    const std::string_view v = Mod_date::FortuneVerdict(number);
    const std::string_view m = Mod_date::FortuneText(number);
    QCOMPARE(QString::fromUtf8(v), verdict);
    QCOMPARE(QString::fromUtf8(m), meaning);
}

void TestEngine::tableHasItsShape()
{
    std::map<std::string_view, int> verdicts;
    for (int key = 1; key <= 80; ++key) {
        ++verdicts[Mod_date::FortuneVerdict(key)];
        const std::string_view meaning = Mod_date::FortuneText(key);
        const QString text = QString::fromUtf8(meaning);
        QCOMPARE(characterCount(meaning), key == 44 ? 8 : 9);
        QCOMPARE(text.at(4), key == 48 ? QChar(0xFF0E) : QChar(u'.'));
        QVERIFY2(text.count(u'.') + text.count(QChar(0xFF0E)) == 1, qPrintable(text));
    }
    QCOMPARE(verdicts.size(), size_t(4));
    QCOMPARE(verdicts["吉"], 35);
    QCOMPARE(verdicts["凶"], 29);
    QCOMPARE(verdicts["吉带凶"], 13);
    QCOMPARE(verdicts["凶带吉"], 3);
    QCOMPARE(QString::fromUtf8(Mod_date::FortuneText(0)).at(4), QChar(u','));
    QCOMPARE(characterCount(Mod_date::FortuneText(0)), 9);
}

QTEST_APPLESS_MAIN(TestEngine)
#include "tst_engine.moc"
