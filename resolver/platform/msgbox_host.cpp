#include "msgbox.h"
#include "msgbox_host.h"

std::vector<HostMessageBox>& HostMessageBoxes()
{
    static std::vector<HostMessageBox> boxes;
    return boxes;
}

void ShowMessageBox(const char16_t* text, const char16_t* caption)
{
    HostMessageBoxes().push_back({text ? text : u"", caption ? caption : u""});
}
