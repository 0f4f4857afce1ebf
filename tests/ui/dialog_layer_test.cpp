// The dialog layer: text in GBK, digits-only typing, check boxes, the message
// map, window timers, destroy order, boxes and saving text.
#include "core/gbk.h"
#include "platform/dialog/cdialog.h"
#include "platform/dialog/presenter.h"
#include "platform/dialog/save_file.h"
#include "support/recording_boxes.h"
#include "support/scoped_core.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr std::uint32_t kEdit = cs::Border | cs::AutoHScroll | cs::TabStop;
const ControlDef kProbeControls[] = {
    {10, ControlKind::PushButton, cs::TabStop, 4, 4, 40, 14, "按钮"},
    {11, ControlKind::CheckBox, cs::TabStop, 4, 22, 40, 10, "勾选"},
    {12, ControlKind::Edit, kEdit, 4, 36, 80, 14, ""},
    {13, ControlKind::DigitEdit, kEdit, 4, 54, 80, 14, ""},
    {14, ControlKind::OutputEdit, kEdit | cs::VScroll | cs::WantReturn, 4, 72, 150, 60, ""},
    {15, ControlKind::Edit, kEdit | cs::Disabled, 90, 36, 60, 14, ""},
    {kNoId, ControlKind::Static, cs::Left, 90, 4, 40, 8, "标签"},
};
const DialogTemplate kProbe{900, 200, 150, "探针", "宋体", 9,
                            ds::Popup | ds::Caption | ds::SysMenu | ds::ModalFrame | ds::SetFont, kProbeControls};
const DialogTemplate kProbeChild{901, 100, 50, "", "宋体", 9, ds::Child | ds::SetFont, {}};

std::vector<std::string>* g_log = nullptr;

class Probe : public CDialog {
public:
    explicit Probe(const DialogTemplate& t = kProbe) : CDialog(t) {}
    std::vector<std::string> log;
    std::vector<UINT> fired;
    std::function<void(UINT)> onTimer;

    void OnClick() { log.push_back("click"); }
    void OnEditChange() { log.push_back("change " + itemText(12).toStdString()); }
    std::span<const MessageEntry> GetMessageMap() const override
    {
        static const MessageEntry map[] = {
            {10, Notify::Clicked, &Probe::OnClick},
            {12, Notify::Changed, &Probe::OnEditChange},
        };
        return dialogTemplate().id == kProbe.id ? std::span<const MessageEntry>(map) : std::span<const MessageEntry>();
    }
    void OnTimer(UINT id) override
    {
        fired.push_back(id);
        if (onTimer)
            onTimer(id);
    }
    void OnDestroy() override
    {
        if (g_log)
            g_log->push_back("destroy " + std::to_string(dialogTemplate().id) + (g_core ? " core" : ""));
    }
};
} // namespace

TEST(DialogUnits, NinePointTemplatesUseSixByTwelveBaseUnitsAndRoundHalvesAway)
{
    const DialogUnits u = DialogUnits::forFont(dialogFont("宋体", 9));
    EXPECT_EQ(u.baseX, 6);
    EXPECT_EQ(u.baseY, 12);
    EXPECT_EQ(u.rect(7, 37, 339, 278), QRect(11, 56, 509, 417)); // 10.5 -> 11, 55.5 -> 56, 508.5 -> 509
    EXPECT_EQ(DialogUnits::mulDiv(-7, 6, 4), -11);
    Probe p;
    p.Create(nullptr);
    EXPECT_EQ(p.size(), QSize(300, 225));
    EXPECT_EQ(p.minimumSize(), p.maximumSize()); // fixed frame
    EXPECT_EQ(p.windowTitle(), QStringLiteral("探针"));
}

TEST(CDialog, TextCrossesTheGbkBoundaryWithoutSilentLoss)
{
    Probe p;
    p.Create(nullptr);
    p.SetDlgItemText(12, gbk::lit("头部ab"));
    EXPECT_EQ(p.itemText(12), QStringLiteral("头部ab"));
    EXPECT_EQ(p.GetDlgItemText(12), gbk::lit("头部ab"));

    p.setItemText(12, QStringLiteral("x😀")); // no GBK form
    EXPECT_EQ(p.GetDlgItemText(12), std::nullopt);
    EXPECT_EQ(p.itemText(12), QStringLiteral("x😀"));


    // Multi-line text comes back with CR LF line ends, as it went in.
    p.SetDlgItemText(14, "1\r\n2\r\n");
    EXPECT_EQ(p.GetDlgItemText(14), "1\r\n2\r\n");
    p.SetDlgItemInt(13, -42);
    EXPECT_EQ(p.GetDlgItemText(13), "-42");
    EXPECT_EQ(p.GetDlgItemAtoi(13), -42);
    p.setItemText(13, QStringLiteral(" 12😀"));
    EXPECT_EQ(p.GetDlgItemAtoi(13), 12);
    p.setItemText(13, QString());
    EXPECT_EQ(p.GetDlgItemAtoi(13), 0);
    EXPECT_EQ(p.GetDlgItemText(999), ""); // no such control
}

TEST(CDialog, DigitEditTakesTypedDigitsOnlyButAnySetOrPastedText)
{
    Probe p;
    p.Create(nullptr);
    p.show();
    auto* e = p.item<QLineEdit>(13);
    ASSERT_NE(e, nullptr);
    e->setFocus();
    QTest::keyClicks(e, "1a2-3.4 ");
    EXPECT_EQ(e->text(), QStringLiteral("1234"));
    QTest::keyClick(e, Qt::Key_Backspace);
    EXPECT_EQ(e->text(), QStringLiteral("123"));
    p.setItemText(13, QStringLiteral("-7x"));
    EXPECT_EQ(e->text(), QStringLiteral("-7x"));
    e->clear();
    QApplication::clipboard()->setText(QStringLiteral("-12ab"));
    e->paste();
    EXPECT_EQ(e->text(), QStringLiteral("-12ab"));
    // An ordinary edit takes anything.
    auto* plain = p.item<QLineEdit>(12);
    plain->setFocus();
    QTest::keyClicks(plain, "a-1");
    EXPECT_EQ(plain->text(), QStringLiteral("a-1"));
}

TEST(CDialog, MessageMapRoutesClicksAndChangesOfItsControlsOnly)
{
    Probe p;
    p.Create(nullptr);
    p.show();
    QTest::mouseClick(p.item<QPushButton>(10), Qt::LeftButton);
    p.setItemText(12, QStringLiteral("x"));
    QTest::mouseClick(p.item<QCheckBox>(11), Qt::LeftButton); // not in the map
    p.item<QPushButton>(10)->setFocus();
    QTest::keyClick(p.item<QPushButton>(10), Qt::Key_Return); // Enter presses the focused button
    EXPECT_EQ(p.log, (std::vector<std::string>{"click", "change x", "click"}));
    EXPECT_EQ(p.IsDlgButtonChecked(11), 1);
    p.CheckDlgButton(11, 0);
    EXPECT_EQ(p.IsDlgButtonChecked(11), 0);
    p.CheckDlgButton(11, 2); // any nonzero state ticks
    EXPECT_EQ(p.IsDlgButtonChecked(11), 1);

    EXPECT_FALSE(p.IsDlgItemEnabled(15)); // created disabled
    p.EnableDlgItem(15, true);
    EXPECT_TRUE(p.IsDlgItemEnabled(15));
    p.EnableDlgItem(10, false);
    QTest::mouseClick(p.item<QPushButton>(10), Qt::LeftButton);
    EXPECT_EQ(p.log.size(), 3u);

    p.DestroyWindow();
    p.item<QPushButton>(10)->click();
    EXPECT_EQ(p.log.size(), 3u); // a destroyed window handles nothing
}

TEST(CDialog, TimersRepeatUntilKilledAndAreKeptPerWindow)
{
    Probe a, b;
    a.Create(nullptr);
    b.Create(nullptr);
    EXPECT_EQ(a.SetTimer(1, 5), 1u);
    EXPECT_EQ(b.SetTimer(1, 60000), 1u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return a.fired.size() >= 2; }, 5000)); // repeating
    EXPECT_TRUE(b.fired.empty());
    EXPECT_TRUE(a.KillTimer(1));
    const auto n = a.fired.size();
    QTest::qWait(30);
    EXPECT_EQ(a.fired.size(), n);
    EXPECT_FALSE(a.KillTimer(1));

    // A handler that kills its timer on arrival gets it once.
    a.onTimer = [&](UINT id) { a.KillTimer(id); };
    a.SetTimer(7, -5);
    EXPECT_EQ(a.timerInterval(7), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !a.isTimerPending(7); }, 5000));
    QTest::qWait(20);
    EXPECT_EQ(std::count(a.fired.begin(), a.fired.end(), 7u), 1);

    // Tests can deliver a pending timer at once.
    EXPECT_TRUE(b.firePendingTimer(1));
    EXPECT_EQ(b.fired, std::vector<UINT>{1});
    EXPECT_FALSE(b.firePendingTimer(2));
    b.SetTimer(1, 250); // same id: restarted with the new interval
    EXPECT_EQ(b.timerInterval(1), 250);

    b.DestroyWindow(); // its timers go with it
    EXPECT_FALSE(b.isTimerPending(1));
    EXPECT_EQ(b.SetTimer(2, 10), 0u);
}

TEST(CDialog, DestroyRunsTheWindowsOwnHandlingBeforeItsChildrens)
{
    std::vector<std::string> log;
    g_log = &log;
    std::vector<int> observed;
    CDialog::setDestroyObserver([&](CDialog& d) { observed.push_back(d.dialogTemplate().id); });
    {
        Probe parent;
        Probe child(kProbeChild);
        parent.Create(nullptr);
        child.Create(&parent);
        EXPECT_FALSE(child.isVisibleTo(&parent)); // child templates start hidden
        parent.DestroyWindow();
        parent.DestroyWindow(); // once only
    }
    CDialog::setDestroyObserver(nullptr);
    g_log = nullptr;
    EXPECT_EQ(log, (std::vector<std::string>{"destroy 900", "destroy 901"}));
    EXPECT_EQ(observed, (std::vector<int>{900, 901}));
}

TEST(Boxes, PlainWarningAndAboutBoxesCanBeInterceptedWhileOpen)
{
    ScopedCore core;
    core->setPresenter(&DialogPresenter::instance());
    RecordingBoxes boxes;
    Probe p;
    p.Create(nullptr);
    bool sawDisabled = false;
    boxes.whileOpen = [&](const BoxRequest&) { sawDisabled = !p.IsDlgItemEnabled(10); };
    p.EnableDlgItem(10, false);
    p.MessageBox(gbk::lit("生成成功！"));
    p.EnableDlgItem(10, true);
    boxes.whileOpen = nullptr;
    EXPECT_TRUE(sawDisabled);
    g_core->msgboxWarning(&p, gbk::lit("生成个数设定无效！"));

    tagSoft soft;
    fillSoft(&soft);
    g_core->uu(OPR_ABOUT, &soft, "");

    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].owner, &p);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Plain);
    EXPECT_EQ(boxes.shown[0].caption, QString());
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("生成成功！"));
    EXPECT_EQ(boxes.shown[1].kind, BoxKind::Warning);
    EXPECT_EQ(boxes.shown[1].owner, &p);
    EXPECT_EQ(boxes.shown[1].text, QStringLiteral("生成个数设定无效！"));
    EXPECT_EQ(boxes.shown[2].kind, BoxKind::About);
    const QString about = boxes.shown[2].text;
    EXPECT_TRUE(about.startsWith(QStringLiteral("Kelvane\n")));
    EXPECT_TRUE(about.contains(QStringLiteral("3.0.12.11")));
    for (const char* field : {soft.name, soft.maker, soft.copyright, soft.description})
        EXPECT_TRUE(about.contains(gbk::decode(field))) << field;

    // A field filled to its last byte is not read past its end.
    std::memset(soft.name, 'N', sizeof soft.name);
    EXPECT_TRUE(DialogPresenter::aboutText(soft).contains(QString(int(sizeof soft.name), QLatin1Char('N'))));
    EXPECT_FALSE(DialogPresenter::aboutText(soft).contains(QString(int(sizeof soft.name) + 1, QLatin1Char('N'))));
}

TEST(SaveText, EncodesAndWritesWholeOrNothing)
{
    EXPECT_EQ(encodeText(QStringLiteral("数字1\r\n"), TextEncoding::Utf8), QByteArray("数字1\r\n"));
    const auto gbkBytes = encodeText(QStringLiteral("数字1\r\n"), TextEncoding::Gbk);
    ASSERT_TRUE(gbkBytes);
    EXPECT_EQ(gbkBytes->size(), 7);
    EXPECT_EQ(encodeText(QStringLiteral("😀"), TextEncoding::Gbk), std::nullopt);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("导出.txt"));
    EXPECT_EQ(writeFileWhole(path, "old"), QString());
    EXPECT_EQ(writeFileWhole(path, "new text"), QString());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("new text"));

    const QString bad = dir.filePath(QStringLiteral("no/such/folder/x.txt"));
    const QString message = writeFileWhole(bad, "x");
    EXPECT_TRUE(message.contains(QStringLiteral("x.txt"))) << message.toStdString();
    EXPECT_FALSE(QFile::exists(bad));

    ScriptedSaveDialog ask;
    ask.answers.push_back(SaveTarget{path, TextEncoding::Utf8});
    auto target = SaveFileService::current().ask(nullptr, QStringLiteral("导出"), QStringLiteral("数字.txt"));
    ASSERT_TRUE(target);
    EXPECT_EQ(target->encoding, TextEncoding::Utf8);
    EXPECT_EQ(SaveFileService::current().ask(nullptr, QString(), QString()), std::nullopt); // cancelled
    EXPECT_EQ(ask.asked, 2);
}
