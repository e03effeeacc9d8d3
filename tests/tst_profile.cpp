// The profile as data: the member table gives back every score and text exactly as appended.

#include "MemberTable.h"
#include "Profile.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestProfile : public QObject
{
    Q_OBJECT
private slots:
    void scoresComeBackExactly_data();
    void scoresComeBackExactly();
    void textsComeBackExactly_data();
    void textsComeBackExactly();
    void manyMembersStayCompact();
    void questionnairesInRussian_data();
    void questionnairesInRussian();
};

void TestProfile::scoresComeBackExactly_data()
{
    QTest::addColumn<double>("score");
    QTest::newRow("two decimals") << 3.4;
    QTest::newRow("a third") << 1.0 / 3.0;
    QTest::newRow("negative") << -2.75;
    QTest::newRow("far off the scale") << 1e300;
    QTest::newRow("beyond hundredths' range") << 400.0;
    // The last hundredths that allScores takes from its worked-out quotients, and the first after them.
    QTest::newRow("10.23") << 10.23;
    QTest::newRow("10.24") << 10.24;
    QTest::newRow("negative zero") << -0.0;
    QTest::newRow("smallest above zero") << std::numeric_limits<double>::denorm_min();
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
}

void TestProfile::scoresComeBackExactly()
{
    QFETCH(double, score);
    MemberTable table;
    IndexScores indices;
    indices.fill(2.5);
    ItemScores items;
    items.fill(score);
    indices[11] = score;
    table.append(QStringLiteral("a.cry"), RespondentHeader(), indices, items);
    table.append(QStringLiteral("b.cry"), RespondentHeader(), indices, items);
    for (qsizetype member : {0, 1}) {
        QCOMPARE(table.index(member, 1), 2.5);
        QCOMPARE(std::signbit(table.index(member, 12)), std::signbit(score));
        QCOMPARE(table.index(member, 12), score);
        QCOMPARE(table.statement(member, 60), score);
        QCOMPARE(table.itemScores(member), items);
        QCOMPARE(table.indexScores(member), indices);
        QCOMPARE(std::signbit(table.indexScores(member)[11]), std::signbit(score));
    }
}

void TestProfile::textsComeBackExactly_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("Cyrillic") << QStringLiteral("Иванова Марина Сергеевна");
    QTest::newRow("outside windows-1251") << QStringLiteral("Łukasz 😀 ☃");
    QTest::newRow("empty") << QString();
    QTest::newRow("longer than a block") << QString(300000, u'Ж');
    QTest::newRow("control characters") << QStringLiteral("a\tb\u0001c");
}

void TestProfile::textsComeBackExactly()
{
    QFETCH(QString, text);
    MemberTable table;
    RespondentHeader header;
    header.name = text;
    header.code = QStringLiteral("0101");
    header.info[3] = text;
    table.append(QStringLiteral("x.cry"), RespondentHeader(), {}, {});
    table.append(text + QStringLiteral(".cry"), header, {}, {});
    table.append(QStringLiteral("y.cry"), RespondentHeader(), {}, {});
    QCOMPARE(table.name(1), text);
    QCOMPARE(table.info(1, 4), text);
    QCOMPARE(table.file(1), text + QStringLiteral(".cry"));
    QCOMPARE(table.header(1).code, QStringLiteral("0101"));
    QCOMPARE(table.file(2), QStringLiteral("y.cry"));
    // The raw lines of a result file keep their own bytes.
    std::array<QByteArrayView, 7> lines{"01.01.2020", "7", "\xC8\xE2\xE0\xED", "", "", "", "\xFF"};
    table.appendRaw(QStringLiteral("z.cry"), lines, {}, {});
    QCOMPARE(table.name(3), QStringLiteral("Иван"));
    QCOMPARE(table.info(3, 4), QStringLiteral("я"));
}

void TestProfile::manyMembersStayCompact()
{
    // A member with two-decimal scores and short texts takes a few hundred bytes, not the 600 of
    // its doubles alone.
    MemberTable table;
    RespondentHeader header;
    header.name = QStringLiteral("Респондент 12345");
    header.info = {QStringLiteral("Отдел"), QStringLiteral("Должность"), QStringLiteral("Стаж"), QString()};
    IndexScores indices;
    indices.fill(3.4);
    ItemScores items;
    items.fill(4.0);
    const int members = 10000;
    table.reserve(members);
    for (int k = 0; k < members; ++k)
        table.append(QStringLiteral("m%1.cry").arg(k), header, indices, items);
    QVERIFY2(table.bytesUsed() / members < 300, qPrintable(QString::number(table.bytesUsed() / members)));
    QCOMPARE(table.statement(members - 1, 60), 4.0);
}

void TestProfile::questionnairesInRussian_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << QStringLiteral("1 анкета");
    QTest::newRow("3") << 3 << QStringLiteral("3 анкеты");
    QTest::newRow("5") << 5 << QStringLiteral("5 анкет");
    QTest::newRow("0") << 0 << QStringLiteral("0 анкет");
    QTest::newRow("11 to 14 take the plural") << 11 << QStringLiteral("11 анкет");
    QTest::newRow("12") << 12 << QStringLiteral("12 анкет");
    QTest::newRow("21") << 21 << QStringLiteral("21 анкета");
    QTest::newRow("22") << 22 << QStringLiteral("22 анкеты");
    QTest::newRow("111") << 111 << QStringLiteral("111 анкет");
    QTest::newRow("1001") << 1001 << QStringLiteral("1001 анкета");
}

void TestProfile::questionnairesInRussian()
{
    QFETCH(int, count);
    QFETCH(QString, text);
    QCOMPARE(ProfileText::questionnaires(count), text);
}

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
