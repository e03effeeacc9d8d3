#include "Translations.h"

#include <QCoreApplication>
#include <QTranslator>

namespace Translations {

bool installRussian(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral(":/translations/zolk_ru.qm"))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

bool isRussian(const QLocale &locale)
{
    return locale.language() == QLocale::Russian;
}

} // namespace Translations
