#include "platform/shell.h"

#include "core/qt/qgbk.h"
#include "platform/qt/launcher.h"

bool shellOpen(const CString& program)
{
    return Launcher().open(gbk::decode(program));
}
