#include "RecentFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace RecentFolders {
namespace {

QString key(const QString &kind)
{
    return QStringLiteral("Folders/") + kind;
}

// The same INI file as the report's title block.
std::unique_ptr<QSettings> settings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::organizationName(),
                                       QCoreApplication::applicationName());
}

} // namespace

QString start(const QString &kind, const QString &fallback)
{
    const QString kept = settings()->value(key(kind)).toString();
    return !kept.isEmpty() && QFileInfo(kept).isDir() ? QDir::fromNativeSeparators(kept) : fallback;
}

void remember(const QString &kind, const QString &chosen)
{
    if (chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    const QString folder = chosen.endsWith(u'/') || info.isDir() ? QDir(chosen).absolutePath() : info.absolutePath();
    settings()->setValue(key(kind), QDir::toNativeSeparators(folder));
}

} // namespace RecentFolders
