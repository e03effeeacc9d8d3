#include "Group.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

class TestGroup : public QObject
{
    Q_OBJECT
private slots:
    void oneMember();
    void twoMembersAverage();
    void copiedFileCountsTwice();
    void membersInFileNameOrder();
    void hiddenAndCapitalisedMembers();
    void chosenNameNeedNotExist();
    void failingMemberNamesTheFile_data();
    void failingMemberNamesTheFile();
    void emptyFolder();
    void cancelStopsTheBuild();
    void progressReports_data();
    void progressReports();
};

void TestGroup::oneMember()
{
    QTemporaryDir dir;
    Respondent r;
    r.name = QStringLiteral("Одна");
    writeResultFile(dir.path(), QStringLiteral("a.cry"), r);
    const GroupOutcome outcome = Group::build(dir.path());
    QVERIFY2(outcome.ok(), qPrintable(outcome.error));
    QCOMPARE(outcome.group->memberCount, 1);
    QCOMPARE(outcome.group->indexScores, r.indices);
    QCOMPARE(outcome.group->itemScores, r.items);
    QCOMPARE(outcome.group->hint(), QStringLiteral("Состав группы:\r\nОдна"));
}

void TestGroup::twoMembersAverage()
{
    QTemporaryDir dir;
    Respondent a = Respondent::uniform(3), b = Respondent::uniform(4);
    b.indices[1] = 3.3;
    a.indices[1] = 3.4;
    writeResultFile(dir.path(), QStringLiteral("a.cry"), a);
    writeResultFile(dir.path(), QStringLiteral("b.cry"), b);
    const GroupOutcome outcome = Group::build(dir.path());
    QVERIFY(outcome.ok());
    QCOMPARE(outcome.group->indexScores[0], 3.5);
    QCOMPARE(outcome.group->itemScores[59], 3.5);
    // One addition per member, then one division: (3.4 + 3.3) / 2 as doubles.
    QCOMPARE(outcome.group->indexScores[1], (0.0 + 3.4 + 3.3) / 2);
}

void TestGroup::copiedFileCountsTwice()
{
    QTemporaryDir dir;
    Respondent a = Respondent::uniform(2), b = Respondent::uniform(5);
    a.name = QStringLiteral("Анна");
    b.name = QStringLiteral("Борис");
    const QString first = writeResultFile(dir.path(), QStringLiteral("a.cry"), a);
    writeResultFile(dir.path(), QStringLiteral("b.cry"), b);
    QVERIFY(QFile::copy(first, dir.filePath(QStringLiteral("c.cry"))));
    const GroupOutcome outcome = Group::build(dir.path());
    QVERIFY(outcome.ok());
    QCOMPARE(outcome.group->memberCount, 3);
    QCOMPARE(outcome.group->indexScores[0], 3.0);
    QCOMPARE(outcome.group->memberNames, QStringList({QStringLiteral("Анна"), QStringLiteral("Борис"), QStringLiteral("Анна")}));
}

void TestGroup::membersInFileNameOrder()
{
    QTemporaryDir dir;
    const QStringList files = {QStringLiteral("c.cry"), QStringLiteral("A.cry"), QStringLiteral("b.cry"), QStringLiteral("a1.cry")};
    for (const QString &file : files) {
        Respondent r;
        r.name = file;
        writeResultFile(dir.path(), file, r);
    }
    writeResultFile(dir.path(), QStringLiteral("notes.txt"), Respondent());
    const GroupOutcome outcome = Group::build(dir.path());
    QVERIFY(outcome.ok());
    QCOMPARE(outcome.group->memberNames,
             QStringList({QStringLiteral("A.cry"), QStringLiteral("a1.cry"), QStringLiteral("b.cry"), QStringLiteral("c.cry")}));
}

void TestGroup::hiddenAndCapitalisedMembers()
{
    QTemporaryDir dir;
    writeResultFile(dir.path(), QStringLiteral(".hidden.cry"), Respondent());
    writeResultFile(dir.path(), QStringLiteral("UPPER.CRY"), Respondent());
    QCOMPARE(Group::memberFiles(dir.path()), QStringList({QStringLiteral(".hidden.cry"), QStringLiteral("UPPER.CRY")}));
}

void TestGroup::chosenNameNeedNotExist()
{
    QTemporaryDir dir;
    writeResultFile(dir.path(), QStringLiteral("a.cry"), Respondent());
    const QString folder = Group::folderOf(dir.filePath(QStringLiteral("no such file.txt")));
    QCOMPARE(folder, dir.path() + u'/');
    QCOMPARE(Group::build(folder).group->memberCount, 1);
}

void TestGroup::failingMemberNamesTheFile_data()
{
    QTest::addColumn<QByteArray>("letters"); // empty: b.cry is a folder
    QTest::addColumn<QString>("message");    // followed by the member's path, unless it names it
    QStringList lines = plainLines(Respondent());
    lines[30] = QStringLiteral("abc");
    QTest::newRow("bad score") << storedLetters(lines.join(QStringLiteral("\r\n")))
                               << QStringLiteral("'abc' is not a valid floating point value");
    QTest::newRow("short file") << storedLetters(QStringLiteral("01.01.2001\r\n1\r\nX\r\n"))
                                << QStringLiteral("'' is not a valid floating point value");
    QTest::newRow("folder named like a result file") << QByteArray() << QStringLiteral("Cannot open file");
}

void TestGroup::failingMemberNamesTheFile()
{
    QFETCH(QByteArray, letters);
    QFETCH(QString, message);
    QTemporaryDir dir;
    writeResultFile(dir.path(), QStringLiteral("a.cry"), Respondent());
    const QString bad = dir.filePath(QStringLiteral("b.cry"));
    if (letters.isEmpty())
        QVERIFY(QDir().mkdir(bad));
    else
        writeStoredFile(dir.path(), QStringLiteral("b.cry"), letters);
    writeResultFile(dir.path(), QStringLiteral("c.cry"), Respondent());
    const GroupOutcome outcome = Group::build(dir.path());
    QVERIFY(!outcome.ok());
    const QString path = QDir::toNativeSeparators(bad);
    QCOMPARE(outcome.error, message + (letters.isEmpty() ? u' ' : u'\n') + path); // the path once
}

void TestGroup::emptyFolder()
{
    QTemporaryDir dir;
    const GroupOutcome outcome = Group::build(dir.path());
    QVERIFY(!outcome.ok());
    QVERIFY(!outcome.cancelled);
    QVERIFY(outcome.error.contains(QStringLiteral("нет файлов результатов")));
}

void TestGroup::cancelStopsTheBuild()
{
    QTemporaryDir dir;
    for (int k = 0; k < 5; ++k)
        writeResultFile(dir.path(), QStringLiteral("%1.cry").arg(k), Respondent());
    int calls = 0;
    int reported = 0;
    int reportedTotal = 0;
    const GroupOutcome outcome = Group::build(dir.path(), [&](int done, int total) {
        ++calls;
        reported = done;
        reportedTotal = total;
        return false;
    });
    QCOMPARE(reportedTotal, 5);
    QVERIFY(outcome.cancelled);
    QVERIFY(!outcome.ok());
    QVERIFY(outcome.error.isEmpty());
    QCOMPARE(calls, 1);
    QVERIFY(reported >= 1 && reported <= 5);
}

void TestGroup::progressReports_data()
{
    QTest::addColumn<int>("members");
    QTest::newRow("5 members") << 5;
    QTest::newRow("200 members") << 200;
}

void TestGroup::progressReports()
{
    // At least every 64 members and after the last, so that Cancel is seen at any size.
    QFETCH(int, members);
    QTemporaryDir dir;
    const QByteArray letters = storedLetters(plainText(Respondent()));
    for (int k = 0; k < members; ++k)
        writeStoredFile(dir.path(), QStringLiteral("%1.cry").arg(k, 3, 10, QChar(u'0')), letters);
    QList<int> reports;
    const GroupOutcome outcome = Group::build(dir.path(), [&](int done, int total) {
        reports << done;
        return total == members;
    });
    QVERIFY(outcome.ok());
    QCOMPARE(reports.last(), members);
    for (int k = 0; k < reports.size(); ++k)
        QVERIFY2(reports[k] - (k > 0 ? reports[k - 1] : 0) <= 64, qPrintable(QString::number(reports[k])));
}

QTEST_GUILESS_MAIN(TestGroup)
#include "tst_group.moc"
