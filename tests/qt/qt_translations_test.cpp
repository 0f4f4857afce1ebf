// Qt's own texts follow the system's language, and Chinese (the window's
// language) where Qt has no translation or the language is English.
#include "platform/qt/qt_translations.h"
#include "platform/save_file.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

namespace {
void removeTranslators()
{
    for (QTranslator* t : qApp->findChildren<QTranslator*>())
        delete t; // a deleted translator leaves the application by itself
}

QString translationsFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}
} // namespace

TEST(QtTranslations, LanguageOfTheSystemOrChinese)
{
    ASSERT_TRUE(QFile::exists(translationsFolder() + QStringLiteral("/qtbase_zh_CN.qm")))
        << "Qt's translations are missing (Debian package qt6-translations-l10n)";
    const struct {
        const char* locale;
        const char* loaded;
    } cases[] = {
        {"de_DE", "qtbase_de"},
        {"zh_TW", "qtbase_zh_TW"},
        {"zh_CN", "qtbase_zh_CN"},
        {"en_US", "qtbase_zh_CN"}, // English: Qt's own texts, so the window's language instead
        {"C", "qtbase_zh_CN"},
        {"sw_KE", "qtbase_zh_CN"}, // no translation of Qt for it
    };
    for (const auto& c : cases) {
        EXPECT_EQ(installQtTranslations(QLocale(QString::fromLatin1(c.locale)), translationsFolder()),
                  QString::fromLatin1(c.loaded))
            << c.locale;
        removeTranslators();
    }
}

TEST(QtTranslations, NothingToLoadLeavesNothingInstalled)
{
    QTemporaryDir empty;
    EXPECT_EQ(installQtTranslations(QLocale(QStringLiteral("de_DE")), empty.path()), QString());
    EXPECT_TRUE(qApp->findChildren<QTranslator*>().isEmpty());
}

TEST(QtTranslations, SaveDialogSpeaksChinese)
{
    ASSERT_EQ(installQtTranslations(QLocale::c(), translationsFolder()), QStringLiteral("qtbase_zh_CN"));
    QStringList buttons;
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        poll.stop();
        seen = true;
        for (const QPushButton* b : dlg->findChildren<QPushButton*>())
            if (b->isVisible())
                buttons << b->text().remove(QLatin1Char('&'));
        dlg->reject();
    });
    poll.start(20);
    const auto target = SaveFileService::current().ask(nullptr, "导出", "rows.txt");
    removeTranslators();

    ASSERT_TRUE(seen) << "the save dialog did not open";
    EXPECT_FALSE(target.has_value());
    EXPECT_TRUE(buttons.contains(QStringLiteral("保存(S)"))) << buttons.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("取消"))) << buttons.join(QLatin1Char('|')).toStdString();
}
