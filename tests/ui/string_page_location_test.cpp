// Where the string page puts its output file: beside a program whose folder
// can be written, in the user's data folder for an installed one.
#include "core/core_options.h"
#include "res/resource.h"
#include "support/recording_boxes.h"
#include "support/scoped_core.h"
#include "ui/string_page.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>

namespace {
namespace id = idc::string;

// Runs count rows of 4 digits on page; the size of the output file after it.
qint64 runIntoFile(CStringPage& page, int count)
{
    page.CheckDlgButton(id::digits, 1);
    page.SetDlgItemInt(id::lenMin, 4);
    page.SetDlgItemInt(id::lenMax, 4);
    page.SetDlgItemInt(id::count, count);
    page.item<QAbstractButton>(id::generate)->click();
    page.firePendingTimer(1);
    return QFile(pathFromGbk(page.outPath)).size();
}
} // namespace

TEST(StringPageOutputFile, BesideAWritableProgramInTheDataFolderOtherwise)
{
    RecordingBoxes boxes;
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    ASSERT_FALSE(dataHome.isEmpty()) << "the test main gives every test its own data folder";
    for (const bool installed : {false, true}) {
        ScopedCore core(nullptr, installed ? QStringLiteral("/usr/bin") : QString());
        CStringPage page;
        page.Create(nullptr);
        const QString expected = (installed ? dataHome + QStringLiteral("/Kelvane") : core.folder()) + QStringLiteral("/_out.txt");
        EXPECT_EQ(pathFromGbk(page.outPath), expected) << "installed: " << installed;
        EXPECT_EQ(runIntoFile(page, 1001), 1001 * 6) << "installed: " << installed;
        page.DestroyWindow();
    }
    EXPECT_EQ(boxes.texts(), QStringList({"生成成功！", "生成成功！"}));
}
