#include "platform/qt/icons.h"

#include <QFile>

QIcon loadIconGroup(int id)
{
    QIcon icon;
    for (int size : {16, 32, 48}) {
        const QString file = QStringLiteral(":/icons/%1/%2.png").arg(id).arg(size);
        if (QFile::exists(file))
            icon.addFile(file, QSize(size, size));
    }
    return icon;
}
