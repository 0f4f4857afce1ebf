#include "platform/cdialog.h"

#include "core/gbk.h"
#include "core/textutil.h"
#include "platform/boxes.h"
#include "sys/text.h"

#include <algorithm>
#include <cstdio>

namespace {
std::function<void(CDialog&)>& destroyObserver()
{
    static std::function<void(CDialog&)> observer;
    return observer;
}
} // namespace

CDialog::CDialog(const DialogTemplate& tmpl) : tmpl_(tmpl), wnd_(createDialogWindow(tmpl, *this)) {}

CDialog::~CDialog()
{
    // A window still alive here is torn down without its OnDestroy (the
    // derived part is gone); owners call DestroyWindow first.
    for (const auto& [id, ms] : timers_)
        wnd_->stopTimer(id);
    timers_.clear();
    destroyed_ = true;
    if (parent_)
        std::erase(parent_->children_, this);
    for (CDialog* child : children_)
        child->parent_ = nullptr;
}

void CDialog::setDestroyObserver(std::function<void(CDialog&)> observer)
{
    destroyObserver() = std::move(observer);
}

BOOL CDialog::Create(CDialog* parent, int parentControl)
{
    if (created_)
        return FALSE;
    if (parent) {
        parent_ = parent;
        parent->children_.push_back(this);
    }
    wnd_->create(parent ? parent->wnd_.get() : nullptr, parentControl);
    created_ = true;
    return OnInitDialog();
}

int CDialog::DoModal()
{
    const BOOL focus = Create(nullptr);
    if (!created_)
        return -1;
    const int result = wnd_->runModal(focus != FALSE);
    DestroyWindow();
    return result;
}

void CDialog::EndDialog(int result)
{
    wnd_->endModal(result);
}

void CDialog::DestroyWindow()
{
    if (!created_ || destroyed_)
        return;
    destroyed_ = true;
    for (const auto& [id, ms] : timers_)
        wnd_->stopTimer(id);
    timers_.clear();
    OnDestroy();
    if (destroyObserver())
        destroyObserver()(*this);
    // A child's destroy handling may end another child; take a copy.
    const std::vector<CDialog*> children = children_;
    for (CDialog* child : children)
        if (std::find(children_.begin(), children_.end(), child) != children_.end())
            child->DestroyWindow();
    wnd_->destroy();
    EndDialog(IDCANCEL);
}

HWND CDialog::GetSafeHwnd() const { return wnd_->handle(); }
void CDialog::ShowWindow(bool show) { wnd_->show(show); }
bool CDialog::IsWindowVisible() const { return wnd_->isVisible(); }
void CDialog::MoveWindow(const CRect& rect) { wnd_->move(rect); }
CRect CDialog::GetWindowRect() const { return wnd_->rect(); }
void CDialog::SetIcon(int iconGroup) { wnd_->setIcon(iconGroup); }

void CDialog::onNotify(int id, Notify code)
{
    if (destroyed_)
        return;
    for (const MessageEntry& e : GetMessageMap()) {
        if (e.id == id && e.code == code) {
            (this->*e.handler)();
            return;
        }
    }
}

void CDialog::onTimerFired(UINT id)
{
    if (timers_.count(id))
        OnTimer(id);
}

void CDialog::onCloseRequest()
{
    EndDialog(IDCANCEL);
}

void CDialog::onSessionEnd()
{
    // The destroy handling the modal run would reach after it returns, run
    // now: each window's OnDestroy (the pages store their options).
    DestroyWindow();
}

std::span<const MessageEntry> CDialog::GetMessageMap() const { return {}; }
BOOL CDialog::OnInitDialog() { return TRUE; }
void CDialog::OnTimer(UINT) {}
void CDialog::OnDestroy() {}

void CDialog::SetDlgItemText(int id, const CString& text) { wnd_->setText(id, text); }
std::optional<CString> CDialog::GetDlgItemText(int id) const { return wnd_->text(id); }
std::string CDialog::GetDlgItemTextUtf8(int id) const { return wnd_->textUtf8(id); }
void CDialog::SetDlgItemInt(int id, int value) { wnd_->setText(id, std::to_string(value)); }

int CDialog::GetDlgItemAtoi(int id) const
{
    // atoi stops at the first character that is not an ASCII space, sign or
    // digit, so the UTF-8 form of the text reads as its GBK form would.
    return textutil::toInt(wnd_->textUtf8(id));
}

void CDialog::AppendDlgItemText(int id, const CString& text) { wnd_->appendText(id, text); }
bool CDialog::GetDlgItemModify(int id) const { return wnd_->isModified(id); }
void CDialog::CheckDlgButton(int id, int state) { wnd_->setCheck(id, state != 0 ? 1 : 0); }
int CDialog::IsDlgButtonChecked(int id) const { return wnd_->check(id); }
void CDialog::EnableDlgItem(int id, bool enable) { wnd_->enable(id, enable); }
bool CDialog::IsDlgItemEnabled(int id) const { return wnd_->isEnabled(id); }

void CDialog::MessageBox(const CString& text)
{
    MessageBoxUtf8(sys::isAscii(text) ? text : gbk::toUtf8(text));
}

void CDialog::MessageBoxUtf8(const std::string& text)
{
    showBox(GetSafeHwnd(), BoxKind::Plain, std::string(), text);
}

UINT CDialog::SetTimer(UINT id, int ms)
{
    if (destroyed_)
        return 0;
    KillTimer(id);
    const int interval = ms < 0 ? 0 : ms;
    if (!wnd_->startTimer(id, interval))
        return 0;
    timers_[id] = interval;
    return id;
}

BOOL CDialog::KillTimer(UINT id)
{
    const auto it = timers_.find(id);
    if (it == timers_.end())
        return FALSE;
    wnd_->stopTimer(id);
    timers_.erase(it);
    return TRUE;
}

int CTabCtrl::InsertItem(int index, const CString& label) { return owner_.window().tabInsert(id_, index, label); }
int CTabCtrl::GetItemCount() const { return owner_.window().tabCount(id_); }
int CTabCtrl::GetCurSel() const { return owner_.window().tabCurSel(id_); }
int CTabCtrl::SetCurSel(int index) { return owner_.window().tabSetCurSel(id_, index); }
CRect CTabCtrl::GetClientRect() const { return owner_.window().clientRect(id_); }
