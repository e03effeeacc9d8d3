// The files the exports write: JPEG properties, picture names, analysis bytes, safe replacement.

#include "Exports.h"
#include "FileOutput.h"
#include "JpegCodec.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

#include <jpeglib.h>

namespace {

struct JpegFacts
{
    int width = 0, height = 0, components = 0;
    bool progressive = true, baseline = false;
    bool allQuantOnes = false;
};

// Reads back what libjpeg says of a compressed picture.
JpegFacts inspect(const QByteArray &data)
{
    JpegFacts facts;
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(data.constData()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    facts.width = int(cinfo.image_width);
    facts.height = int(cinfo.image_height);
    facts.components = cinfo.num_components;
    facts.progressive = cinfo.progressive_mode;
    facts.baseline = !cinfo.arith_code && cinfo.data_precision == 8;
    facts.allQuantOnes = true;
    int tables = 0;
    for (auto *table : cinfo.quant_tbl_ptrs) {
        if (!table)
            continue;
        ++tables;
        for (unsigned short q : table->quantval)
            facts.allQuantOnes = facts.allQuantOnes && q == 1;
    }
    facts.allQuantOnes = facts.allQuantOnes && tables > 0;
    jpeg_destroy_decompress(&cinfo);
    return facts;
}

// Noise compresses badly: its JPEG is large, which makes the encoder's buffer grow.
QImage noise(int size)
{
    QImage picture(size, size, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, random.generate());
    return picture;
}

} // namespace

class TestExports : public QObject
{
    Q_OBJECT
private slots:
    void jpegProperties();
    void jpegRoundTripColours();
    void codecErrors_data();
    void codecErrors();
    void jpegFileName_data();
    void jpegFileName();
    void analysisBytes_data();
    void analysisBytes();
    void proposedName_data();
    void proposedName();
    void writesReplaceWholeFiles();
    void failuresLeaveOldFile_data();
    void failuresLeaveOldFile();
    void resultsFolder_data();
    void resultsFolder();
};

void TestExports::jpegProperties()
{
    QImage picture(602, 564, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 255));
    const Outcome<QByteArray> jpeg = JpegCodec::encode(picture);
    QVERIFY(jpeg.ok());
    QVERIFY(jpeg->startsWith("\xFF\xD8"));
    QVERIFY(jpeg->contains("\xFF\xC0")); // a baseline frame, not progressive (C2)
    QVERIFY(!jpeg->contains("\xFF\xC2"));
    const JpegFacts facts = inspect(*jpeg);
    QCOMPARE(facts.width, 602);
    QCOMPARE(facts.height, 564);
    QCOMPARE(facts.components, 3);
    QVERIFY(!facts.progressive);
    QVERIFY(facts.baseline);
    QVERIFY(facts.allQuantOnes); // quality 100
}

void TestExports::jpegRoundTripColours()
{
    QImage picture(64, 32, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 24; ++x)
            picture.setPixel(x, y, qRgb(0, 128, 0));
    const QImage back = *JpegCodec::decode(*JpegCodec::encode(picture));
    QCOMPARE(back.size(), picture.size());
    const QColor inside = back.pixelColor(16, 16);
    QVERIFY(std::abs(inside.green() - 128) <= 3 && inside.red() <= 3 && inside.blue() <= 3);
    QVERIFY(back.pixelColor(50, 5).lightness() >= 252);
}

void TestExports::codecErrors_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("empty picture") << "empty";
    QTest::newRow("encoder error after its buffer grew") << "encoder";
    QTest::newRow("decoding what is not a JPEG") << "garbage";
    QTest::newRow("decoding a scan with an undefined table") << "table";
}

void TestExports::codecErrors()
{
    // Each failure ends with a message and frees what libjpeg and the codec allocated, once (the
    // sanitizer build checks the frees).
    QFETCH(QString, failure);
    QString error;
    if (failure == QLatin1String("empty")) {
        error = JpegCodec::encode(QImage()).message();
    } else if (failure == QLatin1String("encoder")) {
        const QImage picture = noise(400);
        QVERIFY(JpegCodec::encode(picture)->size() > 200 * 1024);
        const Outcome<QByteArray> limited = JpegCodec::encode(picture, 100, 200 * 1024);
        QVERIFY(!limited.ok());
        error = limited.message();
    } else if (failure == QLatin1String("garbage")) {
        const Outcome<QImage> decoded = JpegCodec::decode(QByteArray("not a jpeg at all"));
        QVERIFY(!decoded.ok());
        error = decoded.message();
    } else {
        QByteArray jpeg = *JpegCodec::encode(noise(64));
        const qsizetype sos = jpeg.indexOf("\xFF\xDA");
        QVERIFY(sos > 0);
        jpeg[sos + 6] = char(0x33); // the first component's scan uses Huffman tables 3, never defined
        const Outcome<QImage> decoded = JpegCodec::decode(jpeg);
        QVERIFY(!decoded.ok());
        error = decoded.message();
    }
    QVERIFY(!error.isEmpty());
}

void TestExports::jpegFileName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "x" << "x.jpg";
    QTest::newRow(".jpg") << "x.jpg" << "x.jpg";
    QTest::newRow(".JPG") << "x.JPG" << "x.JPG.jpg";
    QTest::newRow(".Jpg") << "x.Jpg" << "x.Jpg.jpg";
    QTest::newRow(".jpeg") << "x.jpeg" << "x.jpeg.jpg";
}

void TestExports::jpegFileName()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QCOMPARE(Exports::jpegFileName(chosen), written);
}

void TestExports::analysisBytes_data()
{
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Cyrillic, two lines") << QStringLiteral("Миссия\r\n3,5") << QByteArray("\xCC\xE8\xF1\xF1\xE8\xFF\r\n3,5");
    QTest::newRow("bare line feeds") << QStringLiteral("a\nb\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("outside windows-1251") << QStringLiteral("☃ Ж 😀") << QByteArray("? \xC6 ?");
    QTest::newRow("guillemets and dash") << QStringLiteral("«—»") << QByteArray("\xAB\x97\xBB");
}

void TestExports::analysisBytes()
{
    QFETCH(QString, memo);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Exports::analysisBytes(memo), bytes);
}

void TestExports::proposedName_data()
{
    // A code comes from a file or the user: it never leads the proposal out of the results folder.
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("plain code") << "0101" << "/r/Image 0101.jpg";
    QTest::newRow("parent folder") << "../../etc/x" << "/r/Image ______etc_x.jpg";
    QTest::newRow("Windows separators and drive") << "C:\\x" << "/r/Image C__x.jpg";
    QTest::newRow("characters no file name holds") << "a*b?\"c<d>|\t" << "/r/Image a_b__c_d___.jpg";
    QTest::newRow("empty") << "" << "/r/Image .jpg";
}

void TestExports::proposedName()
{
    QFETCH(QString, code);
    QFETCH(QString, proposed);
    QCOMPARE(Exports::proposedName(QStringLiteral("/r"), QStringLiteral("Image "), code, QStringLiteral(".jpg")), proposed);
}

void TestExports::writesReplaceWholeFiles()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.rtf"));
    QVERIFY(Exports::writeAnalysis(path, QStringLiteral("первый")).ok());
    QVERIFY(Exports::writeAnalysis(path, QStringLiteral("ok")).ok());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("ok"));
}

void TestExports::failuresLeaveOldFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("missing folder") << "missing";
    QTest::newRow("disk full while writing") << "full";
    QTest::newRow("device that fails every write") << "device";
}

void TestExports::failuresLeaveOldFile()
{
    QFETCH(QString, target);
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("keep.jpg"));
    QVERIFY(FileOutput::write(existing, QByteArray("old picture")).ok());
    // Noise compresses badly: its JPEG is far larger than the 4 kB the full disk leaves.
    const QImage big = noise(400);
    QString path = existing;
    Outcome<> written;
    if (target == QLatin1String("missing")) {
        path = dir.filePath(QStringLiteral("no such folder/x.jpg"));
        written = Exports::writePicture(path, big);
    } else if (target == QLatin1String("full")) {
#ifndef Q_OS_UNIX
        QSKIP("the file-size limit stands in for a full disk on Unix only");
#else
        // The file-size limit makes every write past 4 kB fail, as a full disk would.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        written = Exports::writePicture(path, big);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, savedSignal);
#endif
    } else {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        path = QStringLiteral("/dev/full");
        written = Exports::writePicture(path, big);
        QVERIFY(!QFileInfo(path).isFile()); // still the device
    }
    QVERIFY(!written.ok());
    QVERIFY2(written.message().startsWith(QStringLiteral("Cannot create file ") + QDir::toNativeSeparators(path)),
             qPrintable(written.message()));
    QFile file(existing);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old picture"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("keep.jpg")});
}

void TestExports::resultsFolder_data()
{
    QTest::addColumn<QString>("results"); // what stands at "Results" beside the program
    QTest::addColumn<bool>("proposed");   // whether the dialogs propose it
    QTest::newRow("writable folder") << "folder" << true;
    QTest::newRow("missing, as in an installed copy") << "missing" << false;
    QTest::newRow("a file of that name") << "file" << false;
    QTest::newRow("read-only folder") << "read-only" << false;
}

void TestExports::resultsFolder()
{
    QFETCH(QString, results);
    QFETCH(bool, proposed);
    QTemporaryDir dir;
    const QString appDir = dir.path() + u'/';
    const QString path = appDir + QStringLiteral("Results");
    if (results == QLatin1String("folder") || results == QLatin1String("read-only"))
        QVERIFY(QDir().mkdir(path));
    if (results == QLatin1String("file"))
        QVERIFY(FileOutput::write(path, "x").ok());
    if (results == QLatin1String("read-only")) {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner));
        if (QFileInfo(path).isWritable())
            QSKIP("this user can write to read-only folders (root)");
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString fallback = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    QCOMPARE(Exports::resultsFolder(appDir), proposed ? path : fallback);
}

QTEST_MAIN(TestExports)
#include "tst_exports.moc"
