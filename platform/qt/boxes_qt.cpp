// The real boxes: a modal QMessageBox with its own nested event loop.
#include "platform/boxes.h"

#include "core/texts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace {
class QtBoxes : public BoxService {
public:
    void show(const BoxRequest& box) override
    {
        auto* ownerWidget = reinterpret_cast<QWidget*>(box.owner);
        QWidget* owner = ownerWidget ? ownerWidget : QApplication::activeWindow();
        QMessageBox m(owner);
        m.setWindowTitle(QString::fromStdString(box.caption));
        m.setText(QString::fromStdString(box.text));
        m.setTextFormat(Qt::PlainText);
        m.setStandardButtons(QMessageBox::Ok);
        m.button(QMessageBox::Ok)->setText(QString::fromUtf8(utf8(Text::OkButton)));
        switch (box.kind) {
        case BoxKind::Plain:
            m.setIcon(QMessageBox::NoIcon);
            break;
        case BoxKind::Warning:
            m.setIcon(QMessageBox::Warning);
            break;
        case BoxKind::About:
            m.setIconPixmap(QApplication::windowIcon().pixmap(48, 48));
            break;
        }
        m.exec();
    }
};
} // namespace

BoxService& systemBoxes()
{
    static QtBoxes boxes;
    return boxes;
}
