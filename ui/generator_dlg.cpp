#include "ui/generator_dlg.h"

#include "core/ccore.h"
#include "core/config_store.h"
#include "core/soft.h"
#include "platform/dialog/controls.h"
#include "platform/dialog/presenter.h"
#include "res/icons.h"
#include "res/resource.h"
#include "res/templates.h"

#include <cstdlib>
#include <new>

namespace {
struct TabRow {
    const char* label;
    const char* description;
};
const TabRow kTabs[] = {
    {"字符串", "随机密码、用户名、域名、手机号码等"},
    {"数字", "指定数值范围内的整形、浮点数等"},
    {"时间", "不定时日期数值，并可执行命令行外部程序"},
};
constexpr int kTabCount = int(std::size(kTabs));

// Fires once the window is shown: tells about a damaged options file.
constexpr UINT kStartNoticeTimer = 1;
} // namespace

CGeneratorDlg::CGeneratorDlg(QWidget* parent)
    : CDialog(kGeneratorDialogTemplate, parent), m_hIcon(loadIconGroup(IDR_MAINFRAME))
{
}

CGeneratorDlg::~CGeneratorDlg()
{
    // The pages are members: their destroy handling must run while they exist.
    DestroyWindow();
}

std::span<const MessageEntry> CGeneratorDlg::GetMessageMap() const
{
    static const MessageEntry map[] = {
        {idc::main::tab, Notify::SelChange, &CGeneratorDlg::OnSelchangeTab},
        {idc::main::about, Notify::Clicked, &CGeneratorDlg::OnAbout},
    };
    return map;
}

QString CGeneratorDlg::tabLabel(int index)
{
    return index >= 0 && index < kTabCount ? QString::fromUtf8(kTabs[index].label) : QString();
}

QString CGeneratorDlg::tabDescription(int index)
{
    return index >= 0 && index < kTabCount ? QString::fromUtf8(kTabs[index].description) : QString();
}

CTabCtrl* CGeneratorDlg::tabCtrl() const
{
    return item<CTabCtrl>(idc::main::tab);
}

BOOL CGeneratorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    // The core objects live until the whole window tree is gone
    // (CGeneratorApp releases them after DoModal).
    g_core = new CCore();
    g_core->setPresenter(&DialogPresenter::instance());
    g_soft = static_cast<tagSoft*>(std::malloc(sizeof(tagSoft)));
    if (!g_soft)
        throw std::bad_alloc();
    fillSoft(g_soft);

    setWindowIcon(m_hIcon);

    CTabCtrl* tab = tabCtrl();
    for (int i = 0; i < kTabCount; ++i)
        tab->InsertItem(i, tabLabel(i));

    // Each page loads its options while it is created.
    m_stringPage.Create(tab);
    m_numberPage.Create(tab);
    m_timePage.Create(tab);

    const QRect area = tab->GetClientRect().adjusted(1, 21, -3, -3);
    for (CDialog* page : {static_cast<CDialog*>(&m_stringPage), static_cast<CDialog*>(&m_numberPage),
                          static_cast<CDialog*>(&m_timePage)})
        page->setGeometry(area);

    ShowTab(0);
    // A damaged options file was set aside: say so once, over the window.
    if (g_core->store().wasCorrupt())
        SetTimer(kStartNoticeTimer, 0);
    return TRUE;
}

void CGeneratorDlg::OnTimer(UINT id)
{
    KillTimer(id);
    if (id == kStartNoticeTimer)
        g_core->msgboxWarning(this, g_core->store().setAsideNotice());
}

void CGeneratorDlg::ShowTab(int index)
{
    if (index >= 0 && index < kTabCount) {
        CDialog* pages[] = {&m_stringPage, &m_numberPage, &m_timePage};
        pages[index]->show();
        for (int i = 0; i < kTabCount; ++i)
            if (i != index)
                pages[i]->hide();
    }
    setItemText(idc::main::description, tabDescription(index));
}

void CGeneratorDlg::OnSelchangeTab()
{
    ShowTab(tabCtrl()->GetCurSel());
}

void CGeneratorDlg::OnAbout()
{
    g_core->uu(OPR_ABOUT, g_soft, "");
}
