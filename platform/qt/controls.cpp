#include "platform/qt/controls.h"

#include "core/texts.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QToolTip>

DigitEdit::DigitEdit(QWidget* parent) : QLineEdit(parent)
{
    // Input methods would commit text without key events; digits need none.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void DigitEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    bool printable = !typed.isEmpty();
    bool digits = true;
    for (QChar ch : typed) {
        printable = printable && ch.isPrint();
        digits = digits && ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
    }
    // Control keys (editing, shortcuts such as paste) pass; typed text must be digits.
    if (printable && !digits && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QToolTip::showText(mapToGlobal(QPoint(0, height())), QString::fromUtf8(utf8(Text::DigitsOnly)), this);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

TabControl::TabControl(QWidget* parent) : QWidget(parent)
{
    bar_ = new QTabBar(this);
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setUsesScrollButtons(false);
    bar_->setFocusPolicy(Qt::NoFocus);
    connect(bar_, &QTabBar::currentChanged, this, [this](int) {
        if (onSelChange)
            onSelChange();
    });
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(next, &QShortcut::activated, this, [this] { step(1); });
    auto* prev = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), this);
    connect(prev, &QShortcut::activated, this, [this] { step(-1); });
}

int TabControl::InsertItem(int index, const QString& label)
{
    const QSignalBlocker quiet(bar_);
    const int at = bar_->insertTab(index, label);
    layoutBar();
    return at;
}

int TabControl::GetItemCount() const { return bar_->count(); }

int TabControl::GetCurSel() const { return bar_->currentIndex(); }

int TabControl::SetCurSel(int index)
{
    const int previous = bar_->currentIndex();
    if (index < 0 || index >= bar_->count())
        return -1;
    const QSignalBlocker quiet(bar_);
    bar_->setCurrentIndex(index);
    return previous;
}

void TabControl::step(int delta)
{
    const int n = bar_->count();
    if (n > 1 && isVisible())
        bar_->setCurrentIndex((bar_->currentIndex() + delta + n) % n); // notifies
}

void TabControl::layoutBar()
{
    const QSize hint = bar_->sizeHint();
    bar_->setGeometry(2, 0, qMin(hint.width(), qMax(0, width() - 4)), hint.height());
}

void TabControl::resizeEvent(QResizeEvent*)
{
    layoutBar();
}

void TabControl::childEvent(QChildEvent* event)
{
    // Pages laid over the client area start at a fixed offset; a taller tab
    // row stays on top of them so that every tab can still be clicked.
    if (bar_ && event->added() && event->child() != bar_)
        bar_->raise();
    QWidget::childEvent(event);
}

void TabControl::paintEvent(QPaintEvent*)
{
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.shape = QTabBar::RoundedNorth;
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    frame.tabBarSize = bar_->size();
    frame.tabBarRect = bar_->geometry();
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    frame.rect = rect().adjusted(0, qMax(0, bar_->height() - overlap), 0, 0);
    QPainter p(this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &p, this);
}
