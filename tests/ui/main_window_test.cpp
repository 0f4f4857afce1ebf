// The main window: start state, tab changes, About, the controls built from
// the templates, and the order of things when it closes.
#include "core/ccore.h"
#include "core/config_store.h"
#include "core/gbk.h"
#include "platform/dialog/controls.h"
#include "res/templates.h"
#include "support/recording_boxes.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <array>
#include <csignal>
#include <memory>

namespace {
class MainWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CGeneratorApp::ConfigureApplication(); }
    void SetUp() override
    {
        dlg = std::make_unique<CGeneratorDlg>();
        dlg->Create(nullptr);
        dlg->show();
    }
    void TearDown() override
    {
        dlg.reset();
        CGeneratorApp::ReleaseCoreObjects();
    }
    std::array<CDialog*, 3> pages() { return {&dlg->stringPage(), &dlg->numberPage(), &dlg->timePage()}; }
    // The index of the one visible page; -1 for none, -2 for more than one.
    int visiblePage()
    {
        int found = -1;
        for (int i = 0; i < 3; ++i)
            if (pages()[i]->isVisible())
                found = found == -1 ? i : -2;
        return found;
    }
    QString description() { return dlg->itemText(1000); }

    std::unique_ptr<CGeneratorDlg> dlg;
};

bool isKind(QWidget* w, ControlKind kind)
{
    switch (kind) {
    case ControlKind::CheckBox: return dynamic_cast<QCheckBox*>(w);
    case ControlKind::Edit: return dynamic_cast<QLineEdit*>(w) && !dynamic_cast<DigitEdit*>(w);
    case ControlKind::DigitEdit: return dynamic_cast<DigitEdit*>(w);
    case ControlKind::OutputEdit: return dynamic_cast<QPlainTextEdit*>(w);
    case ControlKind::PushButton: return dynamic_cast<QPushButton*>(w);
    case ControlKind::Static: return dynamic_cast<QLabel*>(w);
    case ControlKind::TabControl: return dynamic_cast<CTabCtrl*>(w);
    }
    return false;
}

// Every control of d against its template row: kind, id, text, state,
// converted geometry, text fitting its box, and the tab order.
void expectBuiltFromTemplate(CDialog& d)
{
    const DialogTemplate& t = d.dialogTemplate();
    SCOPED_TRACE(t.id);
    ASSERT_EQ(d.controls().size(), t.controls.size());
    const DialogUnits& u = d.units();
    const QRect client = d.rect();
    std::vector<QWidget*> tabStops;
    for (std::size_t i = 0; i < t.controls.size(); ++i) {
        const ControlDef& def = t.controls[i];
        QWidget* w = d.controls()[i].widget;
        SCOPED_TRACE(QString::fromUtf8(def.text).toStdString() + " #" + std::to_string(def.id));
        EXPECT_EQ(d.controls()[i].def, &def);
        EXPECT_TRUE(isKind(w, def.kind));
        if (def.id != kNoId) {
            EXPECT_EQ(d.GetDlgItem(def.id), w);
        }
        // The string page's list boxes follow their check boxes from the start.
        const bool followsOptions = t.id == 129 && (def.id == 1009 || def.id == 1013);
        if (!followsOptions) {
            EXPECT_EQ(w->isEnabled(), !(def.style & cs::Disabled));
        }
        const QRect want = u.rect(def.x, def.y, def.w, def.h);
        EXPECT_EQ(w->x(), want.x());
        EXPECT_EQ(w->width(), want.width());
        EXPECT_GE(w->height(), want.height());
        EXPECT_LE(std::abs(w->geometry().center().y() - want.center().y()), 1);
        EXPECT_TRUE(client.contains(want)) << "outside the window";
        const QFontMetrics fm = w->fontMetrics();
        const QString text = QString::fromUtf8(def.text);
        if (def.kind == ControlKind::Static || def.kind == ControlKind::CheckBox) {
            EXPECT_LE(w->sizeHint().width(), w->width()) << "text cut";
            EXPECT_LE(fm.height(), w->height()) << "text cut";
        }
        if (auto* label = dynamic_cast<QLabel*>(w); label && def.id == kNoId) {
            EXPECT_EQ(label->text(), text); // 1000 is rewritten at start
        }
        if (auto* b = dynamic_cast<QAbstractButton*>(w)) {
            EXPECT_EQ(b->text(), text);
            EXPECT_LE(fm.horizontalAdvance(text) + 8, w->width()) << "text cut";
        }
        if (def.style & cs::TabStop)
            tabStops.push_back(w);
    }
    // The focus chain meets the tab stops in template order.
    std::vector<QWidget*> chain;
    QWidget* start = d.window();
    for (QWidget* w = start->nextInFocusChain(); w != start; w = w->nextInFocusChain())
        if (std::find(tabStops.begin(), tabStops.end(), w) != tabStops.end())
            chain.push_back(w);
    EXPECT_EQ(chain, tabStops);
    for (QWidget* w : tabStops)
        EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus);
}
} // namespace

TEST_F(MainWindow, StartsOnTheStringTabWithItsDescription)
{
    ASSERT_NE(g_core, nullptr);
    ASSERT_NE(g_soft, nullptr);
    CTabCtrl* tab = dlg->tabCtrl();
    ASSERT_EQ(tab->GetItemCount(), 3);
    EXPECT_EQ(tab->tabBar()->tabText(0), QStringLiteral("字符串"));
    EXPECT_EQ(tab->tabBar()->tabText(1), QStringLiteral("数字"));
    EXPECT_EQ(tab->tabBar()->tabText(2), QStringLiteral("时间"));
    EXPECT_EQ(tab->GetCurSel(), 0);
    EXPECT_EQ(visiblePage(), 0);
    EXPECT_EQ(description(), QStringLiteral("随机密码、用户名、域名、手机号码等"));

    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Kelvane "));
    EXPECT_FALSE(dlg->windowIcon().isNull());
    EXPECT_EQ(dlg->minimumSize(), dlg->maximumSize()); // not resizable
    EXPECT_TRUE(dlg->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(dlg->windowFlags() & Qt::WindowMaximizeButtonHint);

    // The pages cover the tab control's area inside its frame and tab row.
    const QRect area = tab->rect().adjusted(1, 21, -3, -3);
    for (CDialog* page : pages()) {
        EXPECT_EQ(page->parentWidget(), tab);
        EXPECT_EQ(page->geometry(), area);
    }
    EXPECT_EQ(dlg->stringPage().dialogTemplate().id, 129);
    EXPECT_EQ(dlg->numberPage().dialogTemplate().id, 130);
    EXPECT_EQ(dlg->timePage().dialogTemplate().id, 131);
}

TEST_F(MainWindow, EachTabShowsExactlyItsPageAndRewritesTheDescription)
{
    QTabBar* bar = dlg->tabCtrl()->tabBar();
    for (int i : {2, 1, 0, 2}) {
        dlg->setItemText(1000, QStringLiteral("old"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
        EXPECT_EQ(dlg->tabCtrl()->GetCurSel(), i);
        EXPECT_EQ(visiblePage(), i);
        EXPECT_EQ(description(), CGeneratorDlg::tabDescription(i));
    }
    EXPECT_EQ(CGeneratorDlg::tabDescription(1), QStringLiteral("指定数值范围内的整形、浮点数等"));
    EXPECT_EQ(CGeneratorDlg::tabDescription(2), QStringLiteral("不定时日期数值，并可执行命令行外部程序"));

    // The keyboard moves between tabs as well.
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    QTest::keyClick(dlg.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(visiblePage(), 0);
    EXPECT_EQ(description(), CGeneratorDlg::tabDescription(0));
}

TEST_F(MainWindow, NoSelectionEmptiesTheDescriptionAndLeavesThePages)
{
    dlg->ShowTab(1);
    dlg->ShowTab(-1);
    EXPECT_EQ(visiblePage(), 1);
    EXPECT_EQ(description(), QString());
    dlg->ShowTab(3);
    EXPECT_EQ(visiblePage(), 1);
}

TEST_F(MainWindow, AboutShowsTheAboutInformation)
{
    RecordingBoxes boxes;
    QTest::mouseClick(dlg->item<QPushButton>(1031), Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::About);
    EXPECT_TRUE(boxes.shown[0].text.contains(QString::fromUtf8(KELVANE_VERSION)));
    EXPECT_TRUE(boxes.shown[0].text.contains(gbk::decode(g_soft->name)));
}

TEST_F(MainWindow, ControlsAreBuiltFromTheirTemplates)
{
    expectBuiltFromTemplate(*dlg);
    for (CDialog* page : pages())
        expectBuiltFromTemplate(*page);
    // Ids within a template are unique, so every id addresses one control.
    for (int id : {102, 129, 130, 131}) {
        const DialogTemplate* t = findDialogTemplate(id);
        ASSERT_NE(t, nullptr);
        std::vector<int> ids;
        for (const ControlDef& c : t->controls)
            if (c.id != kNoId)
                ids.push_back(c.id);
        std::sort(ids.begin(), ids.end());
        EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end()) << id;
    }
    EXPECT_EQ(findDialogTemplate(999), nullptr);
}

TEST(MainWindowLife, ClosingStoresEveryPageBeforeTheCoreIsReleased)
{
    CGeneratorApp::ConfigureApplication();
    QFile::remove(ConfigStore::defaultPath());
    std::vector<std::pair<int, bool>> seen;
    CDialog::setDestroyObserver([&](CDialog& d) {
        const int id = d.dialogTemplate().id;
        seen.emplace_back(id, g_core && g_soft);
        if (g_core)
            g_core->saveConfigStr("closed" + std::to_string(id), "1");
    });
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = dynamic_cast<CGeneratorDlg*>(w); d && d->isVisible())
                d->close();
    });
    CGeneratorApp app;
    EXPECT_EQ(app.InitInstance(), FALSE);
    CDialog::setDestroyObserver(nullptr);

    EXPECT_EQ(g_core, nullptr);
    EXPECT_EQ(g_soft, nullptr);
    const std::vector<std::pair<int, bool>> order{{102, true}, {129, true}, {130, true}, {131, true}};
    EXPECT_EQ(seen, order);
    ConfigStore store(ConfigStore::defaultPath());
    for (int id : {129, 130, 131})
        EXPECT_EQ(store.getStr("closed" + std::to_string(id)), "1") << id;
}

TEST(Program, SaysSoWhenNoDisplayIsAvailable)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KELVANE_BUILD_DIR "/app/kelvane"), {});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().contains("DISPLAY"));
}

TEST(Program, EndsTheOrdinaryWayOnTerminate)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KELVANE_BUILD_DIR "/app/kelvane"), {});
    ASSERT_TRUE(p.waitForStarted(10000));
    // Wait until the program catches SIGTERM (bit 15 of SigCgt); its window
    // handles the signal once its event loop runs.
    const QString status = QStringLiteral("/proc/%1/status").arg(p.processId());
    const auto catchesTerm = [&] {
        QFile f(status);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        for (const QByteArray& line : f.readAll().split('\n'))
            if (line.startsWith("SigCgt:"))
                return ((line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1) != 0;
        return false;
    };
    ASSERT_TRUE(QTest::qWaitFor(catchesTerm, 20000));
    p.terminate(); // SIGTERM
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
}
