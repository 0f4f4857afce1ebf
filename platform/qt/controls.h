#pragma once
// The two control kinds that need more than a stock Qt widget: the
// digits-only edit and the tab control.
#include <QLineEdit>
#include <QWidget>

#include <functional>

class QTabBar;

// A single-line edit whose typed input is limited to the digits 0-9, as
// number-only edits are: a typed non-digit is refused with a short hint.
// setText, paste and drop still put any text in; readers convert with atoi.
class DigitEdit : public QLineEdit {
public:
    explicit DigitEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A tab control widget: a row of tabs over a framed client area. It holds no pages;
// its owner lays page windows over GetClientRect() and shows one at a time.
// Changing the selection from the program (InsertItem, SetCurSel) sends no
// notification; a change by the user (mouse, Ctrl+Tab, Ctrl+Shift+Tab) calls
// onSelChange.
class TabControl : public QWidget {
public:
    explicit TabControl(QWidget* parent = nullptr);

    int InsertItem(int index, const QString& label);
    int GetItemCount() const;
    int GetCurSel() const; // -1: no selection
    int SetCurSel(int index); // returns the previous selection
    // The whole control, (0, 0, width, height): the pages' area is derived
    // from it by the owner.
    QRect GetClientRect() const { return rect(); }
    QTabBar* tabBar() const { return bar_; }

    std::function<void()> onSelChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    void step(int delta);
    void layoutBar();

    QTabBar* bar_ = nullptr;
};
