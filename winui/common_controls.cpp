// Registration of the common controls' window classes.
#include "common_controls.h"

#include <windows.h>
#include <commctrl.h>

namespace winui {

void InitCommonControlClasses()
{
    static const bool done = [] {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    (void)done;
}

}  // namespace winui
