#include "sys/shell.h"

#include "sys/linux/qgbk.h"
#include "sys/linux/launcher.h"

bool shellOpen(const std::string& program)
{
    return Launcher().open(gbk::decode(program));
}
