// Deciphering speed (MB/s of stored letters) and reading one result file into a record.

#include "ResultFile.h"
#include "TestSupport.h"
#include "UnitPC1.h"

#include <QTemporaryDir>
#include <QTest>

class BenchReading : public QObject
{
    Q_OBJECT
private slots:
    void decipher();
    void readOneFile();
};

void BenchReading::decipher()
{
    // The largest result file: 66,000 letters.
    const QByteArray letters = UnitPC1::EncipherText(ResultFile::keyBytes(), QByteArray(33000, 'x'));
    const QByteArray key = ResultFile::keyBytes();
    QByteArray plain;
    QBENCHMARK {
        plain = UnitPC1::DecipherText(key, letters);
    }
    QCOMPARE(plain.size(), 33000);
}

void BenchReading::readOneFile()
{
    QTemporaryDir dir;
    const QString path = TestSupport::writeResultFile(dir.path(), QStringLiteral("r.cry"), TestSupport::Respondent());
    Outcome<ResultRecord> outcome = Failure{};
    QBENCHMARK {
        outcome = ResultFile::readFile(path);
    }
    QVERIFY(outcome.ok());
}

QTEST_GUILESS_MAIN(BenchReading)
#include "bench_reading.moc"
