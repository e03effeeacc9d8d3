#include "Scoring.h"

#include <QTest>

#include <cmath>

namespace {

using IndexArray = std::array<double, 12>;

std::array<double, 12> scores(std::initializer_list<double> values)
{
    std::array<double, 12> a{};
    std::copy(values.begin(), values.end(), a.begin());
    return a;
}

const std::array<double, 12> WorkedExample = scores({3.2, 4.1, 3.8, 2.9, 3.5, 4.4, 2.2, 3.0, 3.7, 4.0, 3.6, 2.5});

} // namespace

class TestScoring : public QObject
{
    Q_OBJECT
private slots:
    void overallMean_data();
    void overallMean();
    void workedExampleBands();
    void traitScores_data();
    void traitScores();
    void classifyBounds_data();
    void classifyBounds();
    void scoreText_data();
    void scoreText();
    void differenceText_data();
    void differenceText();
    void readBack_data();
    void readBack();
};

void TestScoring::overallMean_data()
{
    QTest::addColumn<IndexArray>("indices");
    QTest::addColumn<double>("mean");
    QTest::newRow("worked example") << WorkedExample << 3.3443;
    QTest::newRow("3.846 for index 3") << scores({3.2, 4.1, 3.846, 2.9, 3.5, 4.4, 2.2, 3.0, 3.7, 4.0, 3.6, 2.5}) << 3.3477;
    QTest::newRow("alternating 2 and 4") << scores({2, 4, 2, 4, 2, 4, 2, 4, 2, 4, 2, 4}) << std::sqrt(8.0);
    QTest::newRow("equal 3.7") << scores({3.7, 3.7, 3.7, 3.7, 3.7, 3.7, 3.7, 3.7, 3.7, 3.7, 3.7, 3.7}) << 3.7;
    QTest::newRow("a zero") << scores({0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4}) << 0.0;
    // A negative product has no real twelfth root; the mean is 0 rather than "nan" on screen.
    QTest::newRow("negative product") << scores({-1, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4}) << 0.0;
}

void TestScoring::overallMean()
{
    QFETCH(IndexArray, indices);
    QFETCH(double, mean);
    const double m = Scoring::overallMean(indices);
    QVERIFY(std::isfinite(m));
    QVERIFY2(std::fabs(m - mean) < 5e-5, qPrintable(QString::number(m, 'f', 6)));
}

void TestScoring::workedExampleBands()
{
    ProfileScores s;
    s.IndexScores = WorkedExample;
    const double m = Scoring::deriveScores(s);
    QList<int> high, low;
    for (int i = 1; i <= 12; ++i) {
        const auto band = Scoring::classify(s.index(i), m, 0.5);
        if (band == ScoreBand::High)
            high << i;
        if (band == ScoreBand::Low)
            low << i;
    }
    QCOMPARE(high, QList<int>({2, 6, 10}));
    QCOMPARE(low, QList<int>({7, 12}));
    for (int t = 1; t <= 4; ++t)
        QCOMPARE(Scoring::classify(s.trait(t), m, 0.5), ScoreBand::Neither);
    const QLocale c(QLocale::C);
    QCOMPARE(Scoring::scoreText(s.trait(1), c), QStringLiteral("3.70"));
    QCOMPARE(Scoring::scoreText(s.trait(2), c), QStringLiteral("3.60"));
    QCOMPARE(Scoring::scoreText(s.trait(3), c), QStringLiteral("2.97"));
    QCOMPARE(Scoring::scoreText(s.trait(4), c), QStringLiteral("3.37"));
}

void TestScoring::traitScores_data()
{
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("c");
    QTest::addColumn<double>("trait");
    QTest::addColumn<QString>("shown");
    QTest::newRow("3 4 5") << 3.0 << 4.0 << 5.0 << 4.0 << QStringLiteral("4.00");
    QTest::newRow("3.0 3.25 3.125") << 3.0 << 3.25 << 3.125 << 3.125 << QStringLiteral("3.13");
}

void TestScoring::traitScores()
{
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, c);
    QFETCH(double, trait);
    QFETCH(QString, shown);
    ProfileScores s;
    s.IndexScores.fill(3.0);
    s.IndexScores[3] = a;
    s.IndexScores[4] = b;
    s.IndexScores[5] = c;
    Scoring::deriveScores(s);
    QCOMPARE(s.trait(2), trait);
    QCOMPARE(Scoring::scoreText(s.trait(2), QLocale::c()), shown);
}

void TestScoring::classifyBounds_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("delta");
    QTest::addColumn<int>("band");
    QTest::newRow("at upper bound") << 3.5 << 3.0 << 0.5 << int(ScoreBand::High);
    QTest::newRow("at lower bound") << 2.5 << 3.0 << 0.5 << int(ScoreBand::Low);
    QTest::newRow("inside") << 3.49 << 3.0 << 0.5 << int(ScoreBand::Neither);
    QTest::newRow("equal scores, small delta") << 3.7 << 3.7 << 0.01 << int(ScoreBand::Neither);
    QTest::newRow("shown 3.85 against 3.8477") << 3.85 << 3.3477 << 0.5 << int(ScoreBand::High);
    QTest::newRow("unrounded 3.846 against 3.8477") << 3.846 << 3.3477 << 0.5 << int(ScoreBand::Neither);
}

void TestScoring::classifyBounds()
{
    QFETCH(double, value);
    QFETCH(double, mean);
    QFETCH(double, delta);
    QFETCH(int, band);
    QCOMPARE(int(Scoring::classify(value, mean, delta)), band);
}

void TestScoring::scoreText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("russian");
    QTest::addColumn<QString>("english");
    QTest::newRow("3.125 half up") << 3.125 << 2 << QStringLiteral("3,13") << QStringLiteral("3.13");
    QTest::newRow("3.375 half up") << 3.375 << 2 << QStringLiteral("3,38") << QStringLiteral("3.38");
    QTest::newRow("2.675 below half") << 2.675 << 2 << QStringLiteral("2,67") << QStringLiteral("2.67");
    QTest::newRow("3.846") << 3.846 << 2 << QStringLiteral("3,85") << QStringLiteral("3.85");
    QTest::newRow("3.996") << 3.996 << 2 << QStringLiteral("4,00") << QStringLiteral("4.00");
    QTest::newRow("negative half") << -3.125 << 2 << QStringLiteral("-3,13") << QStringLiteral("-3.13");
    QTest::newRow("three decimals 3.7") << 3.7 << 3 << QStringLiteral("3,700") << QStringLiteral("3.700");
    QTest::newRow("three decimals 3.0625") << 3.0625 << 3 << QStringLiteral("3,063") << QStringLiteral("3.063");
    QTest::newRow("zero") << 0.0 << 2 << QStringLiteral("0,00") << QStringLiteral("0.00");
    // What rounds to zero prints as zero, without a sign.
    QTest::newRow("negative zero") << -0.0 << 2 << QStringLiteral("0,00") << QStringLiteral("0.00");
    QTest::newRow("-0.004 rounds to zero") << -0.004 << 2 << QStringLiteral("0,00") << QStringLiteral("0.00");
    QTest::newRow("-0.0004 at three decimals") << -0.0004 << 3 << QStringLiteral("0,000") << QStringLiteral("0.000");
    QTest::newRow("-0.006 keeps its sign") << -0.006 << 2 << QStringLiteral("-0,01") << QStringLiteral("-0.01");
}

void TestScoring::differenceText_data()
{
    QTest::addColumn<double>("difference");
    QTest::addColumn<QString>("text");
    QTest::newRow("a gain") << 0.3 << QStringLiteral("+0,30");
    QTest::newRow("a loss") << -0.3 << QStringLiteral("-0,30");
    QTest::newRow("a gain that rounds to zero") << 0.004 << QStringLiteral("0,00");
    QTest::newRow("a loss that rounds to zero") << -0.004 << QStringLiteral("0,00");
    QTest::newRow("the smallest gain shown") << 0.006 << QStringLiteral("+0,01");
}

void TestScoring::differenceText()
{
    QFETCH(double, difference);
    QFETCH(QString, text);
    QCOMPARE(Scoring::differenceText(difference, 2, QLocale(QLocale::Russian, QLocale::Russia)), text);
}

void TestScoring::scoreText()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, russian);
    QFETCH(QString, english);
    QCOMPARE(Scoring::formatFixed(value, decimals, QLocale(QLocale::Russian, QLocale::Russia)), russian);
    QCOMPARE(Scoring::formatFixed(value, decimals, QLocale(QLocale::English, QLocale::UnitedStates)), english);
}

void TestScoring::readBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("russian");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("ru comma") << QStringLiteral("3,85") << true << true << 3.85;
    QTest::newRow("en point") << QStringLiteral("3.85") << false << true << 3.85;
    QTest::newRow("empty") << QString() << true << false << 0.0;
    QTest::newRow("letters") << QStringLiteral("abc") << false << false << 0.0;
}

void TestScoring::readBack()
{
    QFETCH(QString, text);
    QFETCH(bool, russian);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const QLocale locale = russian ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale(QLocale::English, QLocale::UnitedStates);
    const auto read = Scoring::readScoreText(text, locale);
    QCOMPARE(read.has_value(), valid);
    if (valid)
        QCOMPARE(*read, value);
}

QTEST_APPLESS_MAIN(TestScoring)
#include "tst_scoring.moc"
