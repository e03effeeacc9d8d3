#pragma once
// The program's own texts in Russian: the messages of reading and writing files, written in English
// in the code and translated through translations/zolk_ru.ts, which the build compiles into the
// program. The window always speaks Russian; zolk-cry does where the user's language is Russian.

#include <QLocale>

class QCoreApplication;

namespace Translations {

// Installs the Russian texts; true when they were found.
bool installRussian(QCoreApplication &app);
bool isRussian(const QLocale &locale);

} // namespace Translations
