// The string page: options loaded, read and stored, the enable rules,
// Generate's checks, runs into the box and into the output file, where that
// file goes and its failures, and Export from the box and from the file.
#include "core/gbk.h"
#include "core/options.h"
#include "platform/dialog_driver.h"
#include "res/resource.h"
#include "support/recording_boxes.h"
#include "support/scoped_core.h"
#include "support/scoped_env.h"
#include "ui/output_file.h"
#include "ui/string_page.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <regex>
#include <sstream>
#include <vector>

namespace {
namespace id = idc::string;
namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// Where the user's data folder comes from.
#ifdef _WIN32
const char* const kDataHomeVariable = "LOCALAPPDATA";
#else
const char* const kDataHomeVariable = "XDG_DATA_HOME";
#endif

// text (UTF-8) is count rows of len characters, ASCII or Chinese and none of
// them a space, each followed by CR LF.
bool rowsOf(const std::string& text, int count, int len)
{
    const std::regex row("(?:[!-~]|[\xe0-\xef][\x80-\xbf]{2}){" + std::to_string(len) + "}\r");
    std::istringstream lines(text);
    int rows = 0;
    for (std::string line; std::getline(lines, line); ++rows)
        if (!std::regex_match(line, row))
            return false;
    return rows == count;
}

// Runs count rows of 4 digits on page (more than 1000 go to the output file).
void runDigits(CStringPage& page, int count)
{
    page.CheckDlgButton(id::digits, 1);
    page.SetDlgItemInt(id::lenMin, 4);
    page.SetDlgItemInt(id::lenMax, 4);
    page.SetDlgItemInt(id::count, count);
    drive::click(page, id::generate);
    drive::fireTimer(page, 1);
}

class StringPage : public ::testing::Test {
protected:
    void SetUp() override { open(); }
    void TearDown() override { page->DestroyWindow(); }
    void open()
    {
        page = std::make_unique<CStringPage>();
        page->Create();
    }
    // Every kind of character, drawn parts of len characters.
    void setRun(int count, int len = 4)
    {
        for (int b : {id::upper, id::lower, id::digits, id::hanzi})
            page->CheckDlgButton(b, 1);
        page->SetDlgItemInt(id::lenMin, len);
        page->SetDlgItemInt(id::lenMax, len);
        page->SetDlgItemInt(id::count, count);
    }
    std::string outFile() const { return gbk::toUtf8(page->outPath()); }
    std::string output() const { return drive::text(*page, id::output); }
    void generateAndRun()
    {
        drive::click(*page, id::generate);
        drive::fireTimer(*page, 1);
    }

    RecordingBoxes boxes;
    ScriptedSaveDialog saveDialog;
    TempDir tmp;
    ScopedCore core;
    std::unique_ptr<CStringPage> page;
};
} // namespace

TEST_F(StringPage, LoadsChecksAndStoresTheControls)
{
    ASSERT_TRUE(writeFile(core.folder() + "/_out.txt", "old rows\r\n"));
    g_core->saveConfigB(opt::isCharSpec, 1);
    g_core->saveConfigStr(opt::charExclude, "0O");
    g_core->saveConfigStr(opt::head, gbk::lit("前"));
    g_core->saveConfigInt(opt::count_str, 1234);
    open();
    EXPECT_FALSE(fs::exists(outFile())) << "a start removes an old output file";
    EXPECT_EQ(drive::text(*page, id::count), "1234");
    const auto enabled = [&] { return std::pair(page->IsDlgItemEnabled(id::charSpec), page->IsDlgItemEnabled(id::charExclude)); };
    EXPECT_EQ(enabled(), std::pair(true, false));
    drive::click(*page, id::useCharSpec);
    drive::click(*page, id::useCharEx);
    EXPECT_EQ(enabled(), std::pair(false, true));

    // Refused: a failing rule, then a text GBK cannot hold (texts are read
    // first). The box and the button stay as they were.
    setRun(5);
    page->SetDlgItemText(id::output, "earlier rows");
    drive::type(*page, id::lenMin, "9");
    drive::click(*page, id::generate);
    drive::type(*page, id::head, "头\U0001F600");
    drive::click(*page, id::generate);
    ASSERT_EQ(boxes.texts(), (Texts{"生成长度设定无效！", "“头部”中含有 GBK 无法表示的字符“\U0001F600”（U+1F600），请修改后再生成。"}));
    EXPECT_EQ(boxes.shown[1].kind, BoxKind::Plain);
    EXPECT_EQ(output(), "earlier rows");
    EXPECT_TRUE(page->IsDlgItemEnabled(id::generate) && !drive::timerPending(*page, 1));

    // Stored as shown, the disabled list box too; the head keeps its loaded value.
    drive::type(*page, id::charSpec, " # $ ");
    drive::type(*page, id::charExclude, "0 O");
    drive::type(*page, id::insert, " \t3|x|1|y \r\n");
    drive::type(*page, id::lenMin, "");
    drive::type(*page, id::count, "");
    page->DestroyWindow();
    EXPECT_EQ(g_core->getConfigB(opt::isCharSpec), 0);
    for (const auto& [option, value] : {std::pair<const OptionDef*, CString>{&opt::charSpec, " # $ "},
                                        {&opt::charExclude, "0 O"}, {&opt::insertStr, "3|x|1|y"},
                                        {&opt::head, gbk::lit("前")}})
        EXPECT_EQ(g_core->getConfigStr(*option), value) << option->key;
    EXPECT_EQ(g_core->getConfigInt(opt::len_min_str), 0);
    EXPECT_EQ(g_core->getConfigInt(opt::count_str), 0);
    EXPECT_EQ(boxes.shown.size(), 2u) << "closing shows nothing";
}

// Each of the six flags ticked the other way comes back so at the next
// start, then each back again.
TEST_F(StringPage, EveryFlagIsStoredAtClose)
{
    const int flags[] = {id::upper, id::lower, id::digits, id::hanzi, id::useCharSpec, id::useCharEx};
    const std::vector<int> rounds[] = {{0, 0, 0, 1, 1, 1}, {1, 1, 1, 0, 0, 0}};
    for (const std::vector<int>& want : rounds) {
        std::vector<int> ticked, reloaded;
        for (int f : flags) {
            drive::click(*page, f);
            ticked.push_back(page->IsDlgButtonChecked(f));
        }
        ASSERT_EQ(ticked, want);
        page->DestroyWindow();
        open();
        for (int f : flags)
            reloaded.push_back(page->IsDlgButtonChecked(f));
        EXPECT_EQ(reloaded, want);
    }
}

// Export saves rows only: not before the first run, not the waiting text.
TEST_F(StringPage, ExportRefusesAnEmptyBoxAndTheWaitingText)
{
    const std::string target = tmp.filePath("export.txt");
    const auto exportNow = [&] {
        boxes.shown.clear();
        saveDialog.answers = {SaveTarget{target, TextEncoding::Utf8}};
        saveDialog.asked = 0;
        drive::click(*page, id::exportText);
    };
    exportNow();
    EXPECT_EQ(boxes.texts(), Texts{"没有可导出的内容，请先生成。"});
    EXPECT_EQ(std::pair(saveDialog.asked, fs::exists(target)), std::pair(0, false));

    setRun(3, 2);
    drive::click(*page, id::generate);
    ASSERT_EQ(output(), "生成中，请稍后...");
    exportNow();
    EXPECT_EQ(boxes.texts(), Texts{"正在生成，请在生成完成后再导出。"});
    EXPECT_EQ(std::pair(saveDialog.asked, fs::exists(target)), std::pair(0, false));

    ASSERT_TRUE(drive::fireTimer(*page, 1));
    exportNow();
    EXPECT_EQ(saveDialog.asked, 1);
    EXPECT_EQ(readFile(target), output());
}

TEST_F(StringPage, RunsIntoTheBoxOrTheFileAndExportsEitherInBothEncodings)
{
    // Saves in GBK, then in UTF-8, then cancels; the files must hold the rows.
    const auto expectExports = [&](const std::string& gbkRows, const std::string& tag) {
        const std::string gbkPath = tmp.filePath("gbk" + tag), utf8Path = tmp.filePath("utf8" + tag);
        saveDialog.answers = {SaveTarget{gbkPath, TextEncoding::Gbk}, SaveTarget{utf8Path, TextEncoding::Utf8}, std::nullopt};
        for (int i = 0; i < 3; ++i)
            drive::click(*page, id::exportText);
        EXPECT_EQ(readFile(gbkPath), gbkRows);
        EXPECT_EQ(readFile(utf8Path), gbk::toUtf8(gbkRows));
    };
    setRun(1000, 9);
    drive::click(*page, id::useCharSpec);
    drive::type(*page, id::charSpec, "# #");
    ASSERT_TRUE(writeFile(outFile(), "left from an earlier run\r\n"));
    boxes.whileOpen = [&](const BoxRequest&) { EXPECT_FALSE(page->IsDlgItemEnabled(id::generate)); };
    drive::click(*page, id::generate);
    ASSERT_TRUE(drive::fireTimer(*page, 1));
    EXPECT_FALSE(drive::timerPending(*page, 1));
    EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
    EXPECT_FALSE(fs::exists(outFile()));
    EXPECT_TRUE(rowsOf(output(), 1000, 9)) << "no spaces, CR LF after each";
    EXPECT_NE(output().find('#'), std::string::npos);
    EXPECT_EQ(drive::text(*page, id::charSpec), "# #") << "the box keeps its spaces";
    expectExports(*gbk::fromUtf8(output()), "-box");

    // One more row: the rows go to the file, in GBK, with nothing before them.
    setRun(1001);
    generateAndRun();
    EXPECT_EQ(output(), "生成完成，请单击导出按钮。");
    const std::string rows = readFile(outFile());
    EXPECT_TRUE(rowsOf(gbk::toUtf8(rows), 1001, 4));
    expectExports(rows, "-file");
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.path()), fs::directory_iterator()), 4) << "cancel writes nothing";
    EXPECT_EQ(boxes.texts(), (Texts{"生成成功！", "生成成功！"}));

    boxes.whileOpen = nullptr;
    saveDialog.answers = {SaveTarget{tmp.filePath("no/such/folder.txt"), TextEncoding::Gbk}};
    drive::click(*page, id::exportText);
    EXPECT_TRUE(boxes.texts().back().starts_with("无法创建文件")) << boxes.texts().back();
}

TEST(StringPageFile, FileFailuresNameThePathAndNeverClaimSuccess)
{
    RecordingBoxes boxes;
    TempDir tmp;
    const auto expectFailure = [&](const std::string& folder, const std::string& start, const std::string& in) {
        ScopedCore core(nullptr, folder);
        CStringPage page;
        page.Create();
        const std::string path = gbk::toUtf8(page.outPath());
        EXPECT_TRUE(path.starts_with(in)) << path;
        boxes.shown.clear();
        runDigits(page, 5000);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_TRUE(boxes.shown[0].text.starts_with(start + "“" + path + "”")) << boxes.shown[0].text;
        EXPECT_TRUE(page.IsDlgItemEnabled(id::generate));
        EXPECT_EQ(drive::text(page, id::output), "");
        page.DestroyWindow();
    };
    // A program folder that is a regular file, and a data folder inside it:
    // nothing can be created in either.
    ASSERT_TRUE(writeFile(tmp.filePath("program"), "x"));
    {
        ScopedEnv data(kDataHomeVariable, tmp.filePath("program/data").c_str());
        expectFailure(tmp.filePath("program"), "无法创建输出文件", tmp.filePath("program/data"));
    }
    // An output file that cannot be removed (a folder in its place) stops the run.
    fs::create_directories(tmp.filePath("app/_out.txt/inside"));
    expectFailure(tmp.filePath("app"), "无法删除输出文件", tmp.filePath("app"));
}

// The output file goes beside a program whose folder can be written, else in
// the user's data folder.
TEST(StringPageOutputFile, BesideAWritableProgramInTheDataFolderOtherwise)
{
#ifdef _WIN32
    GTEST_SKIP() << "an installed copy's data folder is %LOCALAPPDATA% there";
#endif
    RecordingBoxes boxes;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    ASSERT_TRUE(dataHome && *dataHome) << "the test main gives every test its own data folder";
    for (const bool installed : {false, true}) {
        ScopedCore core(nullptr, installed ? "/usr/bin" : "");
        CStringPage page;
        page.Create();
        const std::string expected = (installed ? std::string(dataHome) + "/Kelvane" : core.folder()) + "/_out.txt";
        EXPECT_EQ(gbk::toUtf8(page.outPath()), expected) << "installed: " << installed;
        runDigits(page, 1001);
        EXPECT_EQ(readFile(expected).size(), 1001u * 6) << "installed: " << installed;
        page.DestroyWindow();
    }
    EXPECT_EQ(boxes.texts(), (Texts{"生成成功！", "生成成功！"}));
}

// The file's own edges, below the page: an old longer file, a conversion
// whose 1 MiB pieces end inside characters.
TEST(OutputFile, TruncatesAndConvertsAcrossPieces)
{
    ScopedCore core = ScopedCore::seeded("file");
    const std::string out = core.folder() + "/_out.txt";
    StringSettings s;
    s.isNum = 1;
    s.lenMin = s.lenMax = 2;
    s.count = 10;
    ASSERT_TRUE(writeFile(out, std::string(1000, 'z')));
    EXPECT_TRUE(writeOutputFile(*gbk::fromUtf8(out), s).ok());
    EXPECT_EQ(readFile(out).size(), 10u * 4) << "no stale bytes after the new rows";

    // One ASCII byte first: the 1 MiB pieces end inside characters.
    std::string rows = "a";
    for (int i = 0; i < (1 << 19); ++i)
        rows += gbk::lit("中中\r\n");
    ASSERT_TRUE(writeFile(core.folder() + "/in.txt", rows));
    EXPECT_TRUE(sys::copyConverted(core.folder() + "/in.txt", core.folder() + "/utf8.txt", TextEncoding::Utf8).ok());
    EXPECT_EQ(readFile(core.folder() + "/utf8.txt"), gbk::toUtf8(rows));
}
