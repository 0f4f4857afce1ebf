// Saves a picture of the main window on each tab (<build>/screenshots), so
// the layout can be looked at without a display.
#include "platform/dialog/controls.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPixmap>

TEST(Screenshots, EachTabIsSaved)
{
    CGeneratorApp::ConfigureApplication();
    const QString dir = QStringLiteral(KELVANE_BUILD_DIR "/screenshots");
    ASSERT_TRUE(QDir().mkpath(dir));
    {
        CGeneratorDlg dlg;
        dlg.Create(nullptr);
        dlg.show();
        for (int i = 0; i < 3; ++i) {
            dlg.tabCtrl()->SetCurSel(i);
            dlg.ShowTab(i);
            QApplication::processEvents();
            const QPixmap shot = dlg.grab();
            EXPECT_EQ(shot.size(), dlg.size());
            EXPECT_TRUE(shot.save(dir + QStringLiteral("/tab-%1.png").arg(i)));
        }
    }
    CGeneratorApp::ReleaseCoreObjects();
}
