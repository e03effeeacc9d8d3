#include "Group.h"

#include "ResultFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

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
    GroupProfile group;
    group.memberNames.reserve(names.size());
    const QString base = folder.isEmpty() || folder.endsWith(u'/') ? folder : folder + u'/';
    const int total = int(names.size());
    for (const QString &name : names) {
        const QString path = base + name;
        ReadOutcome member = ResultFile::readFile(path, key);
        if (!member.ok())
            return {std::nullopt, member.error + u'\n' + QDir::toNativeSeparators(path), false};
        const ResultRecord &record = *member.record;
        ++group.memberCount;
        for (std::size_t k = 0; k < group.indexScores.size(); ++k)
            group.indexScores[k] = group.indexScores[k] + record.indexScores[k];
        for (std::size_t k = 0; k < group.itemScores.size(); ++k)
            group.itemScores[k] = group.itemScores[k] + record.itemScores[k];
        group.memberNames << record.name;
        if (group.memberCount == total)
            group.lastPlainText = record.plainText;
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
