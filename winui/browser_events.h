#pragma once
// The arguments of a web browser control's event, as OnBrowserEvent receives them.
#include <windows.h>
#include <oleauto.h>

#include <string>

namespace winui {

class BrowserEventArgs {
public:
    explicit BrowserEventArgs(DISPPARAMS* params) : params_(params) {}

    UINT Count() const { return params_ ? params_->cArgs : 0; }
    // Argument `index` in the event's declared order (0 is the first); a variant passed by
    // reference is followed to the variant it points at. Null when there is none.
    VARIANT* Arg(UINT index) const;
    // A string argument's text, else "".
    std::wstring Text(UINT index) const;
    // Writes a Boolean argument passed by reference; false when it is not one.
    bool SetBool(UINT index, bool value);

    // The address of BeforeNavigate2, NavigateComplete2 and DocumentComplete.
    std::wstring Url() const { return Text(1); }
    // BeforeNavigate2's Cancel flag: true stops the navigation.
    bool SetCancel(bool cancel) { return SetBool(6, cancel); }

private:
    VARIANT* Raw(UINT index) const;

    DISPPARAMS* params_;
};

}  // namespace winui
