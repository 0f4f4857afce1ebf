#include "ui/generator_dlg.h"

#include "core/ccore.h"
#include "core/config_store.h"
#include "core/soft.h"
#include "platform/presenter.h"
#include "res/resource.h"
#include "res/templates.h"
#include "ui/texts.h"

#include <cstdlib>
#include <new>

namespace {
constexpr int kTabCount = 3;

// Fires once the window is shown: tells about a damaged options file.
constexpr UINT kStartNoticeTimer = 1;
} // namespace

CGeneratorDlg::CGeneratorDlg() : CDialog(kGeneratorDialogTemplate), m_tab(*this, idc::main::tab) {}

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

    SetIcon(IDR_MAINFRAME);

    for (int i = 0; i < kTabCount; ++i)
        m_tab.InsertItem(i, text(tabLabel(i)));

    // Each page loads its options while it is created.
    m_stringPage.Create(this, idc::main::tab);
    m_numberPage.Create(this, idc::main::tab);
    m_timePage.Create(this, idc::main::tab);

    const CRect i = kPageInset;
    const CRect area = m_tab.GetClientRect().Deflated(i.left, i.top, i.right, i.bottom);
    for (CDialog* page : {static_cast<CDialog*>(&m_stringPage), static_cast<CDialog*>(&m_numberPage),
                          static_cast<CDialog*>(&m_timePage)})
        page->MoveWindow(area);

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
        g_core->msgboxWarning(GetSafeHwnd(), g_core->store().setAsideNotice());
}

void CGeneratorDlg::ShowTab(int index)
{
    CString description;
    if (index >= 0 && index < kTabCount) {
        CDialog* pages[] = {&m_stringPage, &m_numberPage, &m_timePage};
        pages[index]->ShowWindow(true);
        for (int i = 0; i < kTabCount; ++i)
            if (i != index)
                pages[i]->ShowWindow(false);
        description = text(tabDescription(index));
    }
    SetDlgItemText(idc::main::description, description);
}

void CGeneratorDlg::OnSelchangeTab()
{
    ShowTab(m_tab.GetCurSel());
}

void CGeneratorDlg::OnAbout()
{
    g_core->uu(OPR_ABOUT, g_soft, "");
}
