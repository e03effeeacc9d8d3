#include "TemporaryFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace TemporaryFiles {

QString prefix(const QString &purpose)
{
    return QStringLiteral(".zolk-%1-").arg(purpose);
}

Outcome<QString> makeFolder(const QString &folder, const QString &purpose)
{
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const QDir dir(folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = prefix(purpose);
        for (int k = 0; k < 6; ++k)
            name += QChar(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))]);
        const QString path = dir.filePath(name);
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
            continue;
        if (QDir().mkdir(path))
            return path;
        if (!QFileInfo::exists(path))
            break;
    }
    return Outcome<QString>::failed(QCoreApplication::translate("TemporaryFiles", "Cannot make a temporary folder in %1.")
                                        .arg(QDir::toNativeSeparators(folder)));
}

namespace {

int removeOlder(const QString &folder, const QString &pattern, std::chrono::seconds age)
{
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-qint64(age.count()));
    int removed = 0;
    const QFileInfoList entries = QDir(folder).entryInfoList({pattern},
                                                             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink() || entry.lastModified().toUTC() > before)
            continue;
        if (entry.isDir()) {
            QDir dir(entry.filePath());
            if (!dir.entryList({QStringLiteral("old-*")}, QDir::Files | QDir::Hidden).isEmpty())
                continue;
            removed += dir.removeRecursively() ? 1 : 0;
        } else {
            removed += QFile::remove(entry.filePath()) ? 1 : 0;
        }
    }
    return removed;
}

} // namespace

int removeStale(const QString &folder, std::chrono::seconds age)
{
    return removeOlder(folder, QStringLiteral(".zolk-*"), age);
}

int removeLeftovers()
{
    return removeStale(QDir::tempPath()) + removeOlder(QDir::tempPath(), QStringLiteral("zolk-xlsx-*"), std::chrono::minutes(10));
}

} // namespace TemporaryFiles
