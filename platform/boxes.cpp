#include "platform/boxes.h"

#include "sys/service_slot.h"

namespace {
ServiceSlot<BoxService>& slot()
{
    static ServiceSlot<BoxService> s(&systemBoxes);
    return s;
}
} // namespace

BoxService& BoxService::current()
{
    return slot().current();
}

BoxService* BoxService::install(BoxService* service)
{
    return slot().install(service);
}

void showBox(HWND owner, BoxKind kind, const std::string& caption, const std::string& text)
{
    BoxService::current().show(BoxRequest{owner, kind, caption, text});
}
