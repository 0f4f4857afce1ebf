// The string page: options loaded and stored, the enable rules, Generate's
// checks, runs into the box and into the output file, failures of the file,
// and Export from the box and from the file.
#include "core/core_options.h"
#include "core/gbk.h"
#include "gen/string_gen.h"
#include "res/resource.h"
#include "support/recording_boxes.h"
#include "support/scoped_core.h"
#include "ui/generator_app.h"
#include "ui/generator_dlg.h"
#include "ui/output_file.h"
#include "ui/string_page.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

#include <memory>

namespace {
namespace id = idc::string;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class StringPage : public ::testing::Test {
protected:
    // A page whose program folder is appPath (default: the core's own folder).
    void open(const QString& appPath = QString())
    {
        TearDown();
        core = std::make_unique<ScopedCore>(std::make_unique<RandomGen>(RandomGen::seeded("page")), appPath);
        page = std::make_unique<CStringPage>();
        page->Create(nullptr);
    }
    void TearDown() override
    {
        if (page)
            page->DestroyWindow();
        page.reset();
        core.reset();
    }
    // Kinds and count for a run; lengths 4 to 8 unless set.
    void setRun(int count, bool hz = false, int lenMin = 4, int lenMax = 8)
    {
        for (int b : {id::upper, id::lower, id::digits})
            page->CheckDlgButton(b, !hz);
        page->CheckDlgButton(id::hanzi, hz);
        page->SetDlgItemInt(id::lenMin, lenMin);
        page->SetDlgItemInt(id::lenMax, lenMax);
        page->SetDlgItemInt(id::count, count);
    }
    void click(int control) { page->item<QAbstractButton>(control)->click(); }
    // Clicks Generate and fires the run's timer; the boxes shown are recorded.
    void generate()
    {
        click(id::generate);
        page->firePendingTimer(1);
    }
    QString outFile() const { return pathFromGbk(page->outPath); }
    QString output() const { return page->itemText(id::output); }

    RecordingBoxes boxes;
    ScriptedSaveDialog saveDialog;
    QTemporaryDir tmp;
    std::unique_ptr<ScopedCore> core;
    std::unique_ptr<CStringPage> page;
};

TEST_F(StringPage, LoadsAndStoresOptionsAndAppliesTheEnableRules)
{
    QTemporaryDir app;
    ASSERT_TRUE(writeAll(app.filePath("_out.txt"), "old rows\r\n"));
    core = std::make_unique<ScopedCore>(nullptr, app.path());
    g_core->saveConfigB("isCharSpec", 1);
    g_core->saveConfigB("isCharEx", 0);
    g_core->saveConfigStr("charExclude", "0O");
    g_core->saveConfigStr("head", gbk::lit("前"));
    g_core->saveConfigInt("count_str", 1234);
    page = std::make_unique<CStringPage>();
    page->Create(nullptr);
    EXPECT_FALSE(QFile::exists(app.filePath("_out.txt"))) << "a start removes an old output file";
    EXPECT_EQ(outFile(), app.filePath("_out.txt"));
    EXPECT_EQ(page->itemText(id::count), "1234");
    EXPECT_EQ(page->itemText(id::charExclude), "0O");
    EXPECT_TRUE(page->IsDlgItemEnabled(id::charSpec));
    EXPECT_FALSE(page->IsDlgItemEnabled(id::charExclude));
    click(id::useCharSpec);
    click(id::useCharEx);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::charSpec));
    EXPECT_TRUE(page->IsDlgItemEnabled(id::charExclude));
    click(id::useCharEx);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::charExclude));

    // Typed, never generated: stored as shown; disabled boxes too.
    page->CheckDlgButton(id::hanzi, 1);
    page->setItemText(id::charSpec, " # $ ");
    page->setItemText(id::charExclude, "0 O");
    page->setItemText(id::insert, " \t3|x|1|y \r\n");
    page->setItemText(id::lenMin, "");
    page->setItemText(id::count, "");
    page->setItemText(id::head, QStringLiteral("头\U0001F600")); // GBK cannot hold it
    page->DestroyWindow();
    EXPECT_EQ(g_core->getConfigB("isHz"), 1);
    EXPECT_EQ(g_core->getConfigB("isCharSpec"), 0);
    EXPECT_EQ(g_core->getConfigStr("charSpec"), " # $ ");
    EXPECT_EQ(g_core->getConfigStr("charExclude"), "0 O");
    EXPECT_EQ(g_core->getConfigStr("insertStr"), "3|x|1|y");
    EXPECT_EQ(g_core->getConfigStr("head"), gbk::lit("前")) << "the loaded value is kept, not a damaged one";
    EXPECT_EQ(g_core->getConfigInt("len_min_str"), 0);
    EXPECT_EQ(g_core->getConfigInt("count_str"), 0);

    page = std::make_unique<CStringPage>();
    page->Create(nullptr);
    EXPECT_EQ(page->itemText(id::lenMin), "0");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(StringPage, RefusedGenerateChangesNothing)
{
    open();
    setRun(5);
    page->setItemText(id::output, "earlier rows");
    struct Case {
        int control;
        QString text;
        QString message;
    };
    const Case cases[] = {
        {id::count, "", "生成个数设定无效！"},
        {id::lenMin, "9", "生成长度设定无效！"},
        {id::tail, QStringLiteral("尾\U0001F600"), QStringLiteral("“尾部”中含有 GBK 无法表示的字符“\U0001F600”（U+1F600），请修改后再生成。")},
        {id::charExclude, QStringLiteral("0\u0E01"), QStringLiteral("“排除字符”中含有 GBK 无法表示的字符“\u0E01”（U+0E01），请修改后再生成。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        const QString before = page->itemText(c.control);
        page->setItemText(c.control, c.text);
        boxes.shown.clear();
        click(id::generate);
        ASSERT_EQ(boxes.texts(), QStringList{c.message});
        EXPECT_EQ(boxes.shown[0].kind, BoxKind::Plain);
        EXPECT_EQ(boxes.shown[0].caption, "");
        EXPECT_EQ(output(), "earlier rows");
        EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
        EXPECT_FALSE(page->isTimerPending(1));
        page->setItemText(c.control, before);
    }
}

TEST_F(StringPage, RunsUpToAThousandRowsIntoTheBoxAndMoreIntoTheFile)
{
    open();
    setRun(1000, false, 9, 9);
    page->CheckDlgButton(id::useCharSpec, 1);
    page->setItemText(id::charSpec, "# #");
    ASSERT_TRUE(writeAll(outFile(), "left from an earlier run\r\n"));
    boxes.whileOpen = [&](const BoxRequest&) {
        EXPECT_FALSE(page->IsDlgItemEnabled(id::generate)) << "disabled until the box is closed";
    };
    click(id::generate);
    EXPECT_FALSE(page->IsDlgItemEnabled(id::generate));
    EXPECT_EQ(output(), "生成中，请稍后...");
    EXPECT_EQ(page->timerInterval(1), 200);
    ASSERT_TRUE(page->firePendingTimer(1));
    EXPECT_FALSE(page->isTimerPending(1));
    EXPECT_EQ(boxes.texts(), QStringList{"生成成功！"});
    EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
    EXPECT_FALSE(QFile::exists(outFile()));
    const QStringList rows = output().split("\r\n");
    ASSERT_EQ(rows.size(), 1001);
    EXPECT_EQ(rows.last(), "") << "every row ends with CR LF";
    for (qsizetype i = 0; i < 1000; ++i)
        ASSERT_TRUE(rows[i].size() == 9 && !rows[i].contains(' ')) << rows[i].toStdString();
    EXPECT_TRUE(output().contains('#'));
    EXPECT_EQ(page->itemText(id::charSpec), "# #") << "the box keeps its spaces";

    // One more row: exactly the rows of the run, in GBK, in the file.
    setRun(1001, true, 1, 3);
    core->core().setRandom(std::make_unique<RandomGen>(RandomGen::seeded("rows")));
    generate();
    EXPECT_EQ(output(), "生成完成，请单击导出按钮。");
    core->core().setRandom(std::make_unique<RandomGen>(RandomGen::seeded("rows")));
    EXPECT_EQ(readAll(outFile()).toStdString(), makeRun(page->settings));
    EXPECT_EQ(boxes.texts(), QStringList({"生成成功！", "生成成功！"}));
}

TEST_F(StringPage, FileFailuresNameThePathAndNeverClaimSuccess)
{
    // A program folder that is a regular file: nothing can be created in it.
    const QString notAFolder = tmp.filePath("program");
    ASSERT_TRUE(writeAll(notAFolder, "x"));
    open(notAFolder);
    setRun(5000);
    generate();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.startsWith("无法创建输出文件")) << boxes.shown[0].text.toStdString();
    EXPECT_TRUE(boxes.shown[0].text.contains(notAFolder + "/_out.txt"));
    EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
    EXPECT_EQ(output(), "");
    boxes.shown.clear();
    click(id::exportText);
    EXPECT_EQ(boxes.texts(), QStringList{"没有可导出的内容，请先生成。"});
    EXPECT_EQ(saveDialog.asked, 0);

    // An output file that cannot be removed (a folder in its place) stops
    // even a run into the box.
    open();
    ASSERT_TRUE(QDir().mkpath(outFile() + "/inside"));
    setRun(10);
    boxes.shown.clear();
    generate();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.startsWith("无法删除输出文件“" + outFile())) << boxes.shown[0].text.toStdString();
    EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
}

TEST_F(StringPage, ExportsTheBoxOrTheFileInEitherEncoding)
{
    open();
    for (const int count : {20, 3000}) {
        SCOPED_TRACE(count);
        setRun(count, true, 200, 300); // about 1.5 MB of GBK for the file
        generate();
        const QByteArray gbkRows = count > 1000 ? readAll(outFile()) : QByteArray::fromStdString(*gbk::encode(output()));
        ASSERT_EQ(gbkRows.count("\r\n"), count);
        const QString gbkPath = tmp.filePath(QStringLiteral("gbk-%1.txt").arg(count));
        const QString utf8Path = tmp.filePath(QStringLiteral("utf8-%1.txt").arg(count));
        saveDialog.answers = {SaveTarget{gbkPath, TextEncoding::Gbk}, SaveTarget{utf8Path, TextEncoding::Utf8}, std::nullopt};
        for (int i = 0; i < 3; ++i)
            click(id::exportText);
        EXPECT_EQ(saveDialog.lastSuggestedName, "随机字符串.txt");
        EXPECT_EQ(readAll(gbkPath), gbkRows);
        EXPECT_EQ(readAll(utf8Path), gbk::decode(gbkRows.toStdString()).toUtf8());
        EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files).size(), count > 1000 ? 4 : 2) << "cancel writes nothing";
    }
    EXPECT_EQ(boxes.texts(), QStringList({"生成成功！", "生成成功！"}));

    // A target that cannot be written is named, and nothing else is shown.
    saveDialog.answers = {SaveTarget{tmp.filePath("no/such/folder.txt"), TextEncoding::Gbk}};
    click(id::exportText);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_TRUE(boxes.shown[2].text.startsWith("无法创建文件")) << boxes.shown[2].text.toStdString();
}

// The file's own edges, below the page: an old longer file, a full disk, a
// conversion whose pieces end inside characters, a cut last character.
TEST(OutputFile, TruncatesStopsOnAFullDiskAndConvertsWhole)
{
    ScopedCore core = ScopedCore::seeded("file");
    const QDir dir(core.folder());
    StringSettings s;
    s.isNum = 1;
    s.lenMin = s.lenMax = 2;
    s.count = 2000;
    ASSERT_TRUE(writeAll(dir.filePath("_out.txt"), QByteArray(100000, 'z')));
    EXPECT_EQ(writeOutputFile(dir.filePath("_out.txt").toStdString(), s), "");
    EXPECT_EQ(readAll(dir.filePath("_out.txt")).size(), 2000 * 4) << "no stale bytes after the new rows";

    const QString full = dir.filePath("full");
    ASSERT_TRUE(QFile::link("/dev/full", full));
    const QString message = writeOutputFile(full.toStdString(), s, 1024);
    EXPECT_TRUE(message.startsWith("写入输出文件“" + full + "”失败")) << message.toStdString();
    EXPECT_FALSE(QFileInfo(full).isSymLink()) << "the partial file is removed";

    // One ASCII byte first: the 1 MiB pieces end inside characters.
    const std::string zhong = gbk::lit("中");
    QByteArray rows = "a";
    while (rows.size() < 3 * (1 << 20))
        rows += QByteArray::fromStdString(zhong + zhong + "\r\n");
    const SaveTarget utf8{dir.filePath("utf8.txt"), TextEncoding::Utf8};
    ASSERT_TRUE(writeAll(dir.filePath("in.txt"), rows));
    EXPECT_EQ(copyOutputFile(dir.filePath("in.txt"), utf8), "");
    EXPECT_EQ(readAll(utf8.path), gbk::decode(rows.toStdString()).toUtf8());
    ASSERT_TRUE(writeAll(dir.filePath("in.txt"), rows + zhong.substr(0, 1).c_str()));
    EXPECT_TRUE(copyOutputFile(dir.filePath("in.txt"), utf8).contains("不是有效的 GBK 文本"));
    EXPECT_EQ(readAll(utf8.path), gbk::decode(rows.toStdString()).toUtf8()) << "the target keeps what it held";
}

// Pictures of the string tab after a run with Chinese characters and after a
// run to the file, under <build>/screenshots.
TEST(StringTabPictures, AfterRuns)
{
    CGeneratorApp::ConfigureApplication();
    const QString dir = QStringLiteral(KELVANE_BUILD_DIR "/screenshots");
    ASSERT_TRUE(QDir().mkpath(dir));
    RecordingBoxes boxes;
    QTemporaryDir out;
    {
        CGeneratorDlg dlg;
        dlg.Create(nullptr);
        dlg.show();
        CStringPage& page = dlg.stringPage();
        page.outPath = gbk::encode(out.filePath("_out.txt")).value();
        const struct {
            int count;
            int hz;
            const char* name;
        } runs[] = {{12, 1, "string-hanzi.png"}, {100000, 0, "string-file.png"}};
        for (const auto& r : runs) {
            page.CheckDlgButton(id::hanzi, r.hz);
            page.SetDlgItemInt(id::count, r.count);
            page.item<QAbstractButton>(id::generate)->click();
            page.firePendingTimer(1);
            QApplication::processEvents();
            EXPECT_TRUE(dlg.grab().save(dir + "/" + r.name));
        }
    }
    CGeneratorApp::ReleaseCoreObjects();
    EXPECT_EQ(boxes.texts(), QStringList({"生成成功！", "生成成功！"}));
}
} // namespace
