// The number page through its controls: start state and stored options,
// Generate with its boxes and output, the fast output box, and Export.
#include "core/config_store.h"
#include "core/gbk.h"
#include "platform/dialog/controls.h"
#include "platform/dialog/presenter.h"
#include "res/resource.h"
#include "support/recording_boxes.h"
#include "support/scoped_core.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"
#include "ui/number_page.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QTextBlock>

#include <memory>

namespace {
namespace id = idc::number;

class NumberPage : public ::testing::Test {
protected:
    void SetUp() override { core->setPresenter(&DialogPresenter::instance()); }
    // A page as the main window makes it, shown so that its box lays out.
    std::unique_ptr<CNumberPage> open()
    {
        auto page = std::make_unique<CNumberPage>();
        page->Create(nullptr);
        page->resize(660, 540);
        page->show();
        return page;
    }
    // The check boxes, then the texts of minimum, maximum, count and decimals.
    static void set(CNumberPage& p, int isInt, int isFloat, QStringList texts)
    {
        p.CheckDlgButton(id::isInt, isInt);
        p.CheckDlgButton(id::isFloat, isFloat);
        const int fields[] = {id::rangeMin, id::rangeMax, id::count, id::decimals};
        for (int i = 0; i < 4; ++i)
            p.setItemText(fields[i], texts.value(i));
    }
    static void click(CNumberPage& p, int control) { p.item<QAbstractButton>(control)->click(); }
    static QPlainTextEdit& box(CNumberPage& p) { return *p.item<QPlainTextEdit>(id::output); }

    ScopedCore core;
    RecordingBoxes boxes;
};
} // namespace

TEST_F(NumberPage, StartShowsStoredOptionsAndAlwaysTheDefaultRange)
{
    auto page = open();
    EXPECT_EQ(page->IsDlgButtonChecked(id::isInt), 1); // first-run defaults
    EXPECT_EQ(page->IsDlgButtonChecked(id::isFloat), 0);
    EXPECT_EQ(page->itemText(id::count), QStringLiteral("10"));
    EXPECT_EQ(page->itemText(id::decimals), QStringLiteral("2"));
    EXPECT_TRUE(page->IsDlgItemEnabled(id::decimals)); // though floats are unticked

    // Closing stores what the fields hold, even values the check refuses,
    // and never the range.
    set(*page, 0, 1, {"-3.5", "7", "", "9"});
    page->DestroyWindow();
    ASSERT_TRUE(core->store().sync());
    QSettings ini(core.configPath(), QSettings::IniFormat);
    QStringList keys = ini.allKeys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{"count_int", "isFloat", "isInt", "xsw"}));
    EXPECT_EQ(core->getConfigInt("count_int"), 0);
    EXPECT_EQ(core->getConfigInt("xsw"), 9);
    EXPECT_EQ(core->getConfigB("isInt"), 0);
    EXPECT_EQ(core->getConfigB("isFloat"), 1);
    EXPECT_TRUE(boxes.shown.empty());

    core->saveConfigInt("count_int", -5);
    page = open();
    EXPECT_EQ(page->itemText(id::rangeMin), QStringLiteral("80"));
    EXPECT_EQ(page->itemText(id::rangeMax), QStringLiteral("100"));
    EXPECT_EQ(page->itemText(id::count), QStringLiteral("-5"));
    EXPECT_EQ(page->itemText(id::decimals), QStringLiteral("9"));
    EXPECT_EQ(page->IsDlgButtonChecked(id::isFloat), 1);

    click(*page, id::isFloat); // unticks
    EXPECT_FALSE(page->IsDlgItemEnabled(id::decimals));
    click(*page, id::isFloat); // ticks
    EXPECT_TRUE(page->IsDlgItemEnabled(id::decimals));
    page->DestroyWindow();
}

TEST_F(NumberPage, GenerateShowsExactRowsAndSucceedsWithGenerateDisabledMeanwhile)
{
    auto page = open();
    set(*page, 1, 0, {"80", "100", "5", "2"});
    core.script({1, 80, 1, 100, 2, 1, 93, 1, 85, 1, 99}); // a float kind draw is drawn again
    const QString rows = QStringLiteral("80\r\n100\r\n93\r\n85\r\n99\r\n");
    int changes = 0;
    QObject::connect(&box(*page), &QPlainTextEdit::textChanged, [&] { ++changes; });
    box(*page).setPlainText(QStringLiteral("old"));
    changes = 0;
    boxes.whileOpen = [&](const BoxRequest&) {
        EXPECT_FALSE(page->IsDlgItemEnabled(id::generate));
        EXPECT_EQ(page->itemText(id::output), rows);
    };
    click(*page, id::generate);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Plain);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("生成成功！"));
    EXPECT_EQ(boxes.shown[0].caption, QString());
    EXPECT_EQ(boxes.shown[0].owner, page.get());
    EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
    EXPECT_EQ(page->itemText(id::output), rows);
    EXPECT_EQ(changes, 2); // emptied, then the whole run: never row by row
    EXPECT_EQ(core.random().remaining(), 0u);

    // Pasted text GBK cannot hold reads as its leading number, as atoi/atof do.
    boxes.whileOpen = nullptr;
    set(*page, 1, 0, {"7😀", "7.9😀", "3条😀", "2"});
    core.script({1, 7, 1, 7, 1, 7});
    click(*page, id::generate);
    EXPECT_EQ(page->itemText(id::output), QStringLiteral("7\r\n7\r\n7\r\n"));
}

TEST_F(NumberPage, FailedCheckShowsItsWarningAndChangesNothing)
{
    const struct {
        int isInt, isFloat;
        QStringList texts; // minimum, maximum, count, decimals
        QString message;
    } cases[] = {
        {1, 0, {"80", "100", "0"}, "生成个数设定无效！"},
        {1, 0, {"80", "100", ""}, "生成个数设定无效！"},
        {0, 0, {"100", "80", "5"}, "至少指定一种数字类型！"},
        {0, 1, {"80", "100", "5", "6"}, "保留小数位数必须是0到5之间的整数！"},
        {1, 1, {"100", "80", "5", "2"}, "数值范围设定无效！"},
        {0, 1, {"80.11", "80.19", "5", "1"}, "数值范围内没有可生成的浮点数，请放宽数值范围！"},
        {1, 0, {"-1e39", "0", "5"}, "数值范围必须是有限的数字！"},
        {1, 0, {"0", "3000000000", "5"}, "整数的数值范围必须在-2147483647到2147483647之间！"},
        {1, 0, {"80", "100", QString::number(kMaxNumberRows + 1)},
         "生成个数不能超过" + QString::number(kMaxNumberRows) + "个！"},
    };
    auto page = open();
    core.script({}); // nothing may be drawn
    box(*page).setPlainText(QStringLiteral("kept"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        set(*page, c.isInt, c.isFloat, c.texts);
        boxes.shown.clear();
        boxes.whileOpen = [&](const BoxRequest&) { EXPECT_TRUE(page->IsDlgItemEnabled(id::generate)); };
        click(*page, id::generate);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].kind, BoxKind::Warning);
        EXPECT_EQ(boxes.shown[0].owner, page.get());
        EXPECT_EQ(boxes.shown[0].text, c.message);
        EXPECT_EQ(page->itemText(id::output), QStringLiteral("kept"));
        EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
    }
    EXPECT_TRUE(core.random().draws().empty());
}

// The box keeps many lines in one block; it must look and read back as one
// line per row, like a box given the text with setPlainText.
TEST_F(NumberPage, FastOutputBoxReadsScrollsAndEditsLikeAPlainOne)
{
    auto page = open();
    QPlainTextEdit reference(page.get());
    reference.setGeometry(box(*page).geometry());
    reference.setLineWrapMode(QPlainTextEdit::NoWrap);
    reference.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reference.show();
    QString text;
    for (int i = 0; i < 1000; ++i)
        text += QString::number(i * 7) + (i % 3 ? QStringLiteral("\r\n") : QStringLiteral("\n"));
    for (const QString& t : {text, text + QStringLiteral("tail\rx"), QString(), QStringLiteral("a\u2029b")}) {
        CNumberPage::setBoxText(box(*page), t);
        reference.setPlainText(t);
        QApplication::processEvents();
        EXPECT_EQ(box(*page).toPlainText(), reference.toPlainText());
        EXPECT_EQ(box(*page).document()->lineCount(), reference.document()->lineCount());
        EXPECT_EQ(box(*page).verticalScrollBar()->maximum(), reference.verticalScrollBar()->maximum());
        EXPECT_EQ(box(*page).textCursor().position(), 0);
        EXPECT_FALSE(box(*page).document()->isUndoAvailable());
    }
    CNumberPage::setBoxText(box(*page), text);
    EXPECT_LT(box(*page).document()->blockCount(), 1000 / CNumberPage::kLinesPerBlock + 3);

    // At the bottom the last rows are on screen, one per line.
    QPlainTextEdit& out = box(*page);
    out.verticalScrollBar()->setValue(out.verticalScrollBar()->maximum());
    QApplication::processEvents();
    QTextCursor at = out.cursorForPosition(QPoint(4, out.viewport()->height() - 2));
    EXPECT_EQ(at.position(), out.document()->characterCount() - 1);
    at.movePosition(QTextCursor::Up);
    at.movePosition(QTextCursor::StartOfLine);
    at.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
    EXPECT_EQ(at.selectedText(), QStringLiteral("6993"));

    // Lines move and edit one row at a time.
    out.moveCursor(QTextCursor::Start);
    for (int i = 0; i < 70; ++i)
        out.moveCursor(QTextCursor::Down);
    out.moveCursor(QTextCursor::EndOfLine);
    out.insertPlainText(QStringLiteral("!"));
    EXPECT_EQ(out.toPlainText().section(QLatin1Char('\n'), 69, 71), QStringLiteral("483\n490!\n497"));
    out.undo();
    EXPECT_EQ(out.toPlainText(), QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    out.moveCursor(QTextCursor::Start);
    for (int i = 0; i < 62; ++i)
        out.moveCursor(QTextCursor::Down);
    for (int i = 0; i < 4; ++i) // over the end of the first block
        out.moveCursor(QTextCursor::Down, QTextCursor::KeepAnchor);
    out.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("434\n441\n448\n455\n"));
}

TEST_F(NumberPage, ExportWritesTheBoxInEitherEncoding)
{
    auto page = open();
    ScriptedSaveDialog ask;
    const QString gbkPath = core.folder() + QStringLiteral("/gbk.txt");
    const QString utf8Path = core.folder() + QStringLiteral("/utf8.txt");
    CNumberPage::setBoxText(box(*page), QStringLiteral("85\n数字\r\n-2.50\n"));
    auto exportTo = [&](const QString& path, TextEncoding encoding) {
        ask.answers.push_back(SaveTarget{path, encoding});
        click(*page, id::exportText);
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    };
    const std::string gbkBytes = "85\r\n" + gbk::lit("数字") + "\r\n-2.50\r\n";
    EXPECT_EQ(exportTo(gbkPath, TextEncoding::Gbk), QByteArray::fromStdString(gbkBytes));
    EXPECT_EQ(exportTo(utf8Path, TextEncoding::Utf8), QByteArray("85\r\n数字\r\n-2.50\r\n"));
    EXPECT_EQ(ask.lastSuggestedName, QStringLiteral("随机数字.txt"));

    CNumberPage::setBoxText(box(*page), QString());
    EXPECT_EQ(exportTo(gbkPath, TextEncoding::Gbk), QByteArray()); // an empty box, an empty file
    click(*page, id::exportText); // cancelled: nothing written, nothing said
    EXPECT_EQ(ask.asked, 4);
    EXPECT_TRUE(boxes.shown.empty());
}

// A run of floating-point rows on the number tab, saved for looking at.
TEST(NumberTab, FloatRowsScreenshot)
{
    CGeneratorApp::ConfigureApplication();
    const QString dir = QStringLiteral(KELVANE_BUILD_DIR "/screenshots");
    ASSERT_TRUE(QDir().mkpath(dir));
    {
        RecordingBoxes boxes;
        CGeneratorDlg dlg;
        dlg.Create(nullptr);
        dlg.show();
        dlg.tabCtrl()->SetCurSel(1);
        dlg.ShowTab(1);
        CNumberPage& page = dlg.numberPage();
        page.CheckDlgButton(id::isInt, 0);
        page.CheckDlgButton(id::isFloat, 1);
        page.setItemText(id::count, QStringLiteral("200"));
        page.setItemText(id::decimals, QStringLiteral("2"));
        page.item<QPushButton>(id::generate)->click();
        const QStringList rows = page.itemText(id::output).split(QStringLiteral("\r\n"));
        EXPECT_EQ(rows.size(), 201);
        EXPECT_TRUE(rows.filter(QRegularExpression(QStringLiteral("^(?:[89]\\d|100)\\.\\d\\d$"))).size() == 200);
        QApplication::processEvents();
        EXPECT_TRUE(dlg.grab().save(dir + QStringLiteral("/tab-1-float-rows.png")));
    }
    CGeneratorApp::ReleaseCoreObjects();
}
