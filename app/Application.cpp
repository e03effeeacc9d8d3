#include "Application.h"

#include "Translations.h"
#include "Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace Application {

void configure(QCoreApplication &app, const QLocale &locale)
{
    QCoreApplication::setApplicationName(QStringLiteral("zolk-plot"));
    // Where the user's settings go (the report's title block): <configuration folder>/ZOLK/zolk-plot.ini.
    QCoreApplication::setOrganizationName(QStringLiteral("ZOLK"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZOLK_VERSION));
    // The window speaks Russian whatever the user's language: its own messages too.
    Translations::installRussian(app);
    installQtTranslation(app, locale);
}

QStringList translationFolders(const QString &appDir)
{
    const QDir dir(appDir);
    return {dir.filePath(QStringLiteral("translations")), dir.filePath(QStringLiteral("../share/zolk-plot/translations")),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool installQtTranslation(QCoreApplication &app, const QLocale &locale)
{
    if (locale.language() != QLocale::Russian)
        return false;
    auto *translator = new QTranslator(&app);
    for (const QString &folder : translationFolders(QCoreApplication::applicationDirPath())) {
        if (translator->load(QStringLiteral("qtbase_ru"), folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
    }
    delete translator;
    return false;
}

} // namespace Application
