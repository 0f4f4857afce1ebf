// The string page: options loaded, read and stored, the enable rules,
// Generate's checks, runs into the box and into the output file, failures of
// the file, and Export from the box and from the file.
#include "core/core_options.h"
#include "core/gbk.h"
#include "core/qt/qgbk.h"
#include "res/resource.h"
#include "support/recording_boxes.h"
#include "support/scoped_core.h"
#include "ui/generator_app.h"
#include "ui/output_file.h"
#include "ui/string_page.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QRegularExpression>
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

// text is count rows of len characters, none of them a space, each followed by CR LF.
bool rowsOf(const QString& text, int count, int len)
{
    return QRegularExpression(QStringLiteral("^([^ \r\n]{%1}\r\n){%2}$").arg(len).arg(count)).match(text).hasMatch();
}

class StringPage : public ::testing::Test {
protected:
    // The program's own style and font, for the pictures of the page.
    static void SetUpTestSuite() { CGeneratorApp::ConfigureApplication(); }
    void SetUp() override { open(); }
    void TearDown() override { page->DestroyWindow(); }
    void open()
    {
        page = std::make_unique<CStringPage>();
        page->Create(nullptr);
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
    void click(int control) { page->item<QAbstractButton>(control)->click(); }
    QString outFile() const { return gbk::decode(page->outPath); }
    QString output() const { return page->itemText(id::output); }

    RecordingBoxes boxes;
    ScriptedSaveDialog saveDialog;
    QTemporaryDir tmp;
    ScopedCore core;
    std::unique_ptr<CStringPage> page;
};

TEST_F(StringPage, LoadsChecksAndStoresTheControls)
{
    ASSERT_TRUE(writeAll(QString::fromStdString(core.folder()) + "/_out.txt", "old rows\r\n"));
    g_core->saveConfigB("isCharSpec", 1);
    g_core->saveConfigStr("charExclude", "0O");
    g_core->saveConfigStr("head", gbk::lit("前"));
    g_core->saveConfigInt("count_str", 1234);
    open();
    EXPECT_FALSE(QFile::exists(outFile())) << "a start removes an old output file";
    EXPECT_EQ(page->itemText(id::count), "1234");
    const auto enabled = [&] { return std::pair(page->IsDlgItemEnabled(id::charSpec), page->IsDlgItemEnabled(id::charExclude)); };
    EXPECT_EQ(enabled(), std::pair(true, false));
    click(id::useCharSpec);
    click(id::useCharEx);
    EXPECT_EQ(enabled(), std::pair(false, true));

    // Refused: a failing rule, then a text GBK cannot hold (texts are read
    // first). The box and the button stay as they were.
    setRun(5);
    page->setItemText(id::output, "earlier rows");
    page->setItemText(id::lenMin, "9");
    click(id::generate);
    page->setItemText(id::head, QStringLiteral("头\U0001F600"));
    click(id::generate);
    ASSERT_EQ(boxes.texts(), QStringList({"生成长度设定无效！", QStringLiteral("“头部”中含有 GBK 无法表示的字符“\U0001F600”（U+1F600），请修改后再生成。")}));
    EXPECT_EQ(boxes.shown[1].kind, BoxKind::Plain);
    EXPECT_EQ(output(), "earlier rows");
    EXPECT_TRUE(page->IsDlgItemEnabled(id::generate) && !page->isTimerPending(1));

    // Stored as shown, the disabled list box too; the head keeps its loaded value.
    page->setItemText(id::charSpec, " # $ ");
    page->setItemText(id::charExclude, "0 O");
    page->setItemText(id::insert, " \t3|x|1|y \r\n");
    page->setItemText(id::lenMin, "");
    page->setItemText(id::count, "");
    page->DestroyWindow();
    EXPECT_EQ(g_core->getConfigB("isCharSpec"), 0);
    for (const auto& [key, value] : {std::pair<const char*, CString>{"charSpec", " # $ "}, {"charExclude", "0 O"},
                                     {"insertStr", "3|x|1|y"}, {"head", gbk::lit("前")}})
        EXPECT_EQ(g_core->getConfigStr(key), value) << key;
    EXPECT_EQ(g_core->getConfigInt("len_min_str"), 0);
    EXPECT_EQ(g_core->getConfigInt("count_str"), 0);
    EXPECT_EQ(boxes.shown.size(), 2u) << "closing shows nothing";
}

TEST_F(StringPage, RunsIntoTheBoxOrTheFileAndExportsEitherInBothEncodings)
{
    // Saves in GBK, then in UTF-8, then cancels; the files must hold the rows.
    const auto expectExports = [&](const QByteArray& rows, const QString& tag) {
        const QString gbkPath = tmp.filePath("gbk" + tag), utf8Path = tmp.filePath("utf8" + tag);
        saveDialog.answers = {SaveTarget{gbkPath, TextEncoding::Gbk}, SaveTarget{utf8Path, TextEncoding::Utf8}, std::nullopt};
        for (int i = 0; i < 3; ++i)
            click(id::exportText);
        EXPECT_EQ(readAll(gbkPath), rows);
        EXPECT_EQ(readAll(utf8Path), gbk::decode(rows.toStdString()).toUtf8());
    };
    const QString shots = QStringLiteral(KELVANE_BUILD_DIR "/screenshots/");
    ASSERT_TRUE(QDir().mkpath(shots));
    setRun(1000, 9);
    click(id::useCharSpec);
    page->setItemText(id::charSpec, "# #");
    ASSERT_TRUE(writeAll(outFile(), "left from an earlier run\r\n"));
    boxes.whileOpen = [&](const BoxRequest&) { EXPECT_FALSE(page->IsDlgItemEnabled(id::generate)); };
    click(id::generate);
    EXPECT_EQ(output(), "生成中，请稍后...");
    ASSERT_TRUE(page->firePendingTimer(1));
    EXPECT_FALSE(page->isTimerPending(1));
    EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
    EXPECT_FALSE(QFile::exists(outFile()));
    EXPECT_TRUE(rowsOf(output(), 1000, 9)) << "no spaces, CR LF after each";
    EXPECT_TRUE(output().contains('#'));
    EXPECT_EQ(page->itemText(id::charSpec), "# #") << "the box keeps its spaces";
    EXPECT_TRUE(page->grab().save(shots + "string-hanzi.png"));
    expectExports(QByteArray::fromStdString(*gbk::encode(output())), "-box");

    // One more row: the rows go to the file, in GBK, with nothing before them.
    setRun(1001);
    click(id::generate);
    page->firePendingTimer(1);
    EXPECT_EQ(output(), "生成完成，请单击导出按钮。");
    EXPECT_TRUE(page->grab().save(shots + "string-file.png"));
    const QByteArray rows = readAll(outFile());
    EXPECT_TRUE(rowsOf(gbk::decode(rows.toStdString()), 1001, 4));
    expectExports(rows, "-file");
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files).size(), 4) << "cancel writes nothing";
    EXPECT_EQ(boxes.texts(), QStringList({"生成成功！", "生成成功！"}));

    boxes.whileOpen = nullptr;
    saveDialog.answers = {SaveTarget{tmp.filePath("no/such/folder.txt"), TextEncoding::Gbk}};
    click(id::exportText);
    EXPECT_TRUE(boxes.texts().last().startsWith("无法创建文件")) << boxes.texts().last().toStdString();
}

TEST_F(StringPage, FileFailuresNameThePathAndNeverClaimSuccess)
{
    const auto expectFailure = [&](const QString& path, const QString& start) {
        page->outPath = path.toStdString();
        boxes.shown.clear();
        click(id::generate);
        page->firePendingTimer(1);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_TRUE(boxes.shown[0].text.startsWith(start + "“" + path + "”")) << boxes.shown[0].text.toStdString();
        EXPECT_TRUE(page->IsDlgItemEnabled(id::generate));
        EXPECT_EQ(output(), "");
    };
    // A program folder that is a regular file: nothing can be created in it.
    ASSERT_TRUE(writeAll(tmp.filePath("program"), "x"));
    setRun(5000);
    expectFailure(tmp.filePath("program/_out.txt"), "无法创建输出文件");
    // An output file that cannot be removed (a folder in its place) stops
    // even a run into the box.
    ASSERT_TRUE(QDir().mkpath(tmp.filePath("app/_out.txt/inside")));
    setRun(10);
    expectFailure(tmp.filePath("app/_out.txt"), "无法删除输出文件");
}

// The file's own edges, below the page: an old longer file, a full disk, a
// conversion whose 1 MiB pieces end inside characters.
TEST(OutputFile, TruncatesStopsOnAFullDiskAndConvertsAcrossPieces)
{
    ScopedCore core = ScopedCore::seeded("file");
    const QDir dir(QString::fromStdString(core.folder()));
    StringSettings s;
    s.isNum = 1;
    s.lenMin = s.lenMax = 2;
    s.count = 10;
    ASSERT_TRUE(writeAll(dir.filePath("_out.txt"), QByteArray(1000, 'z')));
    EXPECT_EQ(writeOutputFile(dir.filePath("_out.txt").toStdString(), s), "");
    EXPECT_EQ(readAll(dir.filePath("_out.txt")).size(), 10 * 4) << "no stale bytes after the new rows";

    const QString full = dir.filePath("full");
    ASSERT_TRUE(QFile::link("/dev/full", full));
    const QString message = writeOutputFile(full.toStdString(), s);
    EXPECT_TRUE(message.startsWith("写入输出文件“" + full + "”失败")) << message.toStdString();
    EXPECT_FALSE(QFileInfo(full).isSymLink()) << "the partial file is removed";

    // One ASCII byte first: the 1 MiB pieces end inside characters.
    const QByteArray rows = "a" + QByteArray::fromStdString(gbk::lit("中中\r\n")).repeated(1 << 19);
    ASSERT_TRUE(writeAll(dir.filePath("in.txt"), rows));
    EXPECT_EQ(copyOutputFile(dir.filePath("in.txt"), {dir.filePath("utf8.txt"), TextEncoding::Utf8}), "");
    EXPECT_EQ(readAll(dir.filePath("utf8.txt")), gbk::decode(rows.toStdString()).toUtf8());
}
} // namespace
