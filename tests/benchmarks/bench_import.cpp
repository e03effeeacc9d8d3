// Importing an answer sheet of 100,000 rows into result files, side by side with writing the same
// number of files of the same size and nothing else, on as many threads (the baseline: the file
// system's own limit), and with the group build of the folder it writes (ProfileLoader::loadFolder).
// The import should stay within 1.2 times the baseline: reading, checking, enciphering and the
// whole-or-nothing moves add little to what the file system takes anyway. Run by hand, one run: it
// writes 200,000 small files into a temporary folder.
//   bench_import [ROWS]        (default 100000; ZOLK_BENCH_DIR=FOLDER writes there instead and keeps
//                               it; ZOLK_BENCH_IMPORT_ONLY=1 leaves out the group build, for a profiler)

#include "AnswerSheet.h"
#include "ProfileLoader.h"
#include "SheetImport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace {

// A sheet as the template's header makes it: ';', numbers, every row a little different.
QByteArray sheetBytes(int rows)
{
    QByteArray text("\xEF\xBB\xBF");
    text += Questionnaire::sheetHeader(Questionnaire::defaultCaptions()).join(u';').toUtf8() + "\r\n";
    for (int r = 0; r < rows; ++r) {
        text += QStringLiteral("%1.03.2024;%2;Респондент %2;Отдел %3;Инженер;%4;")
                    .arg(1 + r % 28)
                    .arg(r + 1, 6, 10, QChar(u'0'))
                    .arg(r % 12)
                    .arg(r % 30)
                    .toUtf8();
        for (int s = 0; s < 60; ++s) {
            text += ';';
            text += char('1' + (s * 7 + r * 3 + s / 5) % 5);
        }
        text += "\r\n";
    }
    return text;
}

// The floor for the writing: files of a result file's size made in one folder with nothing else
// done, as many threads as the import uses.
double bareFiles(const QString &folder, int count)
{
    QDir().mkpath(folder);
    const QByteArray letters(1300, 'a');
    QElapsedTimer clock;
    clock.start();
    std::atomic<int> next{0};
    {
        QThreadPool pool;
        pool.setMaxThreadCount(std::clamp(QThread::idealThreadCount(), 1, 4));
        for (int t = 0; t < pool.maxThreadCount(); ++t)
            pool.start([&] {
                for (int k = next++; k < count; k = next++) {
                    QFile file(QStringLiteral("%1/%2.cry").arg(folder).arg(k));
                    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered) || file.write(letters) < 0)
                        qFatal("cannot write %s", qPrintable(file.fileName()));
                }
            });
    }
    return double(clock.nsecsElapsed()) / 1e9;
}

double seconds(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTemporaryDir temp;
    const QString base = qEnvironmentVariable("ZOLK_BENCH_DIR", temp.path());
    const QString sheetPath = QDir(base).filePath(QStringLiteral("answers.csv"));
    const QString folder = QDir(base).filePath(QStringLiteral("imported"));
    QDir(folder).removeRecursively();
    {
        QFile file(sheetPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(sheetBytes(rows)) < 0)
            qFatal("cannot write %s", qPrintable(sheetPath));
    }

    // Made first and removed last, so that neither the import nor this gets the inodes that the
    // other freed a moment ago (ext4 looks long for a free inode among recently deleted ones).
    const QString bareFolder = QDir(base).filePath(QStringLiteral("bare"));
    QDir(bareFolder).removeRecursively();
    const double bare = bareFiles(bareFolder, rows);

    QElapsedTimer clock;
    clock.start();
    const Outcome<AnswerSheet::Sheet> sheet = AnswerSheet::readSheetFile(sheetPath);
    if (!sheet)
        qFatal("%s", qPrintable(sheet.message()));
    const Questionnaire::Captions captions = Questionnaire::defaultCaptions();
    const AnswerSheet::Columns columns = AnswerSheet::detectColumns(sheet->header, captions);
    const Outcome<AnswerSheet::Check> check = AnswerSheet::check(*sheet, columns, captions);
    if (!check || check->goodRows.size() != std::size_t(rows))
        qFatal("check: %s", qPrintable(check.message()));
    const double read = seconds(clock);
    SheetImport::Options options;
    options.mapText = AnswerSheet::mapText(columns, sheet->header);
    const Outcome<SheetImport::Written> written = SheetImport::write(*sheet, columns, captions, *check, folder, options);
    if (!written)
        qFatal("import: %s", qPrintable(written.message()));
    const double import = seconds(clock);
    if (qEnvironmentVariableIsSet("ZOLK_BENCH_IMPORT_ONLY")) {
        std::printf("%d rows: import %.3f s (reading and checking the sheet %.3f s)\n", rows, import, read);
        return 0;
    }

    clock.restart();
    const Outcome<ProfileLoader::GroupLoad> group = ProfileLoader::loadFolder(folder);
    if (!group || group->profile.respondentCount() != rows)
        qFatal("group: %s", qPrintable(group.message()));
    const double build = seconds(clock);

    std::printf("%d rows: import %.3f s (reading and checking the sheet %.3f s, writing %.3f s)\n", rows, import, read,
                import - read);
    std::printf("group build of the %d files: %.3f s\n", rows, build);
    std::printf("(making %d files of that size and nothing else: %.3f s)\n", rows, bare);
    std::printf("import / group build: %.2f\n", import / build);
    std::printf("import / bare files: %.2f (goal: at most 1.2)\n", import / bare);
    if (qEnvironmentVariableIsEmpty("ZOLK_BENCH_DIR"))
        QDir(base).removeRecursively();
    return 0;
}
