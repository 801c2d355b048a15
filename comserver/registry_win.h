#pragma once
// Registration steps written with the UTF-16 registry calls, so names and data come out the same
// whatever the ANSI code page.
#include "registry_table.h"

namespace comserver {

class Win32RegistryWriter : public RegistryWriter {
public:
    int32_t CreateKey(RegRoot root, const std::u16string& key) override;
    int32_t SetString(RegRoot root, const std::u16string& key, const std::u16string& name,
                      const std::u16string& text) override;
    int32_t SetNumber(RegRoot root, const std::u16string& key, const std::u16string& name,
                      uint32_t number) override;
    int32_t DeleteTree(RegRoot root, const std::u16string& key) override;
    int32_t DeleteValue(RegRoot root, const std::u16string& key, const std::u16string& name) override;
};

}  // namespace comserver
