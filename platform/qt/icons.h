#pragma once
// Icons compiled into the program.
#include <QIcon>

// The icon group with this id (IDR_MAINFRAME: 16, 32 and 48 pixels); a null
// icon for an unknown id.
QIcon loadIconGroup(int id);
