#include "program_path.h"

std::u16string ProgramPathBeside(const std::u16string& modulePath, const std::u16string& baseName,
                                 const char16_t* extension)
{
    if (modulePath.empty())
        return std::u16string();
    size_t folderEnd = modulePath.find_last_of(u"\\/");
    folderEnd = folderEnd == std::u16string::npos ? 0 : folderEnd + 1;
    if (folderEnd == 0 && modulePath.size() >= 2 && modulePath[1] == u':')
        folderEnd = 2;  // "C:name.exe": the drive alone
    std::u16string ext;
    if (extension) {
        ext = extension;
        if (!ext.empty() && ext[0] != u'.')
            ext.insert(ext.begin(), u'.');
    } else {
        size_t dot = modulePath.rfind(u'.');
        if (dot != std::u16string::npos && dot >= folderEnd)
            ext = modulePath.substr(dot);
    }
    return modulePath.substr(0, folderEnd) + baseName + ext;
}

std::u16string StartCommandLine(const std::u16string& programPath, const std::u16string& arguments)
{
    return u"\"" + programPath + u"\"" + arguments;
}
