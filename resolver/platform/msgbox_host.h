#pragma once
// Host builds record message boxes instead of showing them.
#include <string>
#include <vector>

struct HostMessageBox {
    std::u16string text, caption;
};
std::vector<HostMessageBox>& HostMessageBoxes();
