// A folder as a group: its members, the loader, and the group's arithmetic (mean, segments, spread).

#include "GroupArithmetic.h"
#include "ProfileLoader.h"
#include "ResultFolder.h"
#include "SegmentsTable.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <bit>
#include <cmath>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace TestSupport;

namespace {

Outcome<ProfileLoader::GroupLoad> load(const QString &folder, const ProfileLoader::Progress &progress = {},
                                       bool leaveOutBad = false)
{
    ProfileLoader::FolderOptions options;
    options.progress = progress;
    options.leaveOutBad = leaveOutBad;
    return ProfileLoader::loadFolder(folder, options);
}

QStringList memberNames(const Profile &profile)
{
    QStringList names;
    for (qsizetype k = 0; k < profile.respondentCount(); ++k)
        names << profile.members->name(k);
    return names;
}

QStringList entryNames(const QString &folder)
{
    QStringList names;
    for (const FolderEntry &entry : ResultFolder::members(folder).entries)
        names << entry.name;
    return names;
}

// The same doubles, bit for bit (a NaN as the same NaN).
bool sameBits(const double *a, const double *b, std::size_t count)
{
    for (std::size_t k = 0; k < count; ++k)
        if (std::bit_cast<quint64>(a[k]) != std::bit_cast<quint64>(b[k]))
            return false;
    return true;
}

bool sameSummary(const GroupArithmetic::Summary &a, const GroupArithmetic::Summary &b)
{
    const double x[] = {a.mean, a.deviation, a.minimum, a.maximum};
    const double y[] = {b.mean, b.deviation, b.minimum, b.maximum};
    return a.n == b.n && sameBits(x, y, 4);
}

bool sameSpread(const GroupArithmetic::Spread &a, const GroupArithmetic::Spread &b)
{
    for (std::size_t i = 0; i < a.indices.size(); ++i)
        if (!sameSummary(a.indices[i], b.indices[i]))
            return false;
    for (std::size_t t = 0; t < a.traits.size(); ++t)
        if (!sameSummary(a.traits[t], b.traits[t]))
            return false;
    for (std::size_t s = 0; s < a.items.size(); ++s)
        if (!sameSummary(a.items[s], b.items[s]) || a.items[s].answers != b.items[s].answers)
            return false;
    return true;
}

// The first line of a message: the described text, before the line that names file and line.
QString firstLine(const QString &message) { return message.section(u'\n', 0, 0); }

// The repeats found, as "left out=kept" ("==" where it is the very same file) and "code:a,b".
QStringList repeatNames(const GroupRepeats::Found &found)
{
    QStringList names;
    for (const GroupRepeats::Repeat &repeat : found.repeats)
        names << repeat.file + (repeat.sameFile ? QStringLiteral("==") : QStringLiteral("=")) + repeat.keptAs;
    for (const GroupRepeats::SameCode &same : found.sameCode)
        names << QStringLiteral("code:") + same.files.join(u',');
    return names;
}

} // namespace

class TestGroup : public QObject
{
    Q_OBJECT
private slots:
    void oneMember();
    void twoMembersAverage();
    void repeatedRespondentCountsOnce_data();
    void repeatedRespondentCountsOnce();
    void foldersJoinedCountEveryoneOnce_data();
    void foldersJoinedCountEveryoneOnce();
    void membersInFileNameOrder();
    void largeGroupsReadInOrder_data();
    void largeGroupsReadInOrder();
    void hiddenAndCapitalisedMembers();
    void chosenNameNeedNotExist();
    void failingMemberNamesTheFile_data();
    void failingMemberNamesTheFile();
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();
    void namesInOtherCodePages();
    void badMembersLeftOut();
    void emptyFolder();
    void cancelStopsTheBuild();
    void progressReports_data();
    void progressReports();
    void departmentsInSubfolders();
    void hostileFolders_data();
    void hostileFolders();
    void segments_data();
    void segments();
    void lookAlikeSegments_data();
    void lookAlikeSegments();
    void spread();
    void meanIsTheNearestDouble_data();
    void meanIsTheNearestDouble();
    void segmentsMeasuredInOnePass_data();
    void segmentsMeasuredInOnePass();
};

void TestGroup::oneMember()
{
    QTemporaryDir dir;
    Respondent r;
    r.name = QStringLiteral("Одна");
    writeResultFile(dir.path(), QStringLiteral("a.cry"), r);
    const auto outcome = load(dir.path());
    QVERIFY2(outcome.ok(), qPrintable(outcome.message()));
    const Profile &group = outcome->profile;
    QVERIFY(group.group);
    QCOMPARE(group.respondentCount(), 1);
    QCOMPARE(group.scores.IndexScores, r.indices);
    QCOMPARE(group.scores.ItemScores, r.items);
    QCOMPARE(group.hint(), QStringLiteral("Состав группы:\r\nОдна"));
    QCOMPARE(group.header.code, QStringLiteral("0000"));
    QCOMPARE(group.header.name, QStringLiteral("Группа"));
    QCOMPARE(group.header.date, QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
}

void TestGroup::twoMembersAverage()
{
    QTemporaryDir dir;
    Respondent a = Respondent::uniform(3), b = Respondent::uniform(4);
    b.indices[1] = 3.3;
    a.indices[1] = 3.4;
    writeResultFile(dir.path(), QStringLiteral("a.cry"), a);
    writeResultFile(dir.path(), QStringLiteral("b.cry"), b);
    const auto outcome = load(dir.path());
    QVERIFY(outcome.ok());
    QCOMPARE(outcome->profile.scores.IndexScores[0], 3.5);
    QCOMPARE(outcome->profile.scores.ItemScores[59], 3.5);
    // One addition per member, then one division: (3.4 + 3.3) / 2 as doubles.
    QCOMPARE(outcome->profile.scores.IndexScores[1], (0.0 + 3.4 + 3.3) / 2);
}

void TestGroup::repeatedRespondentCountsOnce_data()
{
    // a.cry (Анна, code 1, all 2) and b.cry (Борис, code 2, all 5), then c.cry made as named.
    QTest::addColumn<QString>("third");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("index1");
    QTest::addColumn<QStringList>("named"); // "left out=kept" ("==" the same file), "code:files"
    QTest::newRow("a copy under another name") << QStringLiteral("copy") << 2 << 3.5 << QStringList{QStringLiteral("c.cry=a.cry")};
    // An import's numbered copy sorts before the original: the shorter name stays all the same.
    QTest::newRow("a numbered copy") << QStringLiteral("copy:a (2).cry") << 2 << 3.5 << QStringList{QStringLiteral("a (2).cry=a.cry")};
#ifdef Q_OS_UNIX
    QTest::newRow("a link to a member") << QStringLiteral("link") << 2 << 3.5 << QStringList{QStringLiteral("c.cry==a.cry")};
#endif
    // One respondent who answered twice, or two who share a code: both count, and are named.
    QTest::newRow("the same code, other answers") << QStringLiteral("changed") << 3 << 3.0
                                                  << QStringList{QStringLiteral("code:a.cry,c.cry")};
    // The same answers under another code are another respondent.
    QTest::newRow("the same answers, other code") << QStringLiteral("recoded") << 3 << 3.0 << QStringList();
}

void TestGroup::repeatedRespondentCountsOnce()
{
    QFETCH(QString, third);
    QFETCH(int, count);
    QFETCH(double, index1);
    QFETCH(QStringList, named);
    QTemporaryDir dir;
    Respondent a = Respondent::uniform(2), b = Respondent::uniform(5);
    a.name = QStringLiteral("Анна");
    a.code = QStringLiteral("1");
    b.name = QStringLiteral("Борис");
    b.code = QStringLiteral("2");
    const QString first = writeResultFile(dir.path(), QStringLiteral("a.cry"), a);
    writeResultFile(dir.path(), QStringLiteral("b.cry"), b);
    const QString path = dir.filePath(third.startsWith(QLatin1String("copy:")) ? third.mid(5) : QStringLiteral("c.cry"));
    if (third.startsWith(QLatin1String("copy"))) {
        QVERIFY(QFile::copy(first, path));
    } else if (third == QLatin1String("link")) {
        QVERIFY(QFile::link(first, path));
    } else {
        Respondent c = Respondent::uniform(2);
        c.name = a.name;
        c.code = third == QLatin1String("changed") ? a.code : QStringLiteral("3");
        if (third == QLatin1String("changed"))
            c.items[7] = 4;
        writeResultFile(dir.path(), QStringLiteral("c.cry"), c);
    }
    const auto outcome = load(dir.path());
    QVERIFY2(outcome.ok(), qPrintable(outcome.message()));
    QCOMPARE(outcome->profile.respondentCount(), count);
    QCOMPARE(outcome->profile.scores.IndexScores[0], index1);
    QCOMPARE(repeatNames(outcome->repeats), named);
    QCOMPARE(GroupRepeats::message(outcome->repeats).isEmpty(), named.isEmpty());
}

void TestGroup::foldersJoinedCountEveryoneOnce_data()
{
    // A folder of two departments, each with two members; the folders named as a command line names them.
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("repeats");
    QTest::newRow("two departments") << QStringList{QStringLiteral("firm/Отдел 1"), QStringLiteral("firm/Отдел 2")} << 4 << 0;
    QTest::newRow("the same folder twice") << QStringList{QStringLiteral("firm"), QStringLiteral("firm/")} << 4 << 4;
    QTest::newRow("a folder and its department") << QStringList{QStringLiteral("firm"), QStringLiteral("firm/Отдел 1")} << 4 << 2;
    QTest::newRow("through another path") << QStringList{QStringLiteral("firm/Отдел 1"), QStringLiteral("firm/Отдел 2/../Отдел 1")} << 2 << 2;
}

void TestGroup::foldersJoinedCountEveryoneOnce()
{
    QFETCH(QStringList, folders);
    QFETCH(int, count);
    QFETCH(int, repeats);
    QTemporaryDir dir;
    for (int k = 0; k < 4; ++k) {
        Respondent r = Respondent::uniform(1 + k);
        r.code = QString::number(k);
        const QString department = dir.filePath(QStringLiteral("firm/Отдел %1").arg(1 + k / 2));
        QVERIFY(QDir().mkpath(department));
        writeResultFile(department, QStringLiteral("m%1.cry").arg(k), r);
    }
    QList<ProfileLoader::GroupPart> parts;
    for (const QString &folder : folders) {
        auto loaded = load(dir.filePath(folder));
        QVERIFY2(loaded.ok(), qPrintable(loaded.message()));
        parts.append({std::move(loaded).value(), folder});
    }
    const ProfileLoader::GroupLoad joined = ProfileLoader::joinGroups(parts, dir.path() + u'/');
    QCOMPARE(joined.profile.respondentCount(), count);
    QCOMPARE(joined.repeats.repeats.size(), repeats);
    for (const GroupRepeats::Repeat &repeat : joined.repeats.repeats)
        QVERIFY2(repeat.sameFile, qPrintable(repeat.file));
    QVERIFY(joined.repeats.sameCode.isEmpty());
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
    const auto outcome = load(dir.path());
    QVERIFY(outcome.ok());
    QCOMPARE(memberNames(outcome->profile),
             QStringList({QStringLiteral("A.cry"), QStringLiteral("a1.cry"), QStringLiteral("b.cry"), QStringLiteral("c.cry")}));
}

void TestGroup::largeGroupsReadInOrder_data()
{
    // Members are read ahead of the one added, in chunks that reuse their places once taken: every
    // member must arrive once and in order at any size, and a bad member or a cancel far down the
    // folder must end the build as at its start.
    QTest::addColumn<int>("members");
    QTest::addColumn<int>("bad");      // the position of a member that cannot be read; -1: none
    QTest::addColumn<bool>("leaveOutBad");
    QTest::addColumn<int>("cancelAt"); // members done when Cancel is clicked; -1: never
    QTest::newRow("one chunk short of full") << 63 << -1 << false << -1;
    QTest::newRow("one past a chunk") << 65 << -1 << false << -1;
    QTest::newRow("exactly the read-ahead") << 512 << -1 << false << -1;
    QTest::newRow("one past the read-ahead") << 513 << -1 << false << -1;
    QTest::newRow("several rounds of the read-ahead") << 1700 << -1 << false << -1;
    QTest::newRow("a bad member in the third round ends it") << 1700 << 1100 << false << -1;
    QTest::newRow("a bad member in the third round left out") << 1700 << 1100 << true << -1;
    QTest::newRow("the last member bad, left out") << 1700 << 1699 << true << -1;
    QTest::newRow("cancelled in the second round") << 1700 << -1 << false << 700;
}

void TestGroup::largeGroupsReadInOrder()
{
    QFETCH(int, members);
    QFETCH(int, bad);
    QFETCH(bool, leaveOutBad);
    QFETCH(int, cancelAt);
    QTemporaryDir dir;
    const auto nameOf = [](int k) { return QStringLiteral("%1.cry").arg(k, 4, 10, QChar(u'0')); };
    for (int k = 0; k < members; ++k) {
        Respondent r;
        r.code = QString::number(k);
        r.indices[0] = 1 + k % 400 / 100.0;
        if (k == bad)
            writeStoredFile(dir.path(), nameOf(k), "not letters at all");
        else
            writeResultFile(dir.path(), nameOf(k), r);
    }
    const auto outcome = load(
        dir.path(), [&](qsizetype done, qsizetype) { return cancelAt < 0 || done < cancelAt; }, leaveOutBad);
    if (cancelAt >= 0) {
        QVERIFY(outcome.cancelled());
        return;
    }
    if (bad >= 0 && !leaveOutBad) {
        QVERIFY(!outcome.ok());
        QVERIFY2(outcome.message().contains(nameOf(bad)), qPrintable(outcome.message()));
        return;
    }
    QVERIFY2(outcome.ok(), qPrintable(outcome.message()));
    const MemberTable &table = *outcome->profile.members;
    QCOMPARE(table.size(), qsizetype(bad >= 0 ? members - 1 : members));
    QCOMPARE(outcome->leftOut.size(), bad >= 0 ? 1 : 0);
    for (qsizetype m = 0, k = 0; m < table.size(); ++m, ++k) {
        k += k == bad ? 1 : 0;
        QCOMPARE(table.file(m), nameOf(int(k)));
        QCOMPARE(table.header(m).code, QString::number(k));
        QCOMPARE(table.indexScores(m)[0], 1 + k % 400 / 100.0);
    }
}

void TestGroup::hiddenAndCapitalisedMembers()
{
    QTemporaryDir dir;
    writeResultFile(dir.path(), QStringLiteral(".hidden.cry"), Respondent());
    writeResultFile(dir.path(), QStringLiteral("UPPER.CRY"), Respondent());
    QCOMPARE(entryNames(dir.path()), QStringList({QStringLiteral(".hidden.cry"), QStringLiteral("UPPER.CRY")}));
}

void TestGroup::chosenNameNeedNotExist()
{
    QTemporaryDir dir;
    writeResultFile(dir.path(), QStringLiteral("a.cry"), Respondent());
    const QString folder = ResultFolder::folderOf(dir.filePath(QStringLiteral("no such file.txt")));
    QCOMPARE(folder, dir.path() + u'/');
    QCOMPARE(load(folder)->profile.respondentCount(), 1);
}

void TestGroup::failingMemberNamesTheFile_data()
{
    QTest::addColumn<QByteArray>("letters"); // empty: b.cry is a folder
    QTest::addColumn<QString>("message");    // the described first line
    QTest::addColumn<QString>("line");       // the plaintext line named on the second line, if any
    QStringList lines = plainLines(Respondent());
    lines[30] = QStringLiteral("abc");
    QTest::newRow("bad score") << storedLetters(lines.join(QStringLiteral("\r\n")))
                               << QStringLiteral("'abc' is not a valid floating point value") << QStringLiteral("31");
    QTest::newRow("short file") << storedLetters(QStringLiteral("01.01.2001\r\n1\r\nX\r\n"))
                                << QStringLiteral("'' is not a valid floating point value") << QStringLiteral("9");
    QTest::newRow("folder named like a result file") << QByteArray() << QStringLiteral("Cannot open file %1") << QString();
}

void TestGroup::failingMemberNamesTheFile()
{
    QFETCH(QByteArray, letters);
    QFETCH(QString, message);
    QFETCH(QString, line);
    QTemporaryDir dir;
    writeResultFile(dir.path(), QStringLiteral("a.cry"), Respondent());
    const QString bad = dir.filePath(QStringLiteral("b.cry"));
    if (letters.isEmpty())
        QVERIFY(QDir().mkdir(bad));
    else
        writeStoredFile(dir.path(), QStringLiteral("b.cry"), letters);
    writeResultFile(dir.path(), QStringLiteral("c.cry"), Respondent());
    const auto outcome = load(dir.path());
    QVERIFY(!outcome.ok());
    const QString path = QDir::toNativeSeparators(bad);
    QCOMPARE(firstLine(outcome.message()), message.contains(u'%') ? message.arg(path) : message);
    // The second line names the member, and the line of a score that is not a number.
    const QString second = outcome.message().section(u'\n', 1);
    QVERIFY2(letters.isEmpty() || second.contains(path), qPrintable(outcome.message()));
    QVERIFY2(line.isEmpty() || second.contains(line), qPrintable(outcome.message()));
}

void TestGroup::onlyRegularFilesAreRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << QStringLiteral("fifo");
    QTest::newRow("link to /dev/zero") << QStringLiteral("zero");
    QTest::newRow("link to /dev/null") << QStringLiteral("null");
}

void TestGroup::onlyRegularFilesAreRead()
{
#ifndef Q_OS_UNIX
    QSKIP("FIFOs and device links are a Unix matter");
#else
    // A FIFO would block a read for ever, /dev/zero never end: neither is read, each stops the group
    // as a file that cannot be opened.
    QFETCH(QString, kind);
    QTemporaryDir dir;
    writeResultFile(dir.path(), QStringLiteral("a.cry"), Respondent());
    const QString odd = dir.filePath(QStringLiteral("x.cry"));
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(odd).constData(), 0600), 0);
    else
        QVERIFY(QFile::link(QStringLiteral("/dev/") + kind, odd));
    const auto outcome = load(dir.path());
    QVERIFY(!outcome.ok());
    QCOMPARE(firstLine(outcome.message()), QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(odd)));
    // Left out on request, the rest is the group.
    const auto without = load(dir.path(), {}, true);
    QVERIFY(without.ok());
    QCOMPARE(without->profile.respondentCount(), 1);
    QCOMPARE(without->leftOut.size(), 1);
    QCOMPARE(without->leftOut.first().file, QStringLiteral("x.cry"));
#endif
}

void TestGroup::namesInOtherCodePages()
{
#ifndef Q_OS_UNIX
    QSKIP("Windows names are always Unicode");
#else
    // An archive made on Windows and unpacked on Linux leaves names in windows-1251 or cp866 bytes,
    // which are not UTF-8: every such file is still a member, shown readably.
    QTemporaryDir dir;
    const QByteArray base = QFile::encodeName(dir.path()) + '/';
    const QByteArray names[] = {QByteArray("\xCF\xE5\xF2\xF0\xEE\xE2.cry"),  // "Петров" in windows-1251
                                QByteArray("\x8F\xa5\xe2\xe0\xae\xa2\xa0.cry"), // "Петрова" in cp866
                                QByteArray("utf8.cry")};
    for (const QByteArray &name : names) {
        Respondent r; // three respondents, each counted
        r.code = QString::fromLatin1(name.toHex());
        const QByteArray letters = storedLetters(plainText(r));
        FILE *file = std::fopen((base + name).constData(), "wb");
        QVERIFY(file);
        std::fwrite(letters.constData(), 1, std::size_t(letters.size()), file);
        std::fclose(file);
    }
    const QStringList listed = entryNames(dir.path());
    const auto outcome = load(dir.path());
    // Qt's own removal of the folder would pass over these names.
    for (const QByteArray &name : names)
        ::unlink((base + name).constData());
    QCOMPARE(listed, QStringList({QStringLiteral("utf8.cry"), QStringLiteral("Петров.cry"), QStringLiteral("Петрова.cry")}));
    QVERIFY2(outcome.ok(), qPrintable(outcome.message()));
    QCOMPARE(outcome->profile.respondentCount(), 3);
    QCOMPARE(outcome->profile.members->file(1), QStringLiteral("Петров.cry"));
#endif
}

void TestGroup::badMembersLeftOut()
{
    QTemporaryDir dir;
    Respondent good = Respondent::uniform(4);
    writeResultFile(dir.path(), QStringLiteral("a.cry"), good);
    writeStoredFile(dir.path(), QStringLiteral("b.cry"), "not letters at all");
    writeResultFile(dir.path(), QStringLiteral("c.cry"), Respondent::uniform(2));
    const auto outcome = load(dir.path(), {}, true);
    QVERIFY(outcome.ok());
    QCOMPARE(outcome->profile.respondentCount(), 2);
    QCOMPARE(outcome->profile.scores.IndexScores[0], 3.0);
    QCOMPARE(outcome->leftOut.size(), 1);
    QCOMPARE(outcome->leftOut.first().file, QStringLiteral("b.cry"));
    QVERIFY(outcome->leftOut.first().message.endsWith(QStringLiteral("is not a valid floating point value"))
            || outcome->leftOut.first().message.contains(QStringLiteral("floating point value")));
    // When no member can be read there is no group, whatever is left out.
    QTemporaryDir bad;
    writeStoredFile(bad.path(), QStringLiteral("x.cry"), "zz");
    const auto none = load(bad.path(), {}, true);
    QVERIFY(!none.ok());
    QVERIFY(none.message().contains(QStringLiteral("floating point value")));
    QVERIFY(none.message().contains(QStringLiteral("x.cry"))); // each member named, also where its first line does not
}

void TestGroup::emptyFolder()
{
    QTemporaryDir dir;
    const auto outcome = load(dir.path());
    QVERIFY(!outcome.ok());
    QVERIFY(!outcome.cancelled());
    QCOMPARE(outcome.message(), ResultFolder::emptyFolderMessage(dir.path()));
}

void TestGroup::cancelStopsTheBuild()
{
    QTemporaryDir dir;
    for (int k = 0; k < 5; ++k)
        writeResultFile(dir.path(), QStringLiteral("%1.cry").arg(k), Respondent());
    int calls = 0;
    qsizetype reported = 0;
    qsizetype reportedTotal = 0;
    const auto outcome = load(dir.path(), [&](qsizetype done, qsizetype total) {
        ++calls;
        reported = done;
        reportedTotal = total;
        return false;
    });
    QCOMPARE(reportedTotal, 5);
    QVERIFY(outcome.cancelled());
    QVERIFY(!outcome.ok());
    QVERIFY(outcome.message().isEmpty());
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
    QList<qsizetype> reports;
    const auto outcome = load(dir.path(), [&](qsizetype done, qsizetype total) {
        reports << done;
        return total == members;
    });
    QVERIFY(outcome.ok());
    QCOMPARE(reports.last(), members);
    for (int k = 0; k < reports.size(); ++k)
        QVERIFY2(reports[k] - (k > 0 ? reports[k - 1] : 0) <= 64, qPrintable(QString::number(reports[k])));
}

void TestGroup::departmentsInSubfolders()
{
    // A folder with no result file of its own whose sub-folders hold them is a group of departments.
    QTemporaryDir dir;
    QDir root(dir.path());
    root.mkpath(QStringLiteral("Продажи"));
    root.mkpath(QStringLiteral("Склад"));
    root.mkpath(QStringLiteral("Пусто"));
    writeResultFile(root.filePath(QStringLiteral("Склад")), QStringLiteral("b.cry"), Respondent::uniform(2));
    writeResultFile(root.filePath(QStringLiteral("Продажи")), QStringLiteral("a.cry"), Respondent::uniform(4));
    writeResultFile(root.filePath(QStringLiteral("Продажи")), QStringLiteral("c.cry"), Respondent::uniform(5));
    // What an import cut short leaves behind is no department.
    root.mkpath(QStringLiteral(".Склад.import-x1Y2"));
    writeResultFile(root.filePath(QStringLiteral(".Склад.import-x1Y2")), QStringLiteral("d.cry"), Respondent::uniform(1));
    QCOMPARE(entryNames(dir.path()),
             QStringList({QStringLiteral("Продажи/a.cry"), QStringLiteral("Продажи/c.cry"), QStringLiteral("Склад/b.cry")}));
    const auto outcome = load(dir.path());
    QVERIFY(outcome.ok());
    QCOMPARE(outcome->profile.scores.IndexScores[0], (0.0 + 4 + 5 + 2) / 3);
    const QList<GroupArithmetic::Segment> segments = GroupArithmetic::split(*outcome->profile.members, GroupArithmetic::SplitBy::Folder);
    QCOMPARE(segments.size(), 2);
    QCOMPARE(segments[0].name, QStringLiteral("Продажи"));
    QCOMPARE(segments[0].members, QList<qsizetype>({0, 1}));
    QCOMPARE(segments[1].name, QStringLiteral("Склад"));
    // A folder with result files of its own keeps to them.
    writeResultFile(dir.path(), QStringLiteral("own.cry"), Respondent());
    QCOMPARE(entryNames(dir.path()), QStringList({QStringLiteral("own.cry")}));
}

void TestGroup::hostileFolders_data()
{
    // The group's folder holds the entries listed: "a/b.cry" a result file, "loop:x" a link to
    // itself (it cannot be followed, as by anyone), "up:x" a link to the group's folder, "locked:x"
    // a folder nobody may list (not for root, who may list anything).
    QTest::addColumn<QStringList>("layout");
    QTest::addColumn<bool>("leaveOutBad");
    QTest::addColumn<QStringList>("members");     // empty: the load fails
    QTest::addColumn<QStringList>("departments"); // or the failure's words
    QTest::addColumn<QStringList>("leftOut");
    QTest::newRow("departments nest")
        << QStringList{"Отдел 1/a.cry", "Отдел 1/Группа А/b.cry", "Отдел 1/Группа А/Звено/c.cry", "Отдел 2/d.cry"} << false
        << QStringList{"Отдел 1/a.cry", "Отдел 1/Группа А/b.cry", "Отдел 1/Группа А/Звено/c.cry", "Отдел 2/d.cry"}
        << QStringList{"Отдел 1", "Отдел 2"} << QStringList{};
    QTest::newRow("files two levels down only")
        << QStringList{"deptA/team1/x.cry", "deptA/team1/y.cry", "deptB/z.cry"} << false
        << QStringList{"deptA/team1/x.cry", "deptA/team1/y.cry", "deptB/z.cry"} << QStringList{"deptA", "deptB"} << QStringList{};
    QTest::newRow("a link back up the tree is read once")
        << QStringList{"Отдел 1/a.cry", "up:Отдел 1/наверх"} << false << QStringList{"Отдел 1/a.cry"} << QStringList{"Отдел 1"}
        << QStringList{};
#ifdef Q_OS_UNIX
    QTest::newRow("a department that cannot be read ends the build")
        << QStringList{"Отдел 1/a.cry", "loop:Отдел 3"} << false << QStringList{} << QStringList{"Cannot read the folder", "Отдел 3"}
        << QStringList{};
    QTest::newRow("a department that cannot be read, left out by name")
        << QStringList{"Отдел 1/a.cry", "loop:Отдел 3"} << true << QStringList{"Отдел 1/a.cry"} << QStringList{"Отдел 1"}
        << QStringList{"Отдел 3/"};
    QTest::newRow("a team that cannot be read")
        << QStringList{"Отдел 1/a.cry", "loop:Отдел 1/Группа"} << true << QStringList{"Отдел 1/a.cry"} << QStringList{"Отдел 1"}
        << QStringList{"Отдел 1/Группа/"};
    QTest::newRow("a locked department") << QStringList{"Отдел 1/a.cry", "locked:Отдел 4", "Отдел 4/b.cry"} << true
                                         << QStringList{"Отдел 1/a.cry"} << QStringList{"Отдел 1"} << QStringList{"Отдел 4/"};
#endif
}

void TestGroup::hostileFolders()
{
    QFETCH(QStringList, layout);
    QFETCH(bool, leaveOutBad);
    QFETCH(QStringList, members);
    QFETCH(QStringList, departments);
    QFETCH(QStringList, leftOut);
    QTemporaryDir dir;
    const QDir root(dir.path());
    QStringList locked;
    for (const QString &entry : layout) {
        const QString kind = entry.section(u':', 0, 0);
        const QString path = entry.section(u':', -1);
        root.mkpath(QFileInfo(root.filePath(path)).path());
        if (kind == QLatin1String("loop"))
            QVERIFY(QFile::link(root.filePath(path), root.filePath(path)));
        else if (kind == QLatin1String("up"))
            QVERIFY(QFile::link(dir.path(), root.filePath(path)));
        else if (kind == QLatin1String("locked"))
            locked << root.filePath(path);
        else {
            Respondent member = Respondent::uniform(3); // each a respondent of its own: no repeats
            member.code = path;
            writeResultFile(QFileInfo(root.filePath(path)).path(), QFileInfo(path).fileName(), member);
        }
    }
    for (const QString &folder : std::as_const(locked)) {
        root.mkpath(folder);
        QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions()));
    }
    const auto unlock = qScopeGuard([&] {
        for (const QString &folder : std::as_const(locked))
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    });
    if (!locked.isEmpty() && QDir(locked.first()).isReadable())
        QSKIP("every folder is readable here (root)");
    const auto outcome = load(dir.path(), {}, leaveOutBad);
    if (members.isEmpty()) {
        QVERIFY(!outcome.ok());
        for (const QString &word : departments)
            QVERIFY2(outcome.message().contains(word), qPrintable(outcome.message()));
        return;
    }
    QVERIFY2(outcome.ok(), qPrintable(outcome.message()));
    QStringList files;
    for (qsizetype k = 0; k < outcome->profile.respondentCount(); ++k)
        files << outcome->profile.members->file(k);
    QCOMPARE(files, members);
    QStringList names;
    for (const GroupArithmetic::Segment &segment : GroupArithmetic::split(*outcome->profile.members, GroupArithmetic::SplitBy::Folder))
        names << segment.name;
    QCOMPARE(names, departments);
    QStringList left;
    for (const ProfileLoader::LeftOut &out : outcome->leftOut) {
        left << out.file;
        QVERIFY2(out.message.contains(QStringLiteral("Cannot read the folder")), qPrintable(out.message));
    }
    QCOMPARE(left, leftOut);
}

void TestGroup::segments_data()
{
    QTest::addColumn<QStringList>("departments"); // information line 1 of each member, in file order
    QTest::addColumn<QStringList>("names");       // the segments in order
    QTest::addColumn<QList<QList<qsizetype>>>("members");
    QTest::newRow("two departments") << QStringList{QStringLiteral("Склад"), QStringLiteral("Продажи"), QStringLiteral("Склад")}
                                     << QStringList{QStringLiteral("Продажи"), QStringLiteral("Склад")}
                                     << QList<QList<qsizetype>>{{1}, {0, 2}};
    QTest::newRow("case and blanks ignored")
        << QStringList{QStringLiteral("отдел продаж "), QStringLiteral("Отдел продаж"), QString()}
        << QStringList{QString(), QStringLiteral("отдел продаж")} << QList<QList<qsizetype>>{{2}, {0, 1}};
}

void TestGroup::lookAlikeSegments_data()
{
    QTest::addColumn<QStringList>("departments"); // information line 1 of each member
    QTest::addColumn<QStringList>("names");       // the segments as every table shows them
    QTest::newRow("names apart stay as they are") << QStringList{"Склад", "Продажи"} << QStringList{"Продажи", "Склад"};
    QTest::newRow("a zero-width space") << QStringList{"Отдел1", QStringLiteral("Отдел\u200B1")}
                                        << QStringList{"«Отдел1»", "Отдел⟨U+200B⟩1"};
    QTest::newRow("Latin and Cyrillic twins") << QStringList{"Отдел А", "Отдел A"} << QStringList{"Отдел A [лат. A]", "«Отдел А»"};
    QTest::newRow("the label of empty values, typed") << QStringList{"", "(не указано)"}
                                                       << QStringList{"(не указано)", "«(не указано)»"};
}

void TestGroup::lookAlikeSegments()
{
    QFETCH(QStringList, departments);
    QFETCH(QStringList, names);
    auto table = std::make_shared<MemberTable>();
    for (const QString &department : departments) {
        RespondentHeader header;
        header.info[0] = department;
        table->append(QStringLiteral("x.cry"), header, {}, {});
    }
    const Profile group = ProfileLoader::groupProfile(table, QStringLiteral("firm"));
    QStringList shown;
    for (const SegmentsTable::Segment &segment : SegmentsTable::split(group, GroupArithmetic::SplitBy::Info1).segments)
        shown << segment.name;
    QCOMPARE(shown, names);
}

void TestGroup::segments()
{
    QFETCH(QStringList, departments);
    QFETCH(QStringList, names);
    QFETCH(QList<QList<qsizetype>>, members);
    MemberTable table;
    for (const QString &department : departments) {
        RespondentHeader header;
        header.info[0] = department;
        table.append(QStringLiteral("x.cry"), header, {}, {});
    }
    const QList<GroupArithmetic::Segment> segments = GroupArithmetic::split(table, GroupArithmetic::SplitBy::Info1);
    QCOMPARE(segments.size(), names.size());
    for (qsizetype k = 0; k < segments.size(); ++k) {
        QCOMPARE(segments[k].name, names[k]);
        QCOMPARE(segments[k].members, members[k]);
    }
}

void TestGroup::spread()
{
    // Three members, figures worked by hand.
    MemberTable table;
    const double firstIndex[] = {2.0, 3.0, 4.6};
    const double firstItem[] = {1.4, 4.5, 5.0}; // answers 1, 5 (half up) and 5
    for (int k = 0; k < 3; ++k) {
        IndexScores indices;
        indices.fill(3.0);
        indices[0] = firstIndex[k];
        ItemScores items;
        items.fill(3.0);
        items[0] = firstItem[k];
        items[14] = firstItem[k]; // statement 15 is worded negatively: the answers were 5, 1 and 1
        table.append(QStringLiteral("m.cry"), RespondentHeader(), indices, items);
    }
    const GroupArithmetic::Spread spread = GroupArithmetic::spread(table);
    const GroupArithmetic::Summary &index1 = spread.indices[0];
    QCOMPARE(index1.n, 3);
    QCOMPARE(index1.mean, (0.0 + 2.0 + 3.0 + 4.6) / 3);
    QVERIFY(std::abs(index1.deviation - std::sqrt(((2.0 - 3.2) * (2.0 - 3.2) + 0.04 + 1.4 * 1.4) / 2)) < 1e-12);
    QCOMPARE(index1.minimum, 2.0);
    QCOMPARE(index1.maximum, 4.6);
    // Trait 1 of each member is the mean of its indices 1 to 3.
    QVERIFY(std::abs(spread.traits[0].mean - (8.0 / 3 + 3.0 + 10.6 / 3) / 3) < 1e-12);
    QCOMPARE(spread.items[0].answers, (std::array<qsizetype, 5>{1, 0, 0, 0, 2}));
    QCOMPARE(spread.items[1].answers, (std::array<qsizetype, 5>{0, 0, 3, 0, 0}));
    QCOMPARE(spread.items[14].answers, (std::array<qsizetype, 5>{2, 0, 0, 0, 1}));
    QCOMPARE(spread.items[14].mean, spread.items[0].mean); // the scores stay scores
    QCOMPARE(spread.items[1].deviation, 0.0);
    // One member has no deviation; a score off the scale is no answer.
    QVERIFY(std::isnan(GroupArithmetic::spread(table, {1}).indices[0].deviation));
    QCOMPARE(GroupArithmetic::answerOf(0.4), 0);
    QCOMPARE(GroupArithmetic::answerOf(5.6), 0);
    QCOMPARE(GroupArithmetic::answerOf(2.5), 3);
}

void TestGroup::meanIsTheNearestDouble_data()
{
    // Scores of the members and the mean a reader expects: the double nearest the true mean, which a
    // table then writes in its shortest form ("3,34").
    QTest::addColumn<QList<double>>("scores");
    QTest::addColumn<double>("mean");
    QTest::newRow("two decimals") << QList<double>{1.0, 1.07, 1.35} << 1.14; // a running sum gives 1.1400000000000001
    QTest::newRow("a tenth apart") << QList<double>{2.0, 3.0, 4.6} << 3.2;   // 9.6 / 3 gives 3.1999999999999997
    QTest::newRow("halves") << QList<double>{3.0, 4.0} << 3.5;
    QTest::newRow("thirds stay as they sum") << QList<double>{1.0 / 3, 1.0 / 3, 1.0 / 3} << (1.0 / 3 + 1.0 / 3 + 1.0 / 3) / 3;
}

void TestGroup::meanIsTheNearestDouble()
{
    QFETCH(QList<double>, scores);
    QFETCH(double, mean);
    MemberTable table;
    for (double score : scores) {
        IndexScores indices;
        indices.fill(score);
        ItemScores items;
        items.fill(score);
        table.append(QStringLiteral("m.cry"), RespondentHeader(), indices, items);
    }
    const GroupArithmetic::MeanScores means = GroupArithmetic::mean(table);
    QVERIFY2(means.indices[0] == mean, qPrintable(QString::number(means.indices[0], 'g', 17)));
    QVERIFY(means.items[59] == mean);
    QVERIFY(GroupArithmetic::spread(table).items[0].mean == mean);
}

void TestGroup::segmentsMeasuredInOnePass_data()
{
    // Segments as numbers into a table of 40 members; the table's scores include some held in full
    // (thirds), negative and large ones, which take the table's slower paths.
    QTest::addColumn<QList<QList<qsizetype>>>("segments");
    QList<QList<qsizetype>> interleaved(3);
    for (qsizetype k = 0; k < 40; ++k)
        interleaved[k % 3].append(k);
    QTest::newRow("split into departments") << interleaved;
    QTest::newRow("one member and none") << QList<QList<qsizetype>>{{7}, {}, {0, 39}};
    // Lists that a single pass cannot take in their order are measured one by one.
    QTest::newRow("members out of table order") << QList<QList<qsizetype>>{{5, 2, 9}, {1, 3}};
    QTest::newRow("a member in two segments") << QList<QList<qsizetype>>{{1, 2, 3}, {3, 4}};
}

void TestGroup::segmentsMeasuredInOnePass()
{
    QFETCH(QList<QList<qsizetype>>, segments);
    MemberTable table;
    for (int k = 0; k < 40; ++k) {
        IndexScores indices;
        ItemScores items;
        for (int i = 0; i < Resource::IndexCount; ++i)
            indices[std::size_t(i)] = k % 7 == 0 ? (k + i) / 3.0 : 1.0 + ((k * 7 + i * 3) % 41) * 0.1;
        for (int s = 0; s < Resource::StatementCount; ++s)
            items[std::size_t(s)] = k % 11 == 0 ? -1.5 + s : k % 13 == 0 ? 12.5 : 1.0 + ((k * 5 + s) % 45) * 0.1;
        table.append(QStringLiteral("m.cry"), RespondentHeader(), indices, items);
    }
    QList<GroupArithmetic::Segment> parts;
    for (const QList<qsizetype> &members : segments)
        parts.append({QStringLiteral("x"), members});
    const QList<GroupArithmetic::MeanScores> means = GroupArithmetic::means(table, parts);
    const QList<GroupArithmetic::Spread> spreads = GroupArithmetic::spreads(table, parts);
    QCOMPARE(means.size(), parts.size());
    QCOMPARE(spreads.size(), parts.size());
    for (qsizetype g = 0; g < parts.size(); ++g) {
        if (parts[g].members.isEmpty()) {
            // No members: zeros and no figures (not the whole table, as an empty list means for mean()).
            QCOMPARE(means[g].indices, IndexScores{});
            QCOMPARE(spreads[g].indices[0].n, 0);
            continue;
        }
        const GroupArithmetic::MeanScores alone = GroupArithmetic::mean(table, parts[g].members);
        QVERIFY2(sameBits(means[g].indices.data(), alone.indices.data(), alone.indices.size())
                     && sameBits(means[g].items.data(), alone.items.data(), alone.items.size()),
                 qPrintable(QStringLiteral("means of segment %1").arg(g)));
        QVERIFY2(sameSpread(spreads[g], GroupArithmetic::spread(table, parts[g].members)),
                 qPrintable(QStringLiteral("spread of segment %1").arg(g)));
    }
}

QTEST_GUILESS_MAIN(TestGroup)
#include "tst_group.moc"
