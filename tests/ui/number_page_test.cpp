// The number page through its controls: start state and stored options,
// Generate with its boxes and output, and Export.
#include "core/gbk.h"
#include "core/options.h"
#include "platform/dialog_driver.h"
#include "platform/presenter.h"
#include "res/resource.h"
#include "support/recording_boxes.h"
#include "support/scoped_core.h"
#include "ui/number_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

namespace {
namespace id = idc::number;
const int kFields[] = {id::rangeMin, id::rangeMax, id::count, id::decimals};
using Texts = std::vector<std::string>;

class NumberPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        core->setPresenter(&DialogPresenter::instance());
        open();
    }
    // A page as the main window makes it.
    void open()
    {
        page = std::make_unique<CNumberPage>();
        page->Create();
    }
    // The check boxes, then the texts of minimum, maximum, count and decimals;
    // texts() reads the four back.
    void set(int isInt, int isFloat, const Texts& texts)
    {
        page->CheckDlgButton(id::isInt, isInt);
        page->CheckDlgButton(id::isFloat, isFloat);
        for (std::size_t i = 0; i < 4; ++i)
            drive::type(*page, kFields[i], i < texts.size() ? texts[i] : std::string());
    }
    Texts texts() const
    {
        Texts out;
        for (int field : kFields)
            out.push_back(drive::text(*page, field));
        return out;
    }

    ScopedCore core;
    RecordingBoxes boxes;
    std::unique_ptr<CNumberPage> page;
};
} // namespace

TEST_F(NumberPage, StartShowsStoredOptionsAndAlwaysTheDefaultRange)
{
    // First run (the values themselves: the main window's test): integers
    // only, and the decimals field enabled anyway.
    EXPECT_TRUE(page->IsDlgItemEnabled(id::decimals));

    // Closing stores the fields as typed, even values the check refuses, and never the range.
    set(0, 1, {"-3.5", "7", "", "9"});
    page->DestroyWindow();
    EXPECT_TRUE(boxes.shown.empty()); // closing checks nothing
    ASSERT_TRUE(core->store().sync());
    EXPECT_EQ(storedValueCount(core.configPath()), 4); // four keys, no range
    EXPECT_EQ(std::tuple(core->getConfigInt(opt::count_int), core->getConfigInt(opt::xsw), core->getConfigB(opt::isInt),
                         core->getConfigB(opt::isFloat)),
              std::tuple(0, 9, 0, 1));

    core->saveConfigInt(opt::count_int, -5);
    open();
    EXPECT_EQ(texts(), (Texts{"80", "100", "-5", "9"}));
    drive::click(*page, id::isFloat); // unticks
    EXPECT_FALSE(page->IsDlgItemEnabled(id::decimals));
    drive::click(*page, id::isFloat); // ticks
    EXPECT_TRUE(page->IsDlgItemEnabled(id::decimals));
}

TEST_F(NumberPage, GenerateFillsTheBoxInOneStepOrWarnsAndKeepsIt)
{
    // Minimum, maximum and count of integers; the draws (none: the check fails); the box; the rows.
    const std::tuple<Texts, std::vector<int>, std::string, std::string> cases[] = {
        {{"80", "100", "0"}, {}, "生成个数设定无效！", "kept"},
        {{"80", "100", ""}, {}, "生成个数设定无效！", "kept"},
        {{"80", "100", "5"}, {1, 80, 1, 100, 2, 1, 93, 1, 85, 1, 99}, "生成成功！", "80\r\n100\r\n93\r\n85\r\n99\r\n"},
        // Pasted text GBK cannot hold reads as its leading number, as atoi/atof do.
        {{"7😀", "7.9😀", "3条😀"}, {1, 7, 1, 7, 1, 7}, "生成成功！", "7\r\n7\r\n7\r\n"},
    };
    for (const auto& [texts, draws, message, rows] : cases) {
        SCOPED_TRACE(texts[2]);
        const bool ok = !draws.empty();
        set(1, 0, texts);
        core.script(draws);
        page->SetDlgItemText(id::output, "kept");
        boxes.shown.clear();
        boxes.whileOpen = [&](const BoxRequest&) {
            EXPECT_EQ(page->IsDlgItemEnabled(id::generate), !ok);
            EXPECT_EQ(drive::text(*page, id::output), rows);
        };
        drive::click(*page, id::generate);
        ASSERT_EQ(boxes.texts(), std::vector<std::string>{message});
        EXPECT_EQ(boxes.shown[0].kind, ok ? BoxKind::Plain : BoxKind::Warning);
        EXPECT_EQ(boxes.shown[0].owner, page->GetSafeHwnd());
        EXPECT_EQ(boxes.shown[0].caption.empty(), ok); // the plain box has none
        EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
        EXPECT_EQ(core.random().remaining(), 0u);
    }
}

TEST_F(NumberPage, ExportWritesTheRowsWithCrLfInEitherEncodingOrRefusesWhatGbkCannotHold)
{
    ScriptedSaveDialog ask;
    const std::string path = core.folder() + "/out.txt";
    const auto exportTo = [&](TextEncoding encoding) {
        ask.answers.push_back(SaveTarget{path, encoding});
        drive::click(*page, id::exportText);
        return readFile(path, "<none>");
    };
    drive::type(*page, id::output, "数字\n1\r\n2");
    const std::string crlf = "数字\r\n1\r\n2";
    EXPECT_EQ(exportTo(TextEncoding::Gbk), *gbk::fromUtf8(crlf));
    EXPECT_EQ(exportTo(TextEncoding::Utf8), crlf);
    EXPECT_EQ(ask.lastSuggestedName, "随机数字.txt");
    drive::click(*page, id::exportText); // cancelled: nothing written, nothing said
    EXPECT_EQ(std::pair(ask.asked, boxes.shown.size()), std::pair(3, size_t(0)));
    // Text GBK cannot hold is refused with a message; the file keeps what it held.
    drive::type(*page, id::output, "1😀");
    EXPECT_EQ(exportTo(TextEncoding::Gbk), crlf);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"结果中含有 GBK 无法表示的字符，请选择 UTF-8 文本格式导出。"});
    page->SetDlgItemText(id::output, "");
    EXPECT_EQ(exportTo(TextEncoding::Gbk), ""); // an empty box, an empty file, the old one replaced whole
}
