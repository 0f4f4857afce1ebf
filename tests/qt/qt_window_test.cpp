// The Qt back end's own details: controls built from the templates in
// pixels, digits-only typing, the fast output box, the main window's frame,
// closing by the close button, and the program as a process.
#include "core/ccore.h"
#include "core/gbk.h"
#include "core/soft.h"
#include "platform/dialog_driver.h"
#include "platform/qt/controls.h"
#include "platform/qt/dialog_window.h"
#include "platform/qt/plain_text.h"
#include "platform/presenter.h"
#include "res/resource.h"
#include "res/templates.h"
#include "support/recording_boxes.h"
#include "support/scoped_core.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QComboBox>
#include <QFileDialog>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>

namespace {
// Every control of d against its row of table t: its Qt class, its box in
// dialog units converted to pixels, its text fitting that box, and the tab
// order. (Ids, texts and states are the dialog layer's, tested with it.)
void expectBuiltFrom(const CDialog& d, const DialogTemplate& t)
{
    SCOPED_TRACE(t.id);
    const auto& controls = qtdlg::controls(d);
    ASSERT_EQ(controls.size(), t.controls.size());
    const DialogUnits units = qtdlg::units(d);
    std::vector<QWidget*> tabStops;
    for (std::size_t i = 0; i < t.controls.size(); ++i) {
        const ControlDef& def = t.controls[i];
        QWidget* w = controls[i].widget;
        const QString text = QString::fromUtf8(def.text);
        SCOPED_TRACE(text.toStdString() + " #" + std::to_string(def.id));
        const QRect want = units.rect(def.x, def.y, def.w, def.h);
        EXPECT_EQ(std::pair(w->x(), w->width()), std::pair(want.x(), want.width()));
        EXPECT_GE(w->height(), want.height());
        EXPECT_LE(std::abs(w->geometry().center().y() - want.center().y()), 1);
        if (w->inherits("QLabel") || w->inherits("QAbstractButton")) {
            const bool button = def.kind == ControlKind::PushButton; // its size hint has a minimum width
            EXPECT_LE(button ? w->fontMetrics().horizontalAdvance(text) + 8 : w->sizeHint().width(), w->width())
                << "text cut";
            EXPECT_LE(w->fontMetrics().height(), w->height()) << "text cut";
        }
        if (def.style & cs::TabStop)
            tabStops.push_back(w);
    }
    // The focus chain meets the tab stops in template order.
    QWidget* window = qtdlg::widget(d)->window();
    std::vector<QWidget*> chain;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if (std::find(tabStops.begin(), tabStops.end(), w) != tabStops.end() && (w->focusPolicy() & Qt::TabFocus))
            chain.push_back(w);
    EXPECT_EQ(chain, tabStops);
}
} // namespace

TEST(QtMainWindow, BuildsEveryTemplateInDialogUnitsWithAFixedFrameAndTheKeyboardMovesTabs)
{
    {
        CGeneratorDlg dlg;
        dlg.Create();
        dlg.ShowWindow(true);
        QWidget* w = qtdlg::widget(dlg);
        EXPECT_EQ(w->size(), QSize(530, 483)); // 353 x 322 units of 6 x 12 pixels
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Kelvane "));
        EXPECT_FALSE(w->windowIcon().isNull());
        EXPECT_EQ(w->minimumSize(), w->maximumSize()); // not resizable
        EXPECT_EQ(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint),
                  Qt::WindowMinimizeButtonHint);
        auto* tab = qtdlg::item<TabControl>(dlg, idc::main::tab);
        const QStringList labels{tab->tabBar()->tabText(0), tab->tabBar()->tabText(1), tab->tabBar()->tabText(2)};
        EXPECT_EQ(labels, (QStringList{"字符串", "数字", "时间"}));
        // The pages cover the tab control's area inside its frame and tab row.
        for (CDialog* page : {static_cast<CDialog*>(&dlg.stringPage()), static_cast<CDialog*>(&dlg.numberPage()),
                              static_cast<CDialog*>(&dlg.timePage())}) {
            EXPECT_EQ(qtdlg::widget(*page)->parentWidget(), tab);
            EXPECT_EQ(qtdlg::widget(*page)->geometry(), tab->rect().adjusted(1, 21, -3, -3));
        }
        expectBuiltFrom(dlg, kGeneratorDialogTemplate);
        expectBuiltFrom(dlg.stringPage(), kStringPageTemplate);
        expectBuiltFrom(dlg.numberPage(), kNumberPageTemplate);
        expectBuiltFrom(dlg.timePage(), kTimePageTemplate);

        QTest::mouseClick(tab->tabBar(), Qt::LeftButton, {}, tab->tabBar()->tabRect(2).center());
        EXPECT_TRUE(dlg.timePage().IsWindowVisible());
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_TRUE(dlg.stringPage().IsWindowVisible());
        EXPECT_EQ(dlg.GetDlgItemTextUtf8(idc::main::description), "随机密码、用户名、域名、手机号码等");
    }
    CGeneratorApp::ReleaseCoreObjects();
}

TEST(QtControls, DigitEditsTakeTypedDigitsOnlyAndEnterPressesTheFocusedButton)
{
    struct Probe : CDialog {
        Probe() : CDialog(kNumberPageTemplate) {}
        int clicks = 0;
        void OnClick() { ++clicks; }
        std::span<const MessageEntry> GetMessageMap() const override
        {
            static const MessageEntry map[] = {{1024, Notify::Clicked, &Probe::OnClick}};
            return map;
        }
    } p;
    p.Create();
    p.ShowWindow(true);
    auto* button = qtdlg::item<QPushButton>(p, 1024);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(p.clicks, 1);

    auto* digits = qtdlg::item<QLineEdit>(p, 1022);
    digits->setFocus();
    QTest::keyClicks(digits, "1a2-3.4 ");
    QTest::keyClick(digits, Qt::Key_Backspace);
    EXPECT_EQ(digits->text(), QStringLiteral("123"));
    digits->clear();
    QApplication::clipboard()->setText(QStringLiteral("-12ab😀"));
    digits->paste(); // pasted text of any kind, read as atoi reads it
    EXPECT_EQ(p.GetDlgItemAtoi(1022), -12);
}

// The box keeps many rows to a block, parted by line separators; on screen
// and read back it must still be one line per row.
TEST(QtControls, TheOutputBoxShowsOneLinePerRowInFewBlocks)
{
    ScopedCore core;
    CNumberPage page;
    page.Create();
    page.ShowWindow(true);
    QPlainTextEdit& box = *qtdlg::item<QPlainTextEdit>(page, idc::number::output);
    QString rows = QStringLiteral("数字\n");
    for (int i = 1; i < 1000; ++i)
        rows += QString::number(i * 7) + (i % 3 ? QStringLiteral("\r\n") : QStringLiteral("\n"));
    QPlainTextEdit reference(qtdlg::widget(page)); // a box given the text the plain way
    reference.setGeometry(box.geometry());
    reference.setLineWrapMode(QPlainTextEdit::NoWrap);
    reference.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reference.show();
    setPlainTextFast(box, rows);
    rows += QStringLiteral("7000\n"); // a run one row longer, in as many blocks
    setPlainTextFast(box, rows);
    reference.setPlainText(rows);
    QApplication::processEvents();
    EXPECT_EQ(box.document()->lineCount(), 1002);
    EXPECT_EQ(box.verticalScrollBar()->maximum(), reference.verticalScrollBar()->maximum());
    EXPECT_LT(box.document()->blockCount(), 1000 / 64 + 3);
    EXPECT_FALSE(box.document()->isUndoAvailable());
    const QString crlf =
        QString(rows).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    EXPECT_EQ(QString::fromStdString(page.GetDlgItemTextUtf8(idc::number::output)), crlf);
    page.DestroyWindow();
}

// The real boxes, one of each kind: what the user sees (caption, text, the
// one button, the icon), the owner window, and a click on the button ends the box.
// Export through the real save dialog, as a user fills it in: what it offers
// first, the suggested name, the filter choosing the file's encoding, a
// bare name getting ".txt", and a question before an existing file is replaced.
namespace {
struct SaveDialogSeen {
    QStringList filters;
    QString selected, name;
    QString question; // the box shown on accepting, if any
};
// Runs act on the save dialog once it is up, recording what it showed; a
// question box it raises is answered with answer.
void onSaveDialog(SaveDialogSeen& seen, const std::function<void(QFileDialog&)>& act,
                  QMessageBox::StandardButton answer = QMessageBox::No)
{
    QTimer::singleShot(0, [&seen, act, answer] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dlg);
        seen.filters = dlg->nameFilters();
        seen.selected = dlg->selectedNameFilter();
        seen.name = dlg->findChild<QLineEdit*>("fileNameEdit")->text();
        QTimer::singleShot(0, [&seen, answer] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen.question = box->text();
                box->button(answer)->click();
            }
        });
        act(*dlg);
        if (dlg->isVisible())
            dlg->reject();
    });
}
} // namespace

TEST(QtSaveDialog, FilterSetsTheEncodingBareNamesGetTxtAndReplacingAsksFirst)
{
    ScopedCore core;
    TempDir home;
    ScopedEnv homeEnv("HOME", home.path().c_str());
    CNumberPage numbers;
    numbers.Create();
    const QString gbkFilter = QStringLiteral("GBK 文本 (*.txt)"), utf8Filter = QStringLiteral("UTF-8 文本 (*.txt)");
    const auto pickAndType = [](int filter, const QString& name) {
        return [filter, name](QFileDialog& dlg) {
            auto* combo = dlg.findChild<QComboBox*>("fileTypeCombo");
            combo->setCurrentIndex(filter);
            emit combo->activated(filter);
            dlg.findChild<QLineEdit*>("fileNameEdit")->setText(name);
            QMetaObject::invokeMethod(&dlg, "accept");
        };
    };
    drive::type(numbers, idc::number::output, "数字\r\n1");
    const std::string path = home.filePath("bare.txt");

    // The UTF-8 filter and a bare name: "bare.txt" in the home folder, UTF-8.
    SaveDialogSeen seen;
    onSaveDialog(seen, pickAndType(1, "bare"));
    drive::click(numbers, idc::number::exportText);
    EXPECT_EQ(seen.filters, (QStringList{gbkFilter, utf8Filter}));
    EXPECT_EQ(seen.selected, gbkFilter);
    EXPECT_EQ(seen.name, QStringLiteral("随机数字.txt"));
    EXPECT_EQ(readFile(path), "数字\r\n1");

    // The GBK filter over it: asked first; "No" keeps the file, "Yes" replaces it in GBK.
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        seen = {};
        onSaveDialog(seen, pickAndType(0, "bare"), answer);
        drive::click(numbers, idc::number::exportText);
        EXPECT_TRUE(seen.question.contains("bare.txt")) << seen.question.toStdString();
    }
    EXPECT_EQ(readFile(path), *gbk::fromUtf8("数字\r\n1"));

    numbers.DestroyWindow();
}

TEST(QtBoxes, RealBoxesShowCaptionIconAndOkButtonAndEndOnTheClick)
{
    ScopedCore core;
    core->setPresenter(&DialogPresenter::instance());
    tagSoft soft;
    fillSoft(&soft);
    CDialog owner(kNumberPageTemplate);
    owner.Create();
    owner.ShowWindow(true);
    // caption|text|buttons|icon: "-" none, "std" the standard one, or the picture's width|owned by owner
    const auto describe = [&](const QMessageBox& box) {
        QStringList buttons;
        for (const QAbstractButton* b : box.buttons())
            buttons << b->text();
        const QSize px = box.iconPixmap().size();
        const QString icon = px.isEmpty() ? "-" : box.icon() != QMessageBox::NoIcon ? "std" : QString::number(px.width());
        return QStringList{box.windowTitle(), box.text(), buttons.join('+'), icon,
                           box.parentWidget() == qtdlg::widget(owner) ? "owned" : "not owned"}
            .join('|')
            .toStdString();
    };
    const std::string about = DialogPresenter::aboutText(soft);
    const struct {
        std::function<void()> show;
        std::string seen;
    } cases[] = {
        {[&] { owner.MessageBox(gbk::lit("生成成功！")); }, "|生成成功！|确定|-|owned"},
        {[&] { g_core->msgboxWarning(owner.GetSafeHwnd(), gbk::lit("生成个数设定无效！")); },
         "警告|生成个数设定无效！|确定|std|owned"},
        {[&] { g_core->uu(OPR_ABOUT, &soft, ""); }, "关于 Kelvane|" + about + "|确定|48|"},
    };
    for (const auto& c : cases) {
        std::string seen;
        int ticksAfterClick = -1;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            if (ticksAfterClick >= 0) { // the click did not end it: end it here
                if (++ticksAfterClick > 50) {
                    seen = "stuck";
                    box->done(0);
                }
                return;
            }
            seen = describe(*box);
            ticksAfterClick = 0;
            if (box->buttons().size() == 1)
                QTest::mouseClick(box->buttons()[0], Qt::LeftButton);
        });
        poll.start(10);
        c.show(); // returns once the box is gone
        poll.stop();
        EXPECT_TRUE(seen.starts_with(c.seen)) << seen; // the about box's owner is not checked
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

// A run of three events launches a temporary script at each.
TEST(QtTimeTab, ARunLaunchesTheProgramAtEachEvent)
{
    RecordingBoxes boxes;
    QTemporaryDir tmp;
    const QString marks = tmp.filePath("marks");
    QFile script(tmp.filePath("event.sh"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho ran >> '%1'\n").arg(marks).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    const auto runs = [&] {
        QFile f(marks);
        return f.open(QIODevice::ReadOnly) ? f.readAll().count("ran\n") : 0;
    };
    {
        CGeneratorDlg dlg;
        dlg.Create();
        CTimePage& page = dlg.timePage();
        page.CheckDlgButton(idc::time::isProgram, 1);
        drive::type(page, idc::time::program, script.fileName().toStdString());
        for (int f : {idc::time::minDelay, idc::time::maxDelay})
            drive::type(page, f, "0");
        drive::type(page, idc::time::count, "3");
        drive::click(page, idc::time::generate);
        ASSERT_TRUE(QTest::qWaitFor([&] { return runs() == 3; }, 10000));
        QTest::qWait(200); // and no more
        EXPECT_EQ(runs(), 3);
    }
    CGeneratorApp::ReleaseCoreObjects();
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

    // Ended by the system, it stores every page's options as a close does:
    // the count it loaded, and the options the store did not hold yet.
    QTemporaryDir config;
    QDir().mkpath(config.filePath("Kelvane"));
    const QString ini = config.filePath("Kelvane/Kelvane.ini");
    ASSERT_TRUE(writeFile(ini.toStdString(), "[General]\ncount_int=77\n"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
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
    const std::string stored = readFile(ini.toStdString());
    for (const char* line : {"count_int=77\n", "isUCase=1\n", "len_max_str=16\n", "count_time=5\n"})
        EXPECT_NE(stored.find(line), std::string::npos) << line << " in " << stored;
}
