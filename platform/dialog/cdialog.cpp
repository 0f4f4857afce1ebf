#include "platform/dialog/cdialog.h"
#include "platform/dialog/line_ends.h"

#include "core/gbk.h"
#include "core/qt/qgbk.h"
#include "core/textutil.h"
#include "platform/dialog/boxes.h"
#include "platform/dialog/controls.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimerEvent>

#include <cstdio>

namespace {
std::function<void(CDialog&)>& destroyObserver()
{
    static std::function<void(CDialog&)> observer;
    return observer;
}

// The nearest CDialogs below w, in creation order.
void collectChildDialogs(QObject* w, std::vector<QPointer<CDialog>>& out)
{
    for (QObject* child : w->children()) {
        if (auto* dlg = dynamic_cast<CDialog*>(child))
            out.emplace_back(dlg);
        else
            collectChildDialogs(child, out);
    }
}

Qt::WindowFlags popupFlags(std::uint32_t style)
{
    Qt::WindowFlags f = Qt::Window | Qt::CustomizeWindowHint;
    if (style & ds::Caption)
        f |= Qt::WindowTitleHint;
    if (style & ds::SysMenu)
        f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & ds::MinimizeBox)
        f |= Qt::WindowMinimizeButtonHint;
    return f;
}

// Static texts and check boxes are given the height of one line of their
// template font; a fallback font with a taller line gets a box grown evenly
// around the same centre, so its text is not cut. Neither has a visible
// outline, so the layout looks as laid out.
QRect fitLineHeight(QRect r, const QFontMetrics& fm)
{
    const int need = fm.height();
    if (r.height() >= need)
        return r;
    const int grow = need - r.height();
    return r.adjusted(0, -(grow / 2), 0, grow - grow / 2);
}
} // namespace

CDialog::CDialog(const DialogTemplate& tmpl, QWidget* parent) : QWidget(parent), tmpl_(tmpl) {}

CDialog::~CDialog()
{
    // A window still alive here is torn down without its OnDestroy (the
    // derived part is gone); owners call DestroyWindow first.
    for (const auto& [id, t] : timers_)
        killTimer(t.qtId);
    timers_.clear();
    destroyed_ = true;
}

void CDialog::setDestroyObserver(std::function<void(CDialog&)> observer)
{
    destroyObserver() = std::move(observer);
}

BOOL CDialog::Create(QWidget* parent)
{
    if (created_)
        return FALSE;
    if (tmpl_.style & ds::Child) {
        if (parent)
            setParent(parent);
        hide();
    } else {
        setParent(parent ? parent : parentWidget(), popupFlags(tmpl_.style));
        setWindowTitle(QString::fromUtf8(tmpl_.caption));
    }
    build();
    created_ = true;
    return OnInitDialog();
}

void CDialog::build()
{
    if (tmpl_.style & ds::SetFont)
        setFont(dialogFont(tmpl_.fontFace, tmpl_.fontPoints));
    units_ = DialogUnits::forFont(font());
    const QSize size(units_.x(tmpl_.w), units_.y(tmpl_.h));
    if ((tmpl_.style & ds::Popup) && (tmpl_.style & ds::ModalFrame))
        setFixedSize(size);
    else
        resize(size);

    controls_.reserve(tmpl_.controls.size());
    for (const ControlDef& def : tmpl_.controls) {
        QWidget* w = buildControl(def);
        QRect r = units_.rect(def.x, def.y, def.w, def.h);
        if (def.kind == ControlKind::Static || def.kind == ControlKind::CheckBox)
            r = fitLineHeight(r, w->fontMetrics());
        w->setGeometry(r);
        w->setEnabled(!(def.style & cs::Disabled));
        if (def.kind != ControlKind::Static && def.kind != ControlKind::TabControl)
            w->setFocusPolicy((def.style & cs::TabStop) ? Qt::StrongFocus : Qt::ClickFocus);
        w->setProperty("dlgId", def.id);
        controls_.push_back({&def, w});
        if (def.id != kNoId)
            byId_.emplace(def.id, w);
    }
}

QWidget* CDialog::buildControl(const ControlDef& def)
{
    const QString text = QString::fromUtf8(def.text);
    const int id = def.id;
    switch (def.kind) {
    case ControlKind::CheckBox: {
        auto* b = new QCheckBox(text, this);
        connect(b, &QAbstractButton::clicked, this, [this, id] { dispatch(id, Notify::Clicked); });
        return b;
    }
    case ControlKind::PushButton: {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(true); // Enter presses the focused button
        connect(b, &QAbstractButton::clicked, this, [this, id] { dispatch(id, Notify::Clicked); });
        return b;
    }
    case ControlKind::Edit:
    case ControlKind::DigitEdit: {
        QLineEdit* e = def.kind == ControlKind::DigitEdit ? new DigitEdit(this) : new QLineEdit(this);
        e->setText(text);
        e->setFrame(def.style & cs::Border);
        connect(e, &QLineEdit::textChanged, this, [this, id] { dispatch(id, Notify::Changed); });
        return e;
    }
    case ControlKind::OutputEdit: {
        auto* e = new QPlainTextEdit(this);
        e->setLineWrapMode(QPlainTextEdit::NoWrap);
        e->setVerticalScrollBarPolicy((def.style & cs::VScroll) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
        e->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        e->setTabChangesFocus(true); // Tab moves on, as in a dialog
        e->setFrameShape((def.style & cs::Border) ? QFrame::StyledPanel : QFrame::NoFrame);
        e->setPlainText(text);
        connect(e, &QPlainTextEdit::textChanged, this, [this, id] { dispatch(id, Notify::Changed); });
        return e;
    }
    case ControlKind::Static: {
        auto* l = new QLabel(text, this);
        l->setTextFormat(Qt::PlainText);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return l;
    }
    case ControlKind::TabControl: {
        auto* t = new CTabCtrl(this);
        t->setWindowTitle(text);
        t->onSelChange = [this, id] { dispatch(id, Notify::SelChange); };
        return t;
    }
    }
    return new QWidget(this);
}

void CDialog::dispatch(int id, Notify code)
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

std::span<const MessageEntry> CDialog::GetMessageMap() const { return {}; }
BOOL CDialog::OnInitDialog() { return TRUE; }
void CDialog::OnTimer(UINT) {}
void CDialog::OnDestroy() {}

int CDialog::DoModal()
{
    const BOOL focus = Create(nullptr);
    if (!created_)
        return -1;
    QEventLoop loop;
    modalLoop_ = &loop;
    show();
    raise();
    activateWindow();
    if (focus) {
        for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
            if (isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(this) && w->isEnabled()) {
                w->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
    const int result = loop.exec();
    modalLoop_ = nullptr;
    DestroyWindow();
    return result;
}

void CDialog::EndDialog(int result)
{
    if (modalLoop_)
        modalLoop_->exit(result);
}

void CDialog::DestroyWindow()
{
    if (!created_ || destroyed_)
        return;
    destroyed_ = true;
    for (const auto& [id, t] : timers_)
        killTimer(t.qtId);
    timers_.clear();
    OnDestroy();
    if (destroyObserver())
        destroyObserver()(*this);
    std::vector<QPointer<CDialog>> children;
    collectChildDialogs(this, children);
    for (const QPointer<CDialog>& child : children)
        if (child)
            child->DestroyWindow();
    hide();
    EndDialog(IDCANCEL);
}

QWidget* CDialog::GetDlgItem(int id) const
{
    const auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : it->second;
}

void CDialog::setItemText(int id, const QString& text)
{
    QWidget* w = GetDlgItem(id);
    if (auto* e = dynamic_cast<QLineEdit*>(w))
        e->setText(text);
    else if (auto* p = dynamic_cast<QPlainTextEdit*>(w))
        p->setPlainText(text);
    else if (auto* b = dynamic_cast<QAbstractButton*>(w))
        b->setText(text);
    else if (auto* l = dynamic_cast<QLabel*>(w))
        l->setText(text);
    else if (w)
        w->setWindowTitle(text);
    else
        std::fprintf(stderr, "kelvane: dialog %d has no control %d\n", tmpl_.id, id);
}

QString CDialog::itemText(int id) const
{
    QWidget* w = GetDlgItem(id);
    if (auto* e = dynamic_cast<QLineEdit*>(w))
        return e->text();
    if (auto* p = dynamic_cast<QPlainTextEdit*>(w))
        return withCrLf(p->toPlainText());
    if (auto* b = dynamic_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* l = dynamic_cast<QLabel*>(w))
        return l->text();
    return w ? w->windowTitle() : QString();
}

void CDialog::SetDlgItemText(int id, const CString& text)
{
    setItemText(id, gbk::decode(text));
}

std::optional<CString> CDialog::GetDlgItemText(int id) const
{
    return gbk::encode(itemText(id));
}

void CDialog::SetDlgItemInt(int id, int value)
{
    setItemText(id, QString::number(value));
}

int CDialog::GetDlgItemAtoi(int id) const
{
    // atoi stops at the first character that is not an ASCII space, sign or
    // digit, so the UTF-8 form of the text reads as its GBK form would.
    return textutil::toInt(itemText(id).toStdString());
}

void CDialog::CheckDlgButton(int id, int state)
{
    if (auto* b = item<QAbstractButton>(id))
        b->setChecked(state != 0);
}

int CDialog::IsDlgButtonChecked(int id) const
{
    const auto* b = item<QAbstractButton>(id);
    return b && b->isChecked() ? 1 : 0;
}

void CDialog::EnableDlgItem(int id, bool enable)
{
    if (QWidget* w = GetDlgItem(id))
        w->setEnabled(enable);
}

bool CDialog::IsDlgItemEnabled(int id) const
{
    const QWidget* w = GetDlgItem(id);
    return w && w->isEnabled();
}

void CDialog::ShowDlgItem(int id, bool show)
{
    if (QWidget* w = GetDlgItem(id))
        w->setVisible(show);
}

void CDialog::MessageBox(const CString& text)
{
    showBox(this, BoxKind::Plain, QString(), gbk::decode(text));
}

UINT CDialog::SetTimer(UINT id, int ms)
{
    if (destroyed_)
        return 0;
    KillTimer(id);
    const int interval = ms < 0 ? 0 : ms;
    const int qtId = startTimer(interval, Qt::PreciseTimer);
    if (qtId == 0)
        return 0;
    timers_[id] = Timer{qtId, interval};
    return id;
}

BOOL CDialog::KillTimer(UINT id)
{
    const auto it = timers_.find(id);
    if (it == timers_.end())
        return FALSE;
    killTimer(it->second.qtId);
    timers_.erase(it);
    return TRUE;
}

bool CDialog::isTimerPending(UINT id) const { return timers_.count(id) != 0; }

int CDialog::timerInterval(UINT id) const
{
    const auto it = timers_.find(id);
    return it == timers_.end() ? -1 : it->second.ms;
}

bool CDialog::firePendingTimer(UINT id)
{
    if (!isTimerPending(id))
        return false;
    OnTimer(id);
    return true;
}

void CDialog::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, t] : timers_) {
        if (t.qtId == event->timerId()) {
            const UINT which = id; // OnTimer may change timers_
            OnTimer(which);
            return;
        }
    }
    QWidget::timerEvent(event);
}

void CDialog::closeEvent(QCloseEvent* event)
{
    event->accept();
    EndDialog(IDCANCEL);
}

void CDialog::keyPressEvent(QKeyEvent* event)
{
    // Escape closes a top-level dialog, as it cancels a dialog box.
    if (isWindow() && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
