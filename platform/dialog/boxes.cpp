#include "platform/dialog/boxes.h"

#include "platform/dialog/service_slot.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace {
class RealBoxes : public BoxService {
public:
    void show(const BoxRequest& box) override
    {
        QWidget* owner = box.owner ? box.owner : QApplication::activeWindow();
        QMessageBox m(owner);
        m.setWindowTitle(box.caption);
        m.setText(box.text);
        m.setTextFormat(Qt::PlainText);
        m.setStandardButtons(QMessageBox::Ok);
        m.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
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

ServiceSlot<BoxService, RealBoxes> g_boxes;
} // namespace

BoxService& BoxService::current()
{
    return g_boxes.current();
}

BoxService* BoxService::install(BoxService* service)
{
    return g_boxes.install(service);
}

void showBox(QWidget* owner, BoxKind kind, const QString& caption, const QString& text)
{
    BoxService::current().show(BoxRequest{owner, kind, caption, text});
}
