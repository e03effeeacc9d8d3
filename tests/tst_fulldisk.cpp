// Every writer on a full disk: the old file stays byte for byte, nothing half-written is left beside
// it, and the failure is said (an outcome's message, a message box, an exit code). Runs on a small
// file system of its own that with-full-disk.sh mounts; without one the cases skip.

#include "Exports.h"
#include "FileOutput.h"
#include "ProfileLoader.h"
#include "Report.h"
#include "ScoresTable.h"
#include "TableFile.h"
#include "TestSupport.h"
#include "Translations.h"
#include "WindowFixture.h"

#include <QProcess>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/statvfs.h>
#endif

using namespace TestSupport;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The small file system: an old file to keep, and a filler that takes the rest of the room.
class FullDisk
{
public:
    FullDisk()
        : m_root(qEnvironmentVariable("ZOLK_FULL_DISK"))
    {
    }
    bool available() const { return !m_root.isEmpty(); }
    QString path(const QString &name) const { return m_root + u'/' + name; }

    // Removes what an earlier case left, writes the old file and fills the disk but for room bytes.
    void prepare(const QString &oldFile, const QByteArray &oldContents, qint64 room)
    {
        for (const QString &name : QDir(m_root).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(path(name));
        QVERIFY(FileOutput::write(path(oldFile), oldContents).ok());
        // Filled until not one more byte fits, then room is given back from the filler's end.
        QFile filler(path(QStringLiteral(".filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        for (const qsizetype size : {qsizetype(65536), qsizetype(4096), qsizetype(1)}) {
            const QByteArray block(size, 'x');
            while (filler.write(block) == block.size()) {
            }
        }
        QVERIFY(filler.resize(std::max<qint64>(0, filler.size() - room)));
        filler.close();
    }
    qint64 free() const
    {
#ifdef Q_OS_UNIX
        struct statvfs info{};
        statvfs(QFile::encodeName(m_root).constData(), &info);
        return qint64(info.f_bavail) * qint64(info.f_frsize);
#else
        return 0;
#endif
    }
    // The files there now, but for the filler.
    QStringList files() const
    {
        QStringList names = QDir(m_root).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QStringLiteral(".filler"));
        return names;
    }

private:
    QString m_root;
};

Profile sampleGroup(const QString &folder, int members)
{
    QDir().mkpath(folder);
    // Each respondent with a code of its own: a group counts identical respondents once.
    for (int k = 0; k < members; ++k) {
        Respondent r = Respondent::uniform(1.0 + k % 5);
        r.code = QStringLiteral("%1").arg(k + 1, 4, 10, QChar(u'0'));
        writeResultFile(folder, QStringLiteral("m%1.cry").arg(k, 3, 10, QChar(u'0')), r);
    }
    return ProfileLoader::loadFolder(folder)->profile;
}

} // namespace

class TestFullDisk : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void writers_data();
    void writers();
    void windowCommands_data();
    void windowCommands();
    void commandLine_data();
    void commandLine();

private:
    FullDisk m_disk;
    QTemporaryDir m_inputs;
};

void TestFullDisk::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    // The window's own texts, as the program installs them: its message boxes speak Russian.
    QVERIFY(Translations::installRussian(*qApp));
    if (!m_disk.available())
        QSKIP("no small file system of its own (run through with-full-disk.sh)");
}

void TestFullDisk::writers_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<qint64>("room"); // bytes left on the disk
    for (const char *writer : {"file", "stream", "picture", "analysis", "report", "scores", "workbook"}) {
        QTest::addRow("%s, disk full", writer) << QString::fromLatin1(writer) << qint64(0);
        QTest::addRow("%s, 8 kB left", writer) << QString::fromLatin1(writer) << qint64(8192);
    }
}

void TestFullDisk::writers()
{
    QFETCH(QString, writer);
    QFETCH(qint64, room);
    const QByteArray old("the good old file\r\n");
    m_disk.prepare(QStringLiteral("target"), old, room);
    const QString target = m_disk.path(QStringLiteral("target"));
    const Profile group = sampleGroup(m_inputs.filePath(QStringLiteral("group")), 200);
    Outcome<> written;
    if (writer == QLatin1String("file")) {
        written = FileOutput::write(target, QByteArray(64 * 1024, 'a'));
    } else if (writer == QLatin1String("stream")) {
        // Written piece by piece as zolk-cry writes its tables; the last piece is the one that fails.
        OutputFile out(target);
        QVERIFY(out.open().ok());
        for (int k = 0; k < 20; ++k)
            out.write(QByteArray(1000, char('a' + k)));
        written = out.commit();
    } else if (writer == QLatin1String("picture")) {
        // Noise, which compresses badly: far more than 8 kB of JPEG.
        QImage picture(602, 564, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb((x * 7919 + y * 104729) % 251, (x * y) % 241, (x + 3 * y) % 239));
        written = Exports::writePicture(target, picture);
    } else if (writer == QLatin1String("analysis")) {
        written = Exports::writeAnalysis(target, QStringLiteral("Анализ\r\n").repeated(3000));
    } else if (writer == QLatin1String("report")) {
        ReportInput input;
        input.profile = group;
        input.respondents = QString::number(group.respondentCount());
        written = Report::write(target, input);
    } else {
        const QString name = writer == QLatin1String("workbook") ? QStringLiteral("target.xlsx") : QStringLiteral("target.csv");
        QVERIFY(QFile::rename(target, m_disk.path(name)));
        written = TableFile::write(m_disk.path(name), ScoresTable::table({{group, QString()}}));
        QVERIFY(QFile::rename(m_disk.path(name), target));
    }
    QVERIFY(!written.ok());
    QVERIFY2(written.message().startsWith(QStringLiteral("Не удаётся создать файл ") + QDir::toNativeSeparators(target)),
             qPrintable(written.message()));
    QCOMPARE(contents(target), old);
    QCOMPARE(m_disk.files(), QStringList{QStringLiteral("target")});
}

void TestFullDisk::windowCommands_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("Save -> Image") << "mmImage";
    QTest::newRow("Save -> Plot") << "mmPlotSave";
    QTest::newRow("Save -> Analysis") << "mmAnalysis";
    QTest::newRow("Save -> Report") << "mmReport";
    QTest::newRow("Save -> Scores as CSV") << "mmScores";
    QTest::newRow("Save -> Scores as a workbook") << "mmScores.xlsx";
}

void TestFullDisk::windowCommands()
{
    // What the consultant sees: a message box naming the file, and the old file as it was.
    QFETCH(QString, action);
    const bool workbook = action.endsWith(QLatin1String(".xlsx"));
    action.remove(QStringLiteral(".xlsx"));
    WindowFixture fx;
    fx.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(fx.form.get()));
    fx.load(Respondent());
    // The names the dialog returns carry the extension each command would add.
    const QString name = action == QLatin1String("mmAnalysis") ? QStringLiteral("target.rtf")
                         : action == QLatin1String("mmReport") ? QStringLiteral("target.pdf")
                         : action == QLatin1String("mmScores") ? (workbook ? QStringLiteral("target.xlsx") : QStringLiteral("target.csv"))
                                                               : QStringLiteral("target.jpg");
    const QByteArray old("the good old file\r\n");
    m_disk.prepare(name, old, 0);
    const QString target = m_disk.path(name);
    fx.prompts->saveAnswers << target;
    fx.prompts->confirmAnswers << true;
    fx.action(qPrintable(action))->trigger();
    QCOMPARE(fx.prompts->errors.size(), 1);
    QVERIFY2(fx.prompts->errors.first().startsWith(QStringLiteral("Не удаётся создать файл ") + QDir::toNativeSeparators(target)),
             qPrintable(fx.prompts->errors.first()));
    QCOMPARE(contents(target), old);
    QCOMPARE(m_disk.files(), QStringList{name});
}

void TestFullDisk::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments"); // %in is a result file, %group a folder, %out the target
    QTest::newRow("encode") << QStringList{"encode", "%plain", "-o", "%out"};
    QTest::newRow("decode") << QStringList{"decode", "%in", "-o", "%out"};
    QTest::newRow("scores") << QStringList{"scores", "%group", "-o", "%out"};
}

void TestFullDisk::commandLine()
{
    QFETCH(QStringList, arguments);
    const QByteArray old("the good old file\r\n");
    m_disk.prepare(QStringLiteral("target"), old, 0);
    const QString in = writeResultFile(m_inputs.path(), QStringLiteral("one.cry"), Respondent());
    const QString plain = m_inputs.filePath(QStringLiteral("plain.txt"));
    QVERIFY(FileOutput::write(plain, plainText(Respondent()).toUtf8()).ok());
    const QString group = m_inputs.filePath(QStringLiteral("cli-group"));
    sampleGroup(group, 50);
    for (QString &argument : arguments) {
        argument.replace(QStringLiteral("%plain"), plain).replace(QStringLiteral("%in"), in);
        argument.replace(QStringLiteral("%group"), group).replace(QStringLiteral("%out"), m_disk.path(QStringLiteral("target")));
    }
    QProcess cry;
    cry.start(QStringLiteral(ZOLK_CRY_PATH), arguments);
    QVERIFY(cry.waitForFinished(60000));
    QCOMPARE(cry.exitCode(), 1);
    QVERIFY2(cry.readAllStandardError().contains("target"), "the message names the file");
    QCOMPARE(contents(m_disk.path(QStringLiteral("target"))), old);
    QCOMPARE(m_disk.files(), QStringList{QStringLiteral("target")});
}

QTEST_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
