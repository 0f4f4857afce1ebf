#include "platform/save_file.h"

#include "sys/service_slot.h"

namespace {
ServiceSlot<SaveFileService>& slot()
{
    static ServiceSlot<SaveFileService> s(&systemSaveDialog);
    return s;
}
} // namespace

SaveFileService& SaveFileService::current()
{
    return slot().current();
}

SaveFileService* SaveFileService::install(SaveFileService* service)
{
    return slot().install(service);
}
