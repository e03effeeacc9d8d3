#include "Group.h"

#include "ResultFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <thread>
#include <vector>

QString GroupProfile::hint() const
{
    QString text = QStringLiteral("Состав группы:");
    for (const QString &name : memberNames)
        text += QStringLiteral("\r\n") + name;
    return text;
}

namespace Group {

QString folderOf(const QString &chosenFile)
{
    const QString path = QDir::fromNativeSeparators(chosenFile);
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash + 1);
}

QStringList memberFiles(const QString &folder)
{
    QStringList names;
    QDirIterator it(folder.isEmpty() ? QStringLiteral(".") : folder,
                    QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (name.endsWith(QStringLiteral(".cry"), Qt::CaseInsensitive))
            names << name;
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

GroupOutcome build(const QString &folder, const Progress &progress)
{
    const QStringList names = memberFiles(folder);
    if (names.isEmpty())
        return {std::nullopt, emptyFolderMessage(folder), false};

    const QByteArray key = ResultFile::keyBytes();
    const QString base = folder.isEmpty() || folder.endsWith(u'/') ? folder : folder + u'/';
    const int total = int(names.size());
    // Members are read and deciphered on every core a batch at a time; the sums are then formed on
    // this thread in file-name order, one addition per member, so the result does not depend on the
    // number of cores. Only one batch of scores is held at a time, and no member's text but the last.
    const int workers = int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    constexpr int BatchSize = 512;

    GroupProfile group;
    group.memberNames.reserve(total);
    std::vector<ReadOutcome> batch;
    for (int start = 0; start < total; start += BatchSize) {
        const int count = std::min(BatchSize, total - start);
        batch.assign(std::size_t(count), ReadOutcome());
        auto readShare = [&](int worker) {
            for (int k = worker; k < count; k += workers) {
                const int member = start + k;
                batch[std::size_t(k)] = ResultFile::readFile(base + names[member], key, member == total - 1);
            }
        };
        {
            std::vector<std::jthread> helpers;
            for (int worker = 1; worker < std::min(workers, count); ++worker)
                helpers.emplace_back(readShare, worker);
            readShare(0);
        }
        for (int k = 0; k < count; ++k) {
            const ReadOutcome &member = batch[std::size_t(k)];
            if (!member.ok())
                return {std::nullopt, member.error + u'\n' + QDir::toNativeSeparators(base + names[start + k]), false};
            const ResultRecord &record = *member.record;
            ++group.memberCount;
            for (std::size_t j = 0; j < group.indexScores.size(); ++j)
                group.indexScores[j] = group.indexScores[j] + record.indexScores[j];
            for (std::size_t j = 0; j < group.itemScores.size(); ++j)
                group.itemScores[j] = group.itemScores[j] + record.itemScores[j];
            group.memberNames << record.name;
        }
        if (start + count == total)
            group.lastPlainText = batch.back().record->plainText;
        if (progress && !progress(group.memberCount, total))
            return {std::nullopt, QString(), true};
    }
    for (double &sum : group.indexScores)
        sum /= group.memberCount;
    for (double &sum : group.itemScores)
        sum /= group.memberCount;
    return {std::move(group), QString(), false};
}

QString emptyFolderMessage(const QString &folder)
{
    return QStringLiteral("В папке %1 нет файлов результатов (*.cry).")
        .arg(QDir::toNativeSeparators(folder));
}

} // namespace Group
