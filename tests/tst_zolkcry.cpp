// The zolk-cry command, run as a consultant would run it.

#include "Cp1251.h"
#include "ProfileLoader.h"
#include "Scoring.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestZolkCry : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void errors_data();
    void errors();
    void help();
    void scores_data();
    void scores();

private:
    struct Run
    {
        int exitCode;
        QByteArray out;
        QByteArray err;
    };
    Run run(const QStringList &arguments, const QByteArray &input = QByteArray(), const QString &lang = QString());
};

TestZolkCry::Run TestZolkCry::run(const QStringList &arguments, const QByteArray &input, const QString &lang)
{
    QProcess process;
    if (!lang.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), lang);
        process.setProcessEnvironment(environment);
    }
    process.start(QStringLiteral(ZOLK_CRY_PATH), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000))
        qFatal("zolk-cry did not finish");
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

void TestZolkCry::roundTrip_data()
{
    QTest::addColumn<bool>("raw");
    QTest::newRow("utf-8 input") << false;
    QTest::newRow("windows-1251 input") << true;
}

void TestZolkCry::roundTrip()
{
    QFETCH(bool, raw);
    QTemporaryDir dir;
    const QString plain = TestSupport::plainText(TestSupport::Respondent());
    const QByteArray input = raw ? Cp1251::encode(plain) : plain.toUtf8();
    QStringList args{QStringLiteral("encode")};
    if (raw)
        args << QStringLiteral("--raw");
    const Run encoded = run(args, input);
    QCOMPARE(encoded.exitCode, 0);
    const QString file = TestSupport::writeStoredFile(dir.path(), QStringLiteral("r.cry"), encoded.out);
    const Run bytes = run({QStringLiteral("decode"), file});
    QCOMPARE(bytes.exitCode, 0);
    QCOMPARE(bytes.out, Cp1251::encode(plain));
    const Run utf8 = run({QStringLiteral("decode"), file, QStringLiteral("--utf8")});
    QCOMPARE(QString::fromUtf8(utf8.out), plain);
}

void TestZolkCry::errors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << QStringList{QStringLiteral("decode"), QStringLiteral("/nonexistent/x.cry")} << QByteArray()
                                  << QStringLiteral("cannot open");
    QTest::newRow("character outside windows-1251") << QStringList{QStringLiteral("encode")} << QStringLiteral("Ω ☃").toUtf8()
                                                   << QStringLiteral("windows-1251 cannot hold");
    QTest::newRow("oversized plaintext") << QStringList{QStringLiteral("encode")} << QByteArray(33001, 'x')
                                        << QStringLiteral("at most 33000");
    QTest::newRow("zero byte") << QStringList{QStringLiteral("encode"), QStringLiteral("--raw")} << QByteArray("a\0b", 3)
                               << QStringLiteral("zero byte");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--bogus")} << QByteArray() << QStringLiteral("unknown option");
}

void TestZolkCry::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QString, message);
    const Run result = run(arguments, input);
    QVERIFY(result.exitCode != 0);
    QVERIFY2(QString::fromLocal8Bit(result.err).contains(message), result.err.constData());
    QVERIFY(result.out.isEmpty());
}

void TestZolkCry::help()
{
    const Run result = run({QStringLiteral("--help")});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.contains("zolk-cry decode FILE"));
}

void TestZolkCry::scores_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("badMember");
    QTest::addColumn<bool>("skipBad");
    QTest::newRow("Russian locale") << "ru_RU.UTF-8" << ";" << false << false;
    QTest::newRow("locale with a decimal point") << "C.UTF-8" << "," << false << false;
    QTest::newRow("a bad member ends the command") << "ru_RU.UTF-8" << ";" << true << false;
    QTest::newRow("a bad member skipped") << "ru_RU.UTF-8" << ";" << true << true;
}

void TestZolkCry::scores()
{
    // What a spreadsheet reads from "zolk-cry scores FILE FOLDER": parsed with Python's csv module,
    // every number compared with the scores the program loads.
    QFETCH(QString, lang);
    QFETCH(QString, separator);
    QFETCH(bool, badMember);
    QFETCH(bool, skipBad);
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 reads the CSV as a spreadsheet would; it is not here");
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("group"));
    QDir().mkpath(folder);
    QList<TestSupport::Respondent> members(3);
    for (int m = 0; m < 3; ++m) {
        members[m].code = QStringLiteral("00%1").arg(m + 1);
        members[m].name = QStringLiteral("Член; \"группы\" %1").arg(m + 1); // a separator and quotes to quote
        for (int i = 0; i < 12; ++i)
            members[m].indices[std::size_t(i)] = 1.0 + (i * 7 + m) % 13 * 0.25; // exact in the file
        TestSupport::writeResultFile(folder, QStringLiteral("m%1.cry").arg(m), members[m]);
    }
    if (badMember)
        TestSupport::writeStoredFile(folder, QStringLiteral("m1-bad.cry"), "not letters");
    const QString single = TestSupport::writeResultFile(dir.path(), QStringLiteral("single.cry"), TestSupport::Respondent());
    const QString csv = dir.filePath(QStringLiteral("scores.csv"));
    QStringList args{QStringLiteral("scores"), single, folder, QStringLiteral("-o"), csv};
    if (skipBad)
        args << QStringLiteral("--skip-bad");
    const Run result = run(args, QByteArray(), lang);
    if (badMember && !skipBad) {
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(QString::fromLocal8Bit(result.err).contains(QStringLiteral("m1-bad.cry")), result.err.constData());
        QVERIFY(!QFile::exists(csv)); // no output file
        return;
    }
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(QString::fromLocal8Bit(result.err).contains(QStringLiteral("m1-bad.cry")), badMember);

    QProcess reader;
    reader.start(python, {QStringLiteral("-c"),
                          QStringLiteral("import csv, json, sys\n"
                                         "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                         "    print(json.dumps(list(csv.reader(f, delimiter=sys.argv[2]))))\n"),
                          csv, separator});
    QVERIFY(reader.waitForFinished(30000));
    QCOMPARE(reader.exitCode(), 0);
    const QJsonArray rows = QJsonDocument::fromJson(reader.readAllStandardOutput()).array();
    QCOMPARE(rows.size(), 1 + 1 + 3 + 1); // header, the single file, three members, the group's mean
    const QJsonArray header = rows[0].toArray();
    QCOMPARE(header.size(), 8 + 12 + 4 + 1 + 60);
    QCOMPARE(header[8].toString(), Resource::IndexTitle(1));
    QCOMPARE(header[20].toString(), Resource::TraitName(1));
    const QChar decimal = separator == QLatin1String(";") ? u',' : u'.';
    const auto numbers = [&](const QJsonArray &row) {
        QList<double> values;
        for (int k = 8; k < row.size(); ++k) {
            QString text = row[k].toString();
            if (decimal == u',' && text.contains(u'.'))
                return QList<double>(); // a decimal point under a decimal-comma locale
            text.replace(u',', u'.');
            values << text.toDouble();
        }
        return values;
    };
    const auto expected = [](const std::array<double, 12> &indices, const std::array<double, 60> &items) {
        ProfileScores profile;
        profile.IndexScores = indices;
        profile.ItemScores = items;
        const double mean = Scoring::deriveScores(profile);
        QList<double> values(indices.begin(), indices.end());
        values += QList<double>(profile.TraitScores.begin(), profile.TraitScores.end());
        values << mean;
        values += QList<double>(items.begin(), items.end());
        return values;
    };
    const TestSupport::Respondent first;
    QCOMPARE(rows[1].toArray()[0].toString(), QStringLiteral("single.cry"));
    QCOMPARE(numbers(rows[1].toArray()), expected(first.indices, first.items));
    for (int m = 0; m < 3; ++m) {
        const QJsonArray row = rows[2 + m].toArray();
        // Paths relative to the inputs' common folder tell apart files of several folders.
        QCOMPARE(row[0].toString(), QStringLiteral("group/m%1.cry").arg(m));
        QCOMPARE(row[2].toString(), members[m].name);
        QCOMPARE(numbers(row), expected(members[m].indices, members[m].items));
    }
    // The mean row holds what the group build shows for the same members.
    if (badMember)
        QFile::remove(QDir(folder).filePath(QStringLiteral("m1-bad.cry")));
    const auto group = ProfileLoader::loadFolder(folder);
    QVERIFY(group.ok());
    QCOMPARE(rows[5].toArray()[0].toString(), QStringLiteral("Среднее по группе group"));
    QCOMPARE(rows[5].toArray()[2].toString(), QStringLiteral("Группа"));
    QCOMPARE(numbers(rows[5].toArray()), expected(group->profile.scores.IndexScores, group->profile.scores.ItemScores));
}

QTEST_GUILESS_MAIN(TestZolkCry)
#include "tst_zolkcry.moc"
