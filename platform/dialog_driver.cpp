#include "platform/dialog_driver.h"

struct DialogDriverAccess {
    static const std::map<UINT, int>& timers(const CDialog& d) { return d.timers_; }
    static void timer(CDialog& d, UINT id) { d.OnTimer(id); }
    static DialogWindow& window(const CDialog& d) { return *d.wnd_; }
};

namespace drive {

void click(CDialog& dlg, int id) { dlg.window().userClick(id); }
void type(CDialog& dlg, int id, const std::string& utf8) { dlg.window().userType(id, utf8); }
void selectTab(CDialog& dlg, int tabControl, int index) { dlg.window().userSelectTab(tabControl, index); }
std::string text(const CDialog& dlg, int id) { return dlg.GetDlgItemTextUtf8(id); }

int firstVisibleLine(const CDialog& dlg, int id)
{
    return DialogDriverAccess::window(dlg).firstVisibleLine(id);
}

void scrollToLine(CDialog& dlg, int id, int line)
{
    DialogDriverAccess::window(dlg).scrollToLine(id, line);
}

bool timerPending(const CDialog& dlg, UINT id)
{
    return DialogDriverAccess::timers(dlg).count(id) != 0;
}

int timerInterval(const CDialog& dlg, UINT id)
{
    const auto& timers = DialogDriverAccess::timers(dlg);
    const auto it = timers.find(id);
    return it == timers.end() ? -1 : it->second;
}

bool fireTimer(CDialog& dlg, UINT id)
{
    if (!timerPending(dlg, id))
        return false;
    DialogDriverAccess::timer(dlg, id);
    return true;
}

} // namespace drive
