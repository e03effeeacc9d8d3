#pragma once
// What the program sets on the application before its window opens: its name and version, and Qt's
// own texts (the standard file dialogs, their overwrite question, the message-box buttons) in Russian
// where the user's language is Russian, the language of the program's own texts.

#include <QLocale>
#include <QStringList>

class QCoreApplication;

namespace Application {

// Names the application and loads Qt's Russian translation for a Russian locale. No display name
// is set: Qt would append it to every window title, which must read exactly as the program sets it.
void configure(QCoreApplication &app, const QLocale &locale = QLocale::system());

// The folders searched for qtbase_ru.qm, in order: "translations" beside the program (the build
// tree and the Windows copy), the installed data folder, then Qt's own translations.
QStringList translationFolders(const QString &appDir);

// Installs Qt's Russian translation when locale's language is Russian; true when it was loaded.
bool installQtTranslation(QCoreApplication &app, const QLocale &locale);

} // namespace Application
