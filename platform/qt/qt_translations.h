#pragma once
// Qt's own texts (the file dialog, the boxes' buttons, the text boxes'
// context menus) in the system's language, or in Simplified Chinese where Qt
// has no translation for it or the language is English: the window itself
// is Chinese, and English labels inside it are what this avoids.
#include <QLocale>
#include <QString>

// Installs the qtbase translation for locale from folder (normally Qt's
// translations folder) into the running application. Returns the base name
// of the file loaded ("qtbase_zh_CN"), or the empty text when none could be.
QString installQtTranslations(const QLocale& locale, const QString& folder);

// The same for the system's locale and Qt's translations folder.
QString installQtTranslations();
