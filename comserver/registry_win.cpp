// The registry writer on the UTF-16 registry calls.
#include "registry_win.h"

#include <windows.h>

#include "owned_handle.h"
#include "utf16.h"

namespace comserver {

namespace {

HKEY RootKey(RegRoot root)
{
    return root == RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT;
}

const wchar_t* Wide(const std::u16string& s)
{
    return AsWide(s.c_str());
}

int32_t SetValue(RegRoot root, const std::u16string& key, const std::u16string& name, DWORD type,
                 const void* data, DWORD bytes)
{
    owners::OwnedKey opened;
    LONG result = RegOpenKeyExW(RootKey(root), Wide(key), 0, KEY_SET_VALUE, opened.Receive());
    if (result != ERROR_SUCCESS)
        return result;
    return RegSetValueExW(opened.Get(), Wide(name), 0, type, static_cast<const BYTE*>(data), bytes);
}

// Deletes the subkey name of parent with everything below it.
LONG DeleteKeyTree(HKEY parent, const wchar_t* name)
{
    owners::OwnedKey key;
    LONG result = RegOpenKeyExW(parent, name, 0, KEY_READ | KEY_WRITE, key.Receive());
    if (result == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (result != ERROR_SUCCESS)
        return result;
    wchar_t child[256];
    for (;;) {
        DWORD length = sizeof child / sizeof child[0];
        result = RegEnumKeyExW(key.Get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_SUCCESS)
            result = DeleteKeyTree(key.Get(), child);
        if (result != ERROR_SUCCESS)
            return result;
    }
    key.Reset();  // closed before the key itself is deleted
    result = RegDeleteKeyW(parent, name);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

}  // namespace

int32_t Win32RegistryWriter::CreateKey(RegRoot root, const std::u16string& key)
{
    owners::OwnedKey created;
    return RegCreateKeyExW(RootKey(root), Wide(key), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                           created.Receive(), nullptr);
}

int32_t Win32RegistryWriter::SetString(RegRoot root, const std::u16string& key, const std::u16string& name,
                                       const std::u16string& text)
{
    return SetValue(root, key, name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
}

int32_t Win32RegistryWriter::SetNumber(RegRoot root, const std::u16string& key, const std::u16string& name,
                                       uint32_t number)
{
    DWORD value = number;
    return SetValue(root, key, name, REG_DWORD, &value, sizeof value);
}

int32_t Win32RegistryWriter::DeleteTree(RegRoot root, const std::u16string& key)
{
    return DeleteKeyTree(RootKey(root), Wide(key));
}

int32_t Win32RegistryWriter::DeleteValue(RegRoot root, const std::u16string& key, const std::u16string& name)
{
    owners::OwnedKey opened;
    LONG result = RegOpenKeyExW(RootKey(root), Wide(key), 0, KEY_SET_VALUE, opened.Receive());
    if (result == ERROR_SUCCESS)
        result = RegDeleteValueW(opened.Get(), Wide(name));
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

}  // namespace comserver
