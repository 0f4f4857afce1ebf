// The number page through its controls: start state and stored options,
// Generate with its boxes and output, and the output box shown and exported.
#include "core/gbk.h"
#include "core/qt/qgbk.h"
#include "platform/dialog/controls.h"
#include "platform/dialog/plain_text.h"
#include "platform/dialog/presenter.h"
#include "res/resource.h"
#include "support/recording_boxes.h"
#include "support/scoped_core.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSettings>

#include <memory>
#include <tuple>

namespace {
namespace id = idc::number;
const int kFields[] = {id::rangeMin, id::rangeMax, id::count, id::decimals};

class NumberPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        core->setPresenter(&DialogPresenter::instance());
        open();
    }
    // A page as the main window makes it, shown so that its box lays out.
    void open()
    {
        page = std::make_unique<CNumberPage>();
        page->Create(nullptr);
        page->show();
    }
    // The check boxes, then the texts of minimum, maximum, count and decimals;
    // texts() reads the four back.
    void set(int isInt, int isFloat, const QStringList& texts)
    {
        page->CheckDlgButton(id::isInt, isInt);
        page->CheckDlgButton(id::isFloat, isFloat);
        for (int i = 0; i < 4; ++i)
            page->setItemText(kFields[i], texts.value(i));
    }
    QStringList texts() const
    {
        QStringList out;
        for (int field : kFields)
            out << page->itemText(field);
        return out;
    }
    void click(int control) { page->item<QAbstractButton>(control)->click(); }
    QPlainTextEdit& box() { return *page->item<QPlainTextEdit>(id::output); }

    ScopedCore core;
    RecordingBoxes boxes;
    std::unique_ptr<CNumberPage> page;
};
} // namespace

TEST_F(NumberPage, StartShowsStoredOptionsAndAlwaysTheDefaultRange)
{
    // First run: integers, 10 rows, 2 decimals, and the decimals field enabled anyway.
    EXPECT_EQ(texts(), (QStringList{"80", "100", "10", "2"}));
    EXPECT_EQ(std::pair(page->IsDlgButtonChecked(id::isInt), page->IsDlgButtonChecked(id::isFloat)), std::pair(1, 0));
    EXPECT_TRUE(page->IsDlgItemEnabled(id::decimals));

    // Closing stores the fields as typed, even values the check refuses, and never the range.
    set(0, 1, {"-3.5", "7", "", "9"});
    page->DestroyWindow();
    EXPECT_TRUE(boxes.shown.empty()); // closing checks nothing
    ASSERT_TRUE(core->store().sync());
    EXPECT_EQ(QSettings(QString::fromStdString(core.configPath()), QSettings::IniFormat).allKeys().size(), 4);
    EXPECT_EQ(std::tuple(core->getConfigInt("count_int"), core->getConfigInt("xsw"), core->getConfigB("isInt"),
                         core->getConfigB("isFloat")),
              std::tuple(0, 9, 0, 1));

    core->saveConfigInt("count_int", -5);
    open();
    EXPECT_EQ(texts(), (QStringList{"80", "100", "-5", "9"}));
    click(id::isFloat); // unticks
    EXPECT_FALSE(page->IsDlgItemEnabled(id::decimals));
    click(id::isFloat); // ticks
    EXPECT_TRUE(page->IsDlgItemEnabled(id::decimals));
}

TEST_F(NumberPage, GenerateFillsTheBoxInOneStepOrWarnsAndKeepsIt)
{
    // Minimum, maximum and count of integers; the draws (none: the check fails); the box; the rows.
    const std::tuple<QStringList, std::vector<int>, QString, QString> cases[] = {
        {{"80", "100", "0"}, {}, "生成个数设定无效！", "kept"},
        {{"80", "100", ""}, {}, "生成个数设定无效！", "kept"},
        {{"80", "100", "5"}, {1, 80, 1, 100, 2, 1, 93, 1, 85, 1, 99}, "生成成功！", "80\r\n100\r\n93\r\n85\r\n99\r\n"},
        // Pasted text GBK cannot hold reads as its leading number, as atoi/atof do.
        {{"7😀", "7.9😀", "3条😀"}, {1, 7, 1, 7, 1, 7}, "生成成功！", "7\r\n7\r\n7\r\n"},
    };
    int changes = 0;
    QObject::connect(&box(), &QPlainTextEdit::textChanged, [&] { ++changes; });
    for (const auto& [texts, draws, message, rows] : cases) {
        SCOPED_TRACE(texts.join(' ').toStdString());
        const bool ok = !draws.empty();
        set(1, 0, texts);
        core.script(draws);
        box().setPlainText(QStringLiteral("kept"));
        changes = 0;
        boxes.shown.clear();
        boxes.whileOpen = [&](const BoxRequest&) {
            EXPECT_EQ(page->IsDlgItemEnabled(id::generate), !ok);
            EXPECT_EQ(page->itemText(id::output), rows);
        };
        click(id::generate);
        ASSERT_EQ(boxes.texts(), QStringList{message});
        EXPECT_EQ(boxes.shown[0].kind, ok ? BoxKind::Plain : BoxKind::Warning);
        EXPECT_EQ(boxes.shown[0].owner, page.get());
        EXPECT_EQ(boxes.shown[0].caption.isEmpty(), ok); // the plain box has none
        EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
        EXPECT_EQ(changes, ok ? 2 : 0); // emptied, then the whole run: never row by row
    }
}

// The box keeps many rows to a block, parted by line separators; on screen
// and exported it must still be one line per row.
TEST_F(NumberPage, OutputBoxShowsAndExportsOneLinePerRow)
{
    QString rows = QStringLiteral("数字\n");
    for (int i = 1; i < 1000; ++i)
        rows += QString::number(i * 7) + (i % 3 ? QStringLiteral("\r\n") : QStringLiteral("\n"));
    QPlainTextEdit reference(page.get()); // a box given the text the plain way
    reference.setGeometry(box().geometry());
    reference.setLineWrapMode(QPlainTextEdit::NoWrap);
    reference.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reference.show();
    setPlainTextFast(box(), rows);
    rows += QStringLiteral("7000\n"); // a run one row longer, in as many blocks
    setPlainTextFast(box(), rows);
    reference.setPlainText(rows);
    QApplication::processEvents();
    EXPECT_EQ(box().document()->lineCount(), 1002);
    EXPECT_EQ(box().verticalScrollBar()->maximum(), reference.verticalScrollBar()->maximum());
    EXPECT_LT(box().document()->blockCount(), 1000 / CNumberPage::kLinesPerBlock + 3);
    EXPECT_FALSE(box().document()->isUndoAvailable());
    ScriptedSaveDialog ask;
    const QString path = QString::fromStdString(core.folder()) + QStringLiteral("/out.txt");
    const auto exportTo = [&](TextEncoding encoding) {
        ask.answers.push_back(SaveTarget{path, encoding});
        click(id::exportText);
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    };
    const QString crlf =
        rows.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    EXPECT_EQ(exportTo(TextEncoding::Gbk), QByteArray::fromStdString(*gbk::encode(crlf)));
    EXPECT_EQ(exportTo(TextEncoding::Utf8), crlf.toUtf8());
    EXPECT_EQ(ask.lastSuggestedName, QStringLiteral("随机数字.txt"));
    click(id::exportText); // cancelled: nothing written, nothing said
    EXPECT_EQ(std::pair(ask.asked, boxes.shown.size()), std::pair(3, size_t(0)));
    // Text GBK cannot hold is refused with a message; the file keeps what it held.
    box().setPlainText(QStringLiteral("1😀"));
    EXPECT_EQ(exportTo(TextEncoding::Gbk), crlf.toUtf8());
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("结果中含有 GBK 无法表示的字符，请选择 UTF-8 文本格式导出。")});
    setPlainTextFast(box(), QString());
    EXPECT_EQ(exportTo(TextEncoding::Gbk), QByteArray()); // an empty box, an empty file, the old one replaced whole
}

// A run of floating-point rows on the number tab, saved for looking at.
TEST(NumberTab, FloatRowsScreenshot)
{
    CGeneratorApp::ConfigureApplication();
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
        page.item<QAbstractButton>(id::generate)->click();
        EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("生成成功！")});
        QApplication::processEvents();
        ASSERT_TRUE(QDir().mkpath(QStringLiteral(KELVANE_BUILD_DIR "/screenshots")));
        EXPECT_TRUE(dlg.grab().save(QStringLiteral(KELVANE_BUILD_DIR "/screenshots/tab-1-float-rows.png")));
    }
    CGeneratorApp::ReleaseCoreObjects();
}
