#pragma once
// The common controls' window classes, registered once per process before a control of
// theirs is made (the old library needs it; version 6 registers them on load).
namespace winui {

void InitCommonControlClasses();

}  // namespace winui
