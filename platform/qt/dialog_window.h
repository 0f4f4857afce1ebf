#pragma once
// The Qt back end's dialog window: a QWidget built from a template, its
// controls Qt widgets. For the Qt back end's own helpers, Qt-only tests and
// tools; page code never sees it.
#include "platform/cdialog.h"
#include "platform/dialog_window.h"
#include "platform/qt/dialog_units.h"

#include <QWidget>

#include <vector>

namespace qtdlg {

struct Control {
    const ControlDef* def;
    QWidget* widget;
};

// The dialog's widget (null before Create), its controls in template order,
// one control by id (null when none) and the dialog units it was laid out in.
QWidget* widget(const CDialog& dlg);
const std::vector<Control>& controls(const CDialog& dlg);
QWidget* control(const CDialog& dlg, int id);
DialogUnits units(const CDialog& dlg);

template <class W>
W* item(const CDialog& dlg, int id)
{
    return dynamic_cast<W*>(control(dlg, id));
}

} // namespace qtdlg
