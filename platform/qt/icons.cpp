#include "platform/qt/icons.h"

#include "res/resource.h"

QIcon loadIconGroup(int id)
{
    QIcon icon;
    if (id == IDR_MAINFRAME)
        for (int size : {16, 32, 48})
            icon.addFile(QStringLiteral(":/kelvane/kelvane-%1.png").arg(size), QSize(size, size));
    return icon;
}
