// The dialog layer: dialog units, controls by id with their GBK text and
// digits-only typing, the message map, window timers, destroy order and the
// About text.
#include "core/gbk.h"
#include "core/qt/qgbk.h"
#include "platform/dialog/cdialog.h"
#include "platform/dialog/presenter.h"
#include "res/templates.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {
// A dialog on any template that logs what reaches it: clicks of 1024 and
// changes of 1020 (a button and an edit of the number page's template), its
// timers, its destruction.
class Probe : public CDialog {
public:
    explicit Probe(const DialogTemplate& t = kNumberPageTemplate, std::vector<std::string>* shared = nullptr)
        : CDialog(t), log(shared ? *shared : own) {}
    std::vector<std::string> own;
    std::vector<std::string>& log;
    bool killOnArrival = false;

    long count(const std::string& entry) const { return std::count(log.begin(), log.end(), entry); }
    void OnClick() { log.push_back("click"); }
    void OnEditChange() { log.push_back("change " + itemText(1020).toStdString()); }
    std::span<const MessageEntry> GetMessageMap() const override
    {
        static const MessageEntry map[] = {{1024, Notify::Clicked, &Probe::OnClick},
                                           {1020, Notify::Changed, &Probe::OnEditChange}};
        return map;
    }
    void OnTimer(UINT id) override
    {
        log.push_back("timer " + std::to_string(id));
        if (killOnArrival)
            KillTimer(id);
    }
    void OnDestroy() override { log.push_back("destroy " + std::to_string(dialogTemplate().id)); }
};
} // namespace

TEST(DialogUnits, NinePointTemplatesUseSixByTwelveBaseUnitsAndRoundHalvesAway)
{
    const DialogUnits u = DialogUnits::forFont(dialogFont("宋体", 9));
    EXPECT_EQ(QSize(u.baseX, u.baseY), QSize(6, 12));
    EXPECT_EQ(u.rect(7, 37, 339, 278), QRect(11, 56, 509, 417)); // 10.5 -> 11, 55.5 -> 56, 508.5 -> 509
    Probe p(kGeneratorDialogTemplate);
    p.Create(nullptr);
    EXPECT_EQ(p.size(), QSize(530, 483)); // 353 x 322 units
    EXPECT_EQ(p.minimumSize(), p.maximumSize()); // fixed frame
}

TEST(CDialog, ControlsByIdKeepTheirTextAndRouteTheMappedNotifications)
{
    Probe p;
    p.Create(nullptr);
    p.show();
    // Mapped clicks (Enter on the focused button too) and changes reach their handlers; others do not.
    auto* button = p.item<QPushButton>(1024);
    QTest::mouseClick(button, Qt::LeftButton);
    p.setItemText(1020, QStringLiteral("x"));
    p.item<QAbstractButton>(1018)->click();
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(p.log, (std::vector<std::string>{"click", "change x", "click"}));
    EXPECT_EQ(p.IsDlgButtonChecked(1018), 1);
    p.CheckDlgButton(1019, 2); // any nonzero state ticks
    EXPECT_EQ(p.IsDlgButtonChecked(1019), 1);

    // GBK text crosses into Unicode and back with its CR LF; text GBK cannot hold is not handed out altered.
    p.SetDlgItemText(1026, gbk::lit("头部\r\n2\r\n"));
    EXPECT_EQ(p.item<QPlainTextEdit>(1026)->toPlainText(), QStringLiteral("头部\n2\n"));
    EXPECT_EQ(p.GetDlgItemText(1026), gbk::lit("头部\r\n2\r\n"));
    p.setItemText(1021, QStringLiteral("x😀"));
    EXPECT_EQ(p.GetDlgItemText(1021), std::nullopt);
    EXPECT_EQ(p.GetDlgItemText(999), ""); // no such control

    // Digits-only: typed digits only, but pasted text of any kind, read as atoi reads it.
    auto* digits = p.item<QLineEdit>(1022);
    digits->setFocus();
    QTest::keyClicks(digits, "1a2-3.4 ");
    QTest::keyClick(digits, Qt::Key_Backspace);
    EXPECT_EQ(digits->text(), QStringLiteral("123"));
    digits->clear();
    QApplication::clipboard()->setText(QStringLiteral("-12ab😀"));
    digits->paste();
    EXPECT_EQ(p.GetDlgItemAtoi(1022), -12);
    p.setItemText(1022, QString());
    EXPECT_EQ(p.GetDlgItemAtoi(1022), 0);
}

TEST(CDialog, TimersRepeatUntilKilledAndAreKeptPerWindow)
{
    Probe a, b;
    a.Create(nullptr);
    b.Create(nullptr);
    EXPECT_EQ(a.SetTimer(1, 5), 1u);
    EXPECT_EQ(b.SetTimer(1, 60000), 1u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return a.count("timer 1") >= 2; }, 5000)); // repeating
    EXPECT_TRUE(b.log.empty());
    EXPECT_TRUE(a.KillTimer(1));
    const auto fired = a.count("timer 1");
    // A handler that kills its timer on arrival gets it once; a negative interval counts as 0.
    a.killOnArrival = true;
    a.SetTimer(7, -5);
    EXPECT_EQ(a.timerInterval(7), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !a.isTimerPending(7); }, 5000));
    QTest::qWait(20);
    EXPECT_EQ(std::pair(a.count("timer 7"), a.count("timer 1")), std::pair(1L, fired));

    b.SetTimer(1, 250); // same id: restarted with the new interval
    EXPECT_EQ(b.timerInterval(1), 250);
    b.DestroyWindow(); // its timers go with it
    EXPECT_FALSE(b.isTimerPending(1));
    EXPECT_EQ(b.SetTimer(2, 10), 0u);
}

TEST(CDialog, DestroyRunsOnceOwnHandlingBeforeTheChildrensAndEndsTheMessages)
{
    std::vector<std::string> log;
    Probe parent(kGeneratorDialogTemplate, &log), child(kNumberPageTemplate, &log);
    parent.Create(nullptr);
    child.Create(&parent);
    EXPECT_FALSE(child.isVisibleTo(&parent)); // child templates start hidden
    parent.DestroyWindow();
    parent.DestroyWindow();
    child.setItemText(1020, QStringLiteral("y")); // handled by nobody now
    EXPECT_EQ(log, (std::vector<std::string>{"destroy 102", "destroy 130"}));
}

TEST(Boxes, AboutTextShowsEveryFieldAndReadsNonePastItsEnd)
{
    tagSoft soft;
    fillSoft(&soft);
    const QString about = DialogPresenter::aboutText(soft);
    for (const char* field : {soft.name, soft.maker, soft.copyright, soft.description})
        EXPECT_TRUE(about.contains(gbk::decode(field))) << field;
    std::memset(&soft, 'N', sizeof soft); // every field full to its last byte, none terminated
    const QStringList full = DialogPresenter::aboutText(soft).split(QLatin1Char('\n'));
    EXPECT_EQ(full.mid(full.size() - 4), (QStringList{QString(51, u'N'), QString(101, u'N'), QString(101, u'N'),
                                                      QString(101, u'N')}));
}
