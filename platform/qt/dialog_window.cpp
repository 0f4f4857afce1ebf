// DialogWindow on Qt Widgets: the template's controls as Qt widgets laid out
// in dialog units, their signals as notifications, window timers as
// QObject timers and a modal run as a nested event loop.
#include "platform/qt/dialog_window.h"

#include "core/gbk.h"
#include "sys/linux/qgbk.h"
#include "platform/qt/controls.h"
#include "platform/qt/icons.h"
#include "platform/qt/plain_text.h"
#include "sys/text.h"

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
#include <QScrollBar>
#include <QTabBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimerEvent>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

// Lines an output box keeps in one text block: small enough that a
// keystroke re-lays out little, large enough that a million rows are set in
// tens of milliseconds.
constexpr int kLinesPerBlock = 64;

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

// GBK bytes as Unicode; ASCII (rows of numbers) reads the same as Latin-1.
QString fromGbk(std::string_view gbk)
{
    return sys::isAscii(gbk) ? QString::fromLatin1(gbk.data(), qsizetype(gbk.size())) : gbk::decode(gbk);
}

// The box's text with every line end as CR LF, as a page reads it.
QString crLfText(const QString& text)
{
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
    return QString::fromStdU16String(sys::withCrLf(units));
}

class QtDialogWindow;

// The window's widget: forwards timers, closing and Escape to its window.
class DialogWidget : public QWidget {
public:
    explicit DialogWidget(QtDialogWindow& owner) : owner_(owner) {}

protected:
    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QtDialogWindow& owner_;
};

class QtDialogWindow : public DialogWindow {
public:
    QtDialogWindow(const DialogTemplate& tmpl, DialogEvents& events) : tmpl_(tmpl), events_(events) {}
    ~QtDialogWindow() override
    {
        for (const auto& [id, qtId] : timers_)
            if (w_)
                w_->killTimer(qtId);
        delete w_.data(); // null when a parent widget has already freed it
    }

    void create(DialogWindow* parent, int parentControl) override
    {
        QWidget* parentWidget = nullptr;
        if (auto* p = static_cast<QtDialogWindow*>(parent)) {
            parentWidget = p->control(parentControl);
            if (!parentWidget)
                parentWidget = p->w_;
        }
        w_ = new DialogWidget(*this);
        if (tmpl_.style & ds::Child) {
            w_->setParent(parentWidget);
            w_->hide();
        } else {
            w_->setParent(parentWidget, popupFlags(tmpl_.style));
            w_->setWindowTitle(QString::fromUtf8(tmpl_.caption));
        }
        build();
    }

    HWND handle() const override { return reinterpret_cast<HWND>(static_cast<QWidget*>(w_.data())); }
    void show(bool show) override
    {
        if (w_)
            w_->setVisible(show);
    }
    bool isVisible() const override { return w_ && w_->isVisible(); }
    void move(const CRect& r) override
    {
        if (w_)
            w_->setGeometry(r.left, r.top, r.Width(), r.Height());
    }
    CRect rect() const override
    {
        if (!w_)
            return {};
        const QRect g = w_->geometry();
        return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }
    void setIcon(int iconGroup) override
    {
        if (w_)
            w_->setWindowIcon(loadIconGroup(iconGroup));
    }

    void setText(int id, std::string_view gbk) override
    {
        QWidget* c = control(id);
        if (auto* p = dynamic_cast<QPlainTextEdit*>(c)) {
            const Writing writing(*this, id);
            setPlainTextFast(*p, fromGbk(gbk), kLinesPerBlock);
        } else {
            setQText(id, fromGbk(gbk));
        }
    }
    std::optional<std::string> text(int id) const override { return gbk::encode(qtext(id)); }
    std::string textUtf8(int id) const override { return qtext(id).toStdString(); }

    void appendText(int id, std::string_view gbk) override
    {
        auto* box = dynamic_cast<QPlainTextEdit*>(control(id));
        if (!box) {
            setQText(id, qtext(id) + fromGbk(gbk));
            return;
        }
        // A view left at the end follows the newest line.
        QScrollBar* bar = box->verticalScrollBar();
        const bool followEnd = bar->value() == bar->maximum();
        const Writing writing(*this, id);
        QTextDocument* doc = box->document();
        // Setting a text drops the box's undo history; so does appending.
        const bool undo = doc->isUndoRedoEnabled();
        doc->setUndoRedoEnabled(false);
        QTextCursor end(doc);
        end.movePosition(QTextCursor::End);
        end.insertText(fromGbk(gbk));
        doc->setUndoRedoEnabled(undo);
        if (followEnd)
            bar->setValue(bar->maximum());
    }
    int firstVisibleLine(int id) const override
    {
        auto* box = dynamic_cast<QPlainTextEdit*>(control(id));
        return box ? box->verticalScrollBar()->value() : 0;
    }
    void scrollToLine(int id, int line) override
    {
        if (auto* box = dynamic_cast<QPlainTextEdit*>(control(id)))
            box->verticalScrollBar()->setValue(line);
    }
    bool isModified(int id) const override
    {
        if (auto* e = dynamic_cast<QLineEdit*>(control(id)))
            return e->isModified();
        const auto it = modified_.find(id);
        return it != modified_.end() && it->second;
    }

    void setCheck(int id, int state) override
    {
        if (auto* b = dynamic_cast<QAbstractButton*>(control(id)))
            b->setChecked(state != 0);
    }
    int check(int id) const override
    {
        const auto* b = dynamic_cast<QAbstractButton*>(control(id));
        return b && b->isChecked() ? 1 : 0;
    }
    void enable(int id, bool enable) override
    {
        if (QWidget* c = control(id))
            c->setEnabled(enable);
    }
    bool isEnabled(int id) const override
    {
        const QWidget* c = control(id);
        return c && c->isEnabled();
    }

    int tabInsert(int id, int index, std::string_view gbk) override
    {
        auto* t = dynamic_cast<TabControl*>(control(id));
        return t ? t->InsertItem(index, fromGbk(gbk)) : -1;
    }
    int tabCount(int id) const override
    {
        auto* t = dynamic_cast<TabControl*>(control(id));
        return t ? t->GetItemCount() : 0;
    }
    int tabCurSel(int id) const override
    {
        auto* t = dynamic_cast<TabControl*>(control(id));
        return t ? t->GetCurSel() : -1;
    }
    int tabSetCurSel(int id, int index) override
    {
        auto* t = dynamic_cast<TabControl*>(control(id));
        return t ? t->SetCurSel(index) : -1;
    }
    CRect clientRect(int id) const override
    {
        const QWidget* c = control(id);
        return c ? CRect{0, 0, c->width(), c->height()} : CRect{};
    }

    bool startTimer(UINT id, int ms) override
    {
        if (!w_)
            return false;
        stopTimer(id);
        const int qtId = w_->startTimer(ms, Qt::PreciseTimer);
        if (qtId == 0)
            return false;
        timers_[id] = qtId;
        return true;
    }
    void stopTimer(UINT id) override
    {
        const auto it = timers_.find(id);
        if (it == timers_.end())
            return;
        if (w_)
            w_->killTimer(it->second);
        timers_.erase(it);
    }
    void timerFired(int qtId)
    {
        for (const auto& [id, t] : timers_) {
            if (t == qtId) {
                const UINT which = id; // the handler may change timers_
                events_.onTimerFired(which);
                return;
            }
        }
    }

    int runModal(bool focusFirst) override
    {
        QEventLoop loop;
        modalLoop_ = &loop;
        w_->show();
        w_->raise();
        w_->activateWindow();
        if (focusFirst) {
            for (QWidget* c = w_->nextInFocusChain(); c && c != w_; c = c->nextInFocusChain()) {
                if (w_->isAncestorOf(c) && (c->focusPolicy() & Qt::TabFocus) && c->isVisibleTo(w_) && c->isEnabled()) {
                    c->setFocus(Qt::TabFocusReason);
                    break;
                }
            }
        }
        const int result = loop.exec();
        modalLoop_ = nullptr;
        return result;
    }
    void endModal(int result) override
    {
        if (modalLoop_)
            modalLoop_->exit(result);
    }
    void destroy() override
    {
        for (const auto& [id, qtId] : timers_)
            if (w_)
                w_->killTimer(qtId);
        timers_.clear();
        if (w_)
            w_->hide();
    }

    void userClick(int id) override
    {
        if (auto* b = dynamic_cast<QAbstractButton*>(control(id)))
            b->click();
    }
    void userType(int id, const std::string& utf8) override
    {
        const QString text = QString::fromStdString(utf8);
        if (auto* e = dynamic_cast<QLineEdit*>(control(id))) {
            e->setText(text);
            e->setModified(true);
        } else if (auto* p = dynamic_cast<QPlainTextEdit*>(control(id))) {
            p->setPlainText(text);
        } else {
            setQText(id, text);
        }
    }
    void userSelectTab(int id, int index) override
    {
        if (auto* t = dynamic_cast<TabControl*>(control(id)))
            t->tabBar()->setCurrentIndex(index); // notifies, as a click does
    }

    void requestClose() { events_.onCloseRequest(); }

    QWidget* control(int id) const
    {
        const auto it = byId_.find(id);
        return it == byId_.end() ? nullptr : it->second;
    }
    QWidget* widget() const { return w_; }
    const std::vector<qtdlg::Control>& controls() const { return controls_; }
    const DialogUnits& units() const { return units_; }

private:
    // While the program writes a multi-line edit, its changes are not the user's.
    struct Writing {
        Writing(QtDialogWindow& w, int id) : w_(w), id_(id) { w_.writing_ = true; }
        ~Writing()
        {
            w_.writing_ = false;
            w_.modified_[id_] = false;
        }
        QtDialogWindow& w_;
        int id_;
    };

    void build();
    QWidget* buildControl(const ControlDef& def);

    void setQText(int id, const QString& text)
    {
        QWidget* c = control(id);
        if (auto* e = dynamic_cast<QLineEdit*>(c))
            e->setText(text);
        else if (auto* p = dynamic_cast<QPlainTextEdit*>(c))
            p->setPlainText(text);
        else if (auto* b = dynamic_cast<QAbstractButton*>(c))
            b->setText(text);
        else if (auto* l = dynamic_cast<QLabel*>(c))
            l->setText(text);
        else if (c)
            c->setWindowTitle(text);
        else
            std::fprintf(stderr, "kelvane: dialog %d has no control %d\n", tmpl_.id, id);
    }
    QString qtext(int id) const
    {
        QWidget* c = control(id);
        if (auto* e = dynamic_cast<QLineEdit*>(c))
            return e->text();
        if (auto* p = dynamic_cast<QPlainTextEdit*>(c))
            return crLfText(p->toPlainText());
        if (auto* b = dynamic_cast<QAbstractButton*>(c))
            return b->text();
        if (auto* l = dynamic_cast<QLabel*>(c))
            return l->text();
        return c ? c->windowTitle() : QString();
    }

    const DialogTemplate& tmpl_;
    DialogEvents& events_;
    QPointer<DialogWidget> w_;
    DialogUnits units_;
    std::vector<qtdlg::Control> controls_;
    std::map<int, QWidget*> byId_;
    std::map<UINT, int> timers_; // id -> Qt timer id
    std::map<int, bool> modified_;
    bool writing_ = false;
    QEventLoop* modalLoop_ = nullptr;
};

void QtDialogWindow::build()
{
    if (tmpl_.style & ds::SetFont)
        w_->setFont(dialogFont(tmpl_.fontFace, tmpl_.fontPoints));
    units_ = DialogUnits::forFont(w_->font());
    const QSize size(units_.x(tmpl_.w), units_.y(tmpl_.h));
    if ((tmpl_.style & ds::Popup) && (tmpl_.style & ds::ModalFrame))
        w_->setFixedSize(size);
    else
        w_->resize(size);

    controls_.reserve(tmpl_.controls.size());
    for (const ControlDef& def : tmpl_.controls) {
        QWidget* c = buildControl(def);
        QRect r = units_.rect(def.x, def.y, def.w, def.h);
        if (def.kind == ControlKind::Static || def.kind == ControlKind::CheckBox)
            r = fitLineHeight(r, c->fontMetrics());
        c->setGeometry(r);
        c->setEnabled(!(def.style & cs::Disabled));
        if (def.kind != ControlKind::Static && def.kind != ControlKind::TabControl)
            c->setFocusPolicy((def.style & cs::TabStop) ? Qt::StrongFocus : Qt::ClickFocus);
        c->setProperty("dlgId", def.id);
        controls_.push_back({&def, c});
        if (def.id != kNoId)
            byId_.emplace(def.id, c);
    }
}

QWidget* QtDialogWindow::buildControl(const ControlDef& def)
{
    const QString text = QString::fromUtf8(def.text);
    const int id = def.id;
    DialogEvents& events = events_;
    QWidget* parent = w_;
    switch (def.kind) {
    case ControlKind::CheckBox: {
        auto* b = new QCheckBox(text, parent);
        QObject::connect(b, &QAbstractButton::clicked, parent, [&events, id] { events.onNotify(id, Notify::Clicked); });
        return b;
    }
    case ControlKind::PushButton: {
        auto* b = new QPushButton(text, parent);
        b->setAutoDefault(true); // Enter presses the focused button
        QObject::connect(b, &QAbstractButton::clicked, parent, [&events, id] { events.onNotify(id, Notify::Clicked); });
        return b;
    }
    case ControlKind::Edit:
    case ControlKind::DigitEdit: {
        QLineEdit* e = def.kind == ControlKind::DigitEdit ? new DigitEdit(parent) : new QLineEdit(parent);
        e->setText(text);
        e->setFrame(def.style & cs::Border);
        QObject::connect(e, &QLineEdit::textChanged, parent, [&events, id] { events.onNotify(id, Notify::Changed); });
        return e;
    }
    case ControlKind::OutputEdit: {
        auto* e = new QPlainTextEdit(parent);
        e->setLineWrapMode(QPlainTextEdit::NoWrap);
        e->setVerticalScrollBarPolicy((def.style & cs::VScroll) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
        e->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        e->setTabChangesFocus(true); // Tab moves on, as in a dialog
        e->setFrameShape((def.style & cs::Border) ? QFrame::StyledPanel : QFrame::NoFrame);
        e->setPlainText(text);
        QObject::connect(e, &QPlainTextEdit::textChanged, parent, [&events, id] { events.onNotify(id, Notify::Changed); });
        // Any change that is not the program's own is the user's.
        QObject::connect(e->document(), &QTextDocument::contentsChanged, parent, [this, id] {
            if (!writing_)
                modified_[id] = true;
        });
        return e;
    }
    case ControlKind::Static: {
        auto* l = new QLabel(text, parent);
        l->setTextFormat(Qt::PlainText);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return l;
    }
    case ControlKind::TabControl: {
        auto* t = new TabControl(parent);
        t->setWindowTitle(text);
        t->onSelChange = [&events, id] { events.onNotify(id, Notify::SelChange); };
        return t;
    }
    }
    return new QWidget(parent);
}

void DialogWidget::timerEvent(QTimerEvent* event)
{
    owner_.timerFired(event->timerId());
}

void DialogWidget::closeEvent(QCloseEvent* event)
{
    event->accept();
    owner_.requestClose();
}

void DialogWidget::keyPressEvent(QKeyEvent* event)
{
    // Escape closes a top-level dialog, as it cancels a dialog box.
    if (isWindow() && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

const QtDialogWindow& qtWindow(const CDialog& dlg)
{
    return static_cast<const QtDialogWindow&>(dlg.window());
}

} // namespace

std::unique_ptr<DialogWindow> createDialogWindow(const DialogTemplate& tmpl, DialogEvents& events)
{
    return std::make_unique<QtDialogWindow>(tmpl, events);
}

namespace qtdlg {

QWidget* widget(const CDialog& dlg) { return qtWindow(dlg).widget(); }
const std::vector<Control>& controls(const CDialog& dlg) { return qtWindow(dlg).controls(); }
QWidget* control(const CDialog& dlg, int id) { return qtWindow(dlg).control(id); }
DialogUnits units(const CDialog& dlg) { return qtWindow(dlg).units(); }

} // namespace qtdlg
