#include "ResultFile.h"
#include "TestSupport.h"
#include "UnitPC1.h"

#include <QTemporaryDir>
#include <QRandomGenerator>
#include <QTest>

#include <charconv>
#include <cmath>

using namespace TestSupport;

class TestResultFile : public QObject
{
    Q_OBJECT
private slots:
    void numberGrammar_data();
    void numberGrammar();
    void shortNumbersRoundAsLongOnes();
    void readsAllFields();
    void lineCount_data();
    void lineCount();
    void linesSevenAndTwentyHoldAnything();
    void emptyInformationLines();
    void longLineStaysOneLine();
    void separatorsUnderBothLocales_data();
    void separatorsUnderBothLocales();
    void lineBreaksInStoredText_data();
    void lineBreaksInStoredText();
    void oversizedTextRefused();
    void missingFile();
    void wrongKeyFailsAtFirstScore();
};

void TestResultFile::numberGrammar_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << QStringLiteral("3,40") << true << 3.4;
    QTest::newRow("point") << QStringLiteral("3.40") << true << 3.4;
    QTest::newRow("blanks around") << QStringLiteral("  4,5  ") << true << 4.5;
    QTest::newRow("sign") << QStringLiteral("-2") << true << -2.0;
    QTest::newRow("plus") << QStringLiteral("+2,5") << true << 2.5;
    QTest::newRow("exponent") << QStringLiteral("3,5E0") << true << 3.5;
    QTest::newRow("exponent sign") << QStringLiteral("35e-1") << true << 3.5;
    QTest::newRow("leading separator") << QStringLiteral(",5") << true << 0.5;
    QTest::newRow("trailing separator") << QStringLiteral("5,") << true << 5.0;
    QTest::newRow("empty") << QString() << false << 0.0;
    QTest::newRow("blank only") << QStringLiteral("   ") << false << 0.0;
    QTest::newRow("letter after") << QStringLiteral("3,4a") << false << 0.0;
    QTest::newRow("two separators") << QStringLiteral("3,4,5") << false << 0.0;
    QTest::newRow("thousands") << QStringLiteral("1.234,5") << false << 0.0;
    QTest::newRow("blank inside") << QStringLiteral("3 4") << false << 0.0;
    QTest::newRow("exponent without digits") << QStringLiteral("3e") << false << 0.0;
    QTest::newRow("too large") << QStringLiteral("1e400") << false << 0.0;
    QTest::newRow("tab") << QStringLiteral("\t3") << false << 0.0;
    QTest::newRow("separator only") << QStringLiteral(",") << false << 0.0;
}

void TestResultFile::numberGrammar()
{
    QFETCH(QString, line);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const auto parsed = ResultFile::parseNumber(line);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestResultFile::shortNumbersRoundAsLongOnes()
{
    // Lines of up to fifteen digits take a quicker way to their double; it must give the very double
    // the full conversion gives, for every such decimal.
    QRandomGenerator random(11);
    for (int n = 0; n < 20000; ++n) {
        const int digits = 1 + int(random.bounded(15));
        const int decimals = int(random.bounded(digits + 1));
        QByteArray text;
        for (int d = 0; d < digits; ++d)
            text += char('0' + random.bounded(10));
        if (decimals > 0)
            text.insert(digits - decimals, ',');
        if (random.bounded(4) == 0)
            text.prepend('-');
        double expected = 0.0;
        QByteArray standard = text;
        standard.replace(',', '.');
        std::from_chars(standard.constBegin(), standard.constEnd(), expected);
        const auto parsed = ResultFile::parseNumber(QString::fromLatin1(text));
        QVERIFY(parsed);
        QVERIFY2(*parsed == expected && std::signbit(*parsed) == std::signbit(expected), text.constData());
    }
}

void TestResultFile::readsAllFields()
{
    Respondent r;
    r.items[59] = 4.25;
    const auto outcome = ResultFile::parseStoredText(storedLetters(plainText(r)), QStringLiteral("x.cry"));
    QVERIFY2(outcome.ok(), qPrintable(outcome.message()));
    const ResultRecord rec = outcome->decoded();
    QCOMPARE(rec.header.date, QStringLiteral("01.02.2003"));
    QCOMPARE(rec.header.code, QStringLiteral("0042"));
    QCOMPARE(rec.header.name, QStringLiteral("Тест"));
    QCOMPARE(rec.header.infoText(), QStringLiteral("Отдел\r\nДолжность\r\nСтаж\r\n"));
    QCOMPARE(rec.indexScores[0], 3.2);
    QCOMPARE(rec.indexScores[11], 2.5);
    QCOMPARE(rec.itemScores[59], 4.25);
}

void TestResultFile::lineCount_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("finalBreak");
    QTest::addColumn<QString>("error");
    QTest::newRow("81 with break") << 81 << true << QString();
    QTest::newRow("81 without break") << 81 << false << QString();
    QTest::newRow("90 lines") << 90 << true << QString();
    QTest::newRow("80 lines") << 80 << true << QStringLiteral("'' is not a valid floating point value");
    QTest::newRow("20 lines") << 20 << false << QStringLiteral("'' is not a valid floating point value");
}

void TestResultFile::lineCount()
{
    QFETCH(int, lines);
    QFETCH(bool, finalBreak);
    QFETCH(QString, error);
    QStringList text = plainLines(Respondent());
    while (text.size() < lines)
        text << QStringLiteral("extra %1").arg(text.size());
    text = text.mid(0, lines);
    const QString plain = text.join(QStringLiteral("\r\n")) + (finalBreak ? QStringLiteral("\r\n") : QString());
    const auto outcome = ResultFile::parsePlainText(plain);
    QCOMPARE(outcome.ok(), error.isEmpty());
    QCOMPARE(outcome.message().section(u'\n', 0, 0), error);
}

void TestResultFile::linesSevenAndTwentyHoldAnything()
{
    QStringList lines = plainLines(Respondent());
    lines[7] = QStringLiteral("9,99");
    lines[20] = QStringLiteral("не число");
    const auto outcome = ResultFile::parsePlainText(lines.join(QStringLiteral("\r\n")));
    QVERIFY(outcome.ok());
    QCOMPARE(outcome->indexScores, Respondent().indices);
}

void TestResultFile::emptyInformationLines()
{
    Respondent r;
    r.info = {QString(), QString(), QString(), QString()};
    const auto outcome = ResultFile::parsePlainText(plainText(r));
    QVERIFY(outcome.ok());
    QCOMPARE(outcome->header.infoText(), QStringLiteral("\r\n\r\n\r\n"));
}

void TestResultFile::longLineStaysOneLine()
{
    Respondent r;
    r.name = QString(5000, u'Я');
    const auto outcome = ResultFile::parsePlainText(plainText(r));
    QVERIFY(outcome.ok());
    QCOMPARE(outcome->header.name.size(), 5000);
    QCOMPARE(outcome->indexScores[0], 3.2);
}

void TestResultFile::separatorsUnderBothLocales_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QChar>("separator");
    QTest::newRow("comma under Russian") << QStringLiteral("ru_RU") << QChar(u',');
    QTest::newRow("point under Russian") << QStringLiteral("ru_RU") << QChar(u'.');
    QTest::newRow("comma under English") << QStringLiteral("en_US") << QChar(u',');
    QTest::newRow("point under English") << QStringLiteral("en_US") << QChar(u'.');
}

void TestResultFile::separatorsUnderBothLocales()
{
    QFETCH(QString, locale);
    QFETCH(QChar, separator);
    const QLocale saved;
    QLocale::setDefault(QLocale(locale));
    Respondent r;
    r.separator = separator;
    const auto outcome = ResultFile::parsePlainText(plainText(r));
    QLocale::setDefault(saved);
    QVERIFY2(outcome.ok(), qPrintable(outcome.message()));
    QCOMPARE(outcome->indexScores[0], 3.2);
}

void TestResultFile::lineBreaksInStoredText_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("final line break") << QStringLiteral("final");
    QTest::newRow("wrapped at 76") << QStringLiteral("wrap");
    QTest::newRow("bare LF wrapping") << QStringLiteral("lf");
}

void TestResultFile::lineBreaksInStoredText()
{
    QFETCH(QString, how);
    const Respondent r;
    QByteArray letters = storedLetters(plainText(r));
    if (how == QLatin1String("final")) {
        letters += "\r\n";
    } else {
        QByteArray wrapped;
        for (qsizetype k = 0; k < letters.size(); k += 76)
            wrapped += letters.mid(k, 76) + (how == QLatin1String("wrap") ? "\r\n" : "\n");
        letters = wrapped;
    }
    const auto outcome = ResultFile::parseStoredText(letters, QStringLiteral("wrapped.cry"));
    QVERIFY2(outcome.ok(), qPrintable(outcome.message()));
    QCOMPARE(outcome->decoded().header.name, r.name);
    QCOMPARE(outcome->itemScores, r.items);
}

void TestResultFile::oversizedTextRefused()
{
    const QByteArray letters(UnitPC1::MaxStoredTextLength + 1, 'a');
    const auto outcome = ResultFile::parseStoredText(letters, QStringLiteral("/data/huge.cry"));
    QVERIFY(!outcome.ok());
    QVERIFY2(outcome.message().contains(QStringLiteral("huge.cry")), qPrintable(outcome.message()));
    // The message names the limit, not the size found.
    QVERIFY2(outcome.message().contains(QString::number(UnitPC1::MaxStoredTextLength)), qPrintable(outcome.message()));
    QVERIFY(!outcome.message().contains(QString::number(UnitPC1::MaxStoredTextLength + 1)));
    // Exactly the largest text is still read (and fails only on its content).
    const auto largest = ResultFile::parseStoredText(QByteArray(UnitPC1::MaxStoredTextLength, 'a'), QStringLiteral("x"));
    QVERIFY(largest.message().contains(QStringLiteral("not a valid floating point value")));
}

void TestResultFile::missingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("absent.cry"));
    const auto outcome = ResultFile::readFile(path);
    QVERIFY(!outcome.ok());
    QCOMPARE(outcome.message().section(u'\n', 0, 0), QStringLiteral("Cannot open file ") + QDir::toNativeSeparators(path));
}

void TestResultFile::wrongKeyFailsAtFirstScore()
{
    const QByteArray letters = UnitPC1::EncipherText("another key 1234", ResultFile::keyBytes() + "\r\n");
    const auto outcome = ResultFile::parseStoredText(letters, QStringLiteral("x"));
    QVERIFY(!outcome.ok());
    QVERIFY(outcome.message().section(u'\n', 0, 0).endsWith(QStringLiteral("' is not a valid floating point value")));
}

QTEST_GUILESS_MAIN(TestResultFile)
#include "tst_resultfile.moc"
