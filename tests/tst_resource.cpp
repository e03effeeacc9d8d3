#include "Cp1251.h"
#include "Resource.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>

class TestResource : public QObject
{
    Q_OBJECT
private slots:
    void groupBoundaries_data();
    void groupBoundaries();
    void statementsAreNumberedAndMarked();
    void descriptionBlocks_data();
    void descriptionBlocks();
    void traitDescriptionIsElevenLines();
    void chartCaption_data();
    void chartCaption();
    void indexStatementsHighestFirst();
    void colours();
    void cp1251MatchesSystemConverter();
    void cp1251RoundTrips();
};

void TestResource::groupBoundaries_data()
{
    QTest::addColumn<int>("statement");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("trait");
    QTest::newRow("1") << 1 << 1 << 1;
    QTest::newRow("15") << 15 << 3 << 1;
    QTest::newRow("16") << 16 << 4 << 2;
    QTest::newRow("30") << 30 << 6 << 2;
    QTest::newRow("31") << 31 << 7 << 3;
    QTest::newRow("45") << 45 << 9 << 3;
    QTest::newRow("46") << 46 << 10 << 4;
    QTest::newRow("60") << 60 << 12 << 4;
}

void TestResource::groupBoundaries()
{
    QFETCH(int, statement);
    QFETCH(int, index);
    QFETCH(int, trait);
    QCOMPARE(Resource::indexOfStatement(statement), index);
    QCOMPARE(Resource::traitOfIndex(index), trait);
    QCOMPARE(Resource::traitOfStatement(statement), trait);
}

void TestResource::statementsAreNumberedAndMarked()
{
    const QList<int> marked = {15, 24, 29, 34, 39, 43, 50, 58};
    for (int s = 1; s <= 60; ++s) {
        const QString text = Resource::StatementText(s);
        QVERIFY2(text.startsWith(QString::number(s) + QStringLiteral(". ")), qPrintable(text));
        QVERIFY2(!text.contains(u'\n') && !text.contains(u'\r'), qPrintable(text));
        QCOMPARE(text.endsWith(QStringLiteral(" (*).")), marked.contains(s));
        QVERIFY(text.endsWith(u'.'));
    }
}

void TestResource::descriptionBlocks_data()
{
    QTest::addColumn<int>("firstLine");
    QTest::addColumn<QString>("heading");
    QTest::newRow("trait 1") << 1 << QStringLiteral("Вовлеченность");
    QTest::newRow("index 2") << 7 << QStringLiteral("2. Ориентация на командную работу");
    QTest::newRow("trait 2") << 13 << QStringLiteral("Согласованность");
    QTest::newRow("index 4") << 16 << QStringLiteral("4. Базовые ценности");
    QTest::newRow("index 7") << 28 << QStringLiteral("7. Управление изменениями");
    QTest::newRow("trait 3") << 25 << QStringLiteral("Адаптивность");
    QTest::newRow("index 10") << 40 << QStringLiteral("10. Стратегический фокус");
    QTest::newRow("index 12") << 46 << QStringLiteral("12. Видение");
}

void TestResource::descriptionBlocks()
{
    QFETCH(int, firstLine);
    QFETCH(QString, heading);
    QCOMPARE(Resource::DescriptionLine(firstLine), heading);
    QVERIFY(Resource::DescriptionLine(firstLine + 1).size() > 60); // one paragraph line
    QVERIFY(Resource::DescriptionLine(firstLine + 2).isEmpty());
}

void TestResource::traitDescriptionIsElevenLines()
{
    for (int t = 1; t <= 4; ++t) {
        const QStringList lines = Resource::traitDescription(t);
        QCOMPARE(lines.size(), 11);
        QCOMPARE(lines.first(), Resource::TraitName(t));
        QCOMPARE(lines.last(), Resource::DescriptionLine(12 * t - 1));
    }
}

void TestResource::chartCaption_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::newRow("1") << 1 << QStringLiteral("1. Делегирование полномочий [Вовлеченность]");
    QTest::newRow("7") << 7 << QStringLiteral("7. Проведение изменений [Адаптивность]");
    QTest::newRow("10") << 10 << QStringLiteral("10. Стратегическое направление и намерения [Миссия]");
}

void TestResource::chartCaption()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QCOMPARE(Resource::chartCaption(index), caption);
}

void TestResource::indexStatementsHighestFirst()
{
    const QStringList lines = Resource::indexStatements(12);
    QCOMPARE(lines.size(), 5);
    QVERIFY(lines.first().startsWith(QStringLiteral("60. ")));
    QVERIFY(lines.last().startsWith(QStringLiteral("56. ")));
}

void TestResource::colours()
{
    QCOMPARE(Resource::statementColor(15), QColor(0, 128, 0));
    QCOMPARE(Resource::statementColor(16), QColor(255, 185, 45));
    QCOMPARE(Resource::indexColor(9), QColor(0, 0, 255));
    QCOMPARE(Resource::indexColor(10), QColor(255, 0, 0));
}



void TestResource::cp1251MatchesSystemConverter()
{
    // Qt has a windows-1251 converter only where it was built with ICU; the table must agree with it.
    QStringDecoder icu("windows-1251");
    if (!icu.isValid())
        QSKIP("this Qt has no windows-1251 converter to compare with");
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const QString expected = icu(QByteArrayView(&byte, 1));
        QCOMPARE(QString(QChar(Cp1251::charOf(std::uint8_t(b)))), expected);
    }
}

void TestResource::cp1251RoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = Cp1251::decode(all);
    QVERIFY(Cp1251::canEncode(text));
    QCOMPARE(Cp1251::encode(text), all);
    QCOMPARE(Cp1251::decode("\xC0\xFF\xA8\xB8"), QStringLiteral("АяЁё"));
    QVERIFY(!Cp1251::canEncode(QStringLiteral("\uFFFD")));
    QCOMPARE(Cp1251::encode(QStringLiteral("я☃\U0001F600z")), QByteArray("\xFF??z"));
}

QTEST_APPLESS_MAIN(TestResource)
#include "tst_resource.moc"
