#pragma once
// Icons compiled into the program: icon group <id> is the pictures
// :/icons/<id>/<size>.png of the Qt resources (16, 32 and 48 pixels).
#include <QIcon>

// The icon group with this id; a null icon for an unknown id.
QIcon loadIconGroup(int id);
