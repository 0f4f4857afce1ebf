#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace {
const QString kFallback = QStringLiteral("zh_CN");

// English is the language Qt's texts are written in: nothing to load, and
// the Chinese fallback suits the window better.
bool worthLoading(const QString& uiLanguage)
{
    const QLocale l(uiLanguage);
    return l.language() != QLocale::English && l.language() != QLocale::C;
}
} // namespace

QString installQtTranslations(const QLocale& locale, const QString& folder)
{
    if (!QCoreApplication::instance())
        return {};
    QStringList languages;
    for (const QString& lang : locale.uiLanguages())
        if (worthLoading(lang))
            languages << QString(lang).replace(QLatin1Char('-'), QLatin1Char('_'));
    languages << kFallback;

    auto* translator = new QTranslator(QCoreApplication::instance());
    for (const QString& lang : languages) {
        // load() also tries the name cut at '_' ("qtbase_de_AT" -> "qtbase_de").
        if (translator->load(QStringLiteral("qtbase_") + lang, folder) && QCoreApplication::installTranslator(translator))
            return QFileInfo(translator->filePath()).completeBaseName();
    }
    delete translator;
    return {};
}

QString installQtTranslations()
{
    return installQtTranslations(QLocale::system(), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}
