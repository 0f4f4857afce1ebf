// The main window: start state, tab changes, About, the controls built from
// the templates, and the order of things when it closes.
#include "core/ccore.h"
#include "core/gbk.h"
#include "core/qt/qgbk.h"
#include "platform/dialog/controls.h"
#include "res/templates.h"
#include "support/recording_boxes.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
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
        dlg->Create(nullptr);
        dlg->show();
    }
    void TearDown() override
    {
        dlg.reset();
        CGeneratorApp::ReleaseCoreObjects();
    }
    std::array<CDialog*, 3> pages() { return {&dlg->stringPage(), &dlg->numberPage(), &dlg->timePage()}; }
    // Which pages are visible, and the description.
    std::pair<QList<bool>, QString> shown()
    {
        const auto p = pages();
        return {{p[0]->isVisible(), p[1]->isVisible(), p[2]->isVisible()}, dlg->itemText(1000)};
    }

    std::unique_ptr<CGeneratorDlg> dlg = std::make_unique<CGeneratorDlg>();
};

// Every control of d against its row of table t: kind, id, text,
// state, converted geometry, text fitting its box, and the tab order.
void expectBuiltFrom(CDialog& d, const DialogTemplate& t)
{
    SCOPED_TRACE(t.id);
    ASSERT_EQ(&d.dialogTemplate(), &t);
    ASSERT_EQ(d.controls().size(), t.controls.size());
    // The Qt class of each ControlKind, in its order (the layer's own two have no class name of their own).
    static const char* const kClass[] = {"QCheckBox",   "QLineEdit", "QLineEdit", "QPlainTextEdit",
                                         "QPushButton", "QLabel",    "QWidget"};
    std::vector<QWidget*> tabStops;
    for (std::size_t i = 0; i < t.controls.size(); ++i) {
        const ControlDef& def = t.controls[i];
        QWidget* w = d.controls()[i].widget;
        const QString text = QString::fromUtf8(def.text);
        SCOPED_TRACE(text.toStdString() + " #" + std::to_string(def.id));
        EXPECT_STREQ(w->metaObject()->className(), kClass[int(def.kind)]);
        EXPECT_EQ(dynamic_cast<DigitEdit*>(w) != nullptr, def.kind == ControlKind::DigitEdit);
        EXPECT_EQ(d.GetDlgItem(def.id), def.id == kNoId ? nullptr : w);
        if (t.id != 129 || (def.id != 1009 && def.id != 1013)) { // these follow their check boxes from the start
            EXPECT_EQ(w->isEnabled(), !(def.style & cs::Disabled));
        }
        const QRect want = d.units().rect(def.x, def.y, def.w, def.h);
        EXPECT_EQ(std::pair(w->x(), w->width()), std::pair(want.x(), want.width()));
        EXPECT_GE(w->height(), want.height());
        EXPECT_LE(std::abs(w->geometry().center().y() - want.center().y()), 1);
        EXPECT_TRUE(d.rect().contains(want)) << "outside the window";
        if (w->inherits("QLabel") || w->inherits("QAbstractButton")) {
            if (def.id != 1000) { // the description, set at start
                EXPECT_EQ(w->property("text").toString(), text);
            }
            const bool button = def.kind == ControlKind::PushButton; // its size hint has a minimum width
            EXPECT_LE(button ? w->fontMetrics().horizontalAdvance(text) + 8 : w->sizeHint().width(), w->width())
                << "text cut";
            EXPECT_LE(w->fontMetrics().height(), w->height()) << "text cut";
        }
        if (def.style & cs::TabStop) {
            EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus);
            tabStops.push_back(w);
        }
    }
    // The focus chain meets the tab stops in template order.
    std::vector<QWidget*> chain;
    for (QWidget* w = d.window()->nextInFocusChain(); w != d.window(); w = w->nextInFocusChain())
        if (std::find(tabStops.begin(), tabStops.end(), w) != tabStops.end())
            chain.push_back(w);
    EXPECT_EQ(chain, tabStops);
}
} // namespace

TEST_F(MainWindow, StartsOnTheStringTabAndBuildsEveryTemplate)
{
    ASSERT_TRUE(g_core && g_soft);
    CTabCtrl* tab = dlg->tabCtrl();
    const QStringList labels{tab->tabBar()->tabText(0), tab->tabBar()->tabText(1), tab->tabBar()->tabText(2)};
    EXPECT_EQ(std::pair(tab->GetItemCount(), labels), std::pair(3, QStringList{"字符串", "数字", "时间"}));
    EXPECT_EQ(tab->GetCurSel(), 0);
    EXPECT_EQ(shown(), std::pair(QList<bool>{true, false, false}, QStringLiteral("随机密码、用户名、域名、手机号码等")));
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Kelvane "));
    EXPECT_FALSE(dlg->windowIcon().isNull());
    EXPECT_EQ(dlg->minimumSize(), dlg->maximumSize()); // not resizable
    const auto frameButtons = dlg->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(frameButtons, Qt::WindowMinimizeButtonHint);
    // The pages cover the tab control's area inside its frame and tab row.
    for (CDialog* page : pages()) {
        EXPECT_EQ(page->parentWidget(), tab);
        EXPECT_EQ(page->geometry(), tab->rect().adjusted(1, 21, -3, -3));
    }
    expectBuiltFrom(*dlg, kGeneratorDialogTemplate);
    expectBuiltFrom(dlg->stringPage(), kStringPageTemplate);
    expectBuiltFrom(dlg->numberPage(), kNumberPageTemplate);
    expectBuiltFrom(dlg->timePage(), kTimePageTemplate);
}

TEST_F(MainWindow, EachTabShowsOnlyItsPageAndDescriptionAndAboutShowsTheAboutBox)
{
    const QString descriptions[] = {QStringLiteral("随机密码、用户名、域名、手机号码等"),
                                    QStringLiteral("指定数值范围内的整形、浮点数等"),
                                    QStringLiteral("不定时日期数值，并可执行命令行外部程序")};
    QTabBar* bar = dlg->tabCtrl()->tabBar();
    for (int i : {2, 1, 0, 2}) {
        dlg->setItemText(1000, QStringLiteral("old"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
        EXPECT_EQ(dlg->tabCtrl()->GetCurSel(), i);
        EXPECT_EQ(shown(), std::pair(QList<bool>{i == 0, i == 1, i == 2}, descriptions[i]));
    }
    dlg->activateWindow(); // the keyboard moves between tabs as well
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    QTest::keyClick(dlg.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(shown(), std::pair(QList<bool>{true, false, false}, descriptions[0]));
    for (int none : {-1, 3}) { // no selection: the description goes, the pages stay
        dlg->ShowTab(1);
        dlg->ShowTab(none);
        EXPECT_EQ(shown(), std::pair(QList<bool>{false, true, false}, QString()));
    }

    RecordingBoxes boxes;
    QTest::mouseClick(dlg->item<QPushButton>(1031), Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::About);
    EXPECT_TRUE(boxes.shown[0].text.contains(QString::fromUtf8(KELVANE_VERSION)));
    EXPECT_TRUE(boxes.shown[0].text.contains(gbk::decode(g_soft->name)));
}

TEST(MainWindowLife, ClosingRunsEveryPagesDestroyHandlingBeforeTheCoreIsReleased)
{
    CGeneratorApp::ConfigureApplication();
    std::vector<std::pair<int, bool>> seen; // after each window's OnDestroy: whether the core objects still live
    CDialog::setDestroyObserver([&](CDialog& d) { seen.emplace_back(d.dialogTemplate().id, g_core && g_soft); });
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (dynamic_cast<CGeneratorDlg*>(w) && w->isVisible())
                w->close();
    });
    EXPECT_EQ(CGeneratorApp().InitInstance(), FALSE);
    CDialog::setDestroyObserver(nullptr);
    EXPECT_TRUE(!g_core && !g_soft);
    EXPECT_EQ(seen, (std::vector<std::pair<int, bool>>{{102, true}, {129, true}, {130, true}, {131, true}}));
}

TEST(Program, SaysSoWhenNoDisplayIsAvailableAndEndsTheOrdinaryWayOnTerminate)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KELVANE_BUILD_DIR "/app/kelvane"), {});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(std::pair(p.exitStatus(), p.exitCode()), std::pair(QProcess::NormalExit, 1));
    EXPECT_TRUE(p.readAllStandardError().contains("DISPLAY"));

    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KELVANE_BUILD_DIR "/app/kelvane"), {});
    ASSERT_TRUE(p.waitForStarted(10000));
    // Wait until it catches SIGTERM (bit 15 of SigCgt): its event loop runs.
    const auto catchesTerm = [&] {
        QFile f(QStringLiteral("/proc/%1/status").arg(p.processId()));
        const QByteArray s = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        const qsizetype at = s.indexOf("SigCgt:") + 7;
        return at >= 7 && (s.mid(at, s.indexOf('\n', at) - at).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    };
    ASSERT_TRUE(QTest::qWaitFor(catchesTerm, 20000));
    p.terminate();
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(std::pair(p.exitStatus(), p.exitCode()), std::pair(QProcess::NormalExit, 0));
}
