// Export on every tab when the write fails (each step failing on purpose; the
// file tests fill a real disk): the page's plain box names the file and gives
// the system's reason, the old file stays as it was and no temporary is
// left behind.
#include "core/file_message.h"
#include "core/gbk.h"
#include "platform/dialog_driver.h"
#include "res/resource.h"
#include "support/failing_file_calls.h"
#include "support/file_bytes.h"
#include "support/recording_boxes.h"
#include "support/scoped_core.h"
#include "gen/string_gen.h"
#include "ui/number_page.h"
#include "ui/string_page.h"
#include "ui/output_file.h"
#include "ui/time_page.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstring>
#include <functional>
#include <memory>
#include <ostream>

// Messages shown as text when a comparison fails.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << s.toStdString();
}

namespace {
// Each tab with something to export: the three boxes and the string tab's
// output file (a run of more than 1000 rows).
struct Tab {
    const char* name;
    std::function<std::unique_ptr<CDialog>()> open;
    int exportButton;
};

template <class Page>
std::unique_ptr<CDialog> pageShowing(int output, const char* text)
{
    auto page = std::make_unique<Page>();
    page->Create();
    page->SetDlgItemText(output, text);
    return page;
}

std::unique_ptr<CDialog> stringPageWithFile()
{
    auto page = std::make_unique<CStringPage>();
    page->Create();
    namespace id = idc::string;
    page->CheckDlgButton(id::digits, 1);
    page->SetDlgItemInt(id::lenMin, 9);
    page->SetDlgItemInt(id::lenMax, 9);
    page->SetDlgItemInt(id::count, 7200);
    drive::click(*page, id::generate);
    drive::fireTimer(*page, 1);
    return page;
}

const Tab kTabs[] = {
    {"numbers", [] { return pageShowing<CNumberPage>(idc::number::output, "80\n81\n82\n83\n"); }, idc::number::exportText},
    {"times", [] { return pageShowing<CTimePage>(idc::time::output, "2026-12-06   14:03:59\r\n"); }, idc::time::exportText},
    {"strings box", [] { return pageShowing<CStringPage>(idc::string::output, "abcdefghijkl\r\n"); }, idc::string::exportText},
    {"strings file", stringPageWithFile, idc::string::exportText},
};

class ExportFailure : public ::testing::Test {
protected:
    // Exports tab to path, with the file calls failing at `at` during the
    // export (the output file of the tab is written before); the one box
    // shown, or "" when none was.
    QString exportTo(const Tab& tab, const QString& path, FailingFileCalls::At at, int error)
    {
        const auto page = tab.open();
        boxes.shown.clear();
        saveDialog.answers = {SaveTarget{path.toStdString(), TextEncoding::Gbk}};
        {
            FailingFileCalls failing(at, error);
            drive::click(*page, tab.exportButton);
        }
        page->DestroyWindow();
        if (boxes.shown.size() != 1)
            return QStringLiteral("<%1 boxes>").arg(boxes.shown.size());
        EXPECT_EQ(boxes.shown[0].kind, BoxKind::Plain);
        return QString::fromStdString(boxes.shown[0].text);
    }

    ScopedCore core = ScopedCore::seeded("export");
    RecordingBoxes boxes;
    ScriptedSaveDialog saveDialog;
};

TEST_F(ExportFailure, EachFailingStepIsReportedAndTheOldFileKept)
{
    using At = FailingFileCalls::At;
    struct Failure {
        At at;
        int error;
        const char* message;
    } failures[] = {
        // The write and the save step each (fsync and close fail as the save
        // step too: the file tests check that).
        {At::Write, ENOSPC, "写入文件“%1”失败：%2"},
        {At::LaterWrite, EIO, "写入文件“%1”失败：%2"},
        {At::Rename, EXDEV, "保存文件“%1”失败：%2"},
    };
    for (const Tab& tab : kTabs) {
        for (const Failure& f : failures) {
            SCOPED_TRACE(testing::Message() << tab.name << ", step " << int(f.at));
            QTemporaryDir dir;
            const QString keep = dir.filePath("keep.txt");
            ASSERT_TRUE(writeAll(keep, "old\r\n"));
            const QString shown = exportTo(tab, keep, f.at, f.error);
            EXPECT_EQ(shown, QString::fromUtf8(f.message).arg(keep, QString::fromLocal8Bit(std::strerror(f.error))));
            EXPECT_EQ(readAll(keep), "old\r\n");
            EXPECT_EQ(entryNames(dir.path()), QStringList{"keep.txt"});
        }
    }
}

// The string tab's output file on a device that takes nothing: the failure
// names the file and the partial file is removed, so no broken run is left
// for Export.
TEST(OutputFileFailure, AFullDeviceIsReportedAndThePartialFileRemoved)
{
    ScopedCore core = ScopedCore::seeded("file");
    const QString full = QDir(QString::fromStdString(core.folder())).filePath("full");
    ASSERT_TRUE(QFile::link("/dev/full", full));
    StringSettings s;
    s.isNum = 1;
    s.lenMin = s.lenMax = 2;
    s.count = 10;
    const sys::FileResult r = writeOutputFile(full.toStdString(), s);
    EXPECT_TRUE(QString::fromStdString(fileMessage(r)).startsWith("写入输出文件“" + full + "”失败")) << fileMessage(r);
    EXPECT_FALSE(QFileInfo(full).isSymLink()) << "the partial file is removed";
}
} // namespace
