// The zolk-cry command, run as a consultant would run it.

#include "Cp1251.h"
#include "TestSupport.h"

#include <QProcess>
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

private:
    struct Run
    {
        int exitCode;
        QByteArray out;
        QByteArray err;
    };
    Run run(const QStringList &arguments, const QByteArray &input = QByteArray());
};

TestZolkCry::Run TestZolkCry::run(const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
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

QTEST_GUILESS_MAIN(TestZolkCry)
#include "tst_zolkcry.moc"
