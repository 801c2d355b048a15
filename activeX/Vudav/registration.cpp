// The registration tables of the library and its control.
#include "registration.h"

#include <cstddef>

#include "vudav_ids.h"
#include "vudav_resources.h"

using comserver::KeyRow;
using comserver::NumberRow;
using comserver::RegMark;
using comserver::RegRoot;
using comserver::StringRow;

namespace {

template <size_t Size>
struct FixedText {
    char16_t text[Size];
};

// The two texts one after the other, at compile time.
template <size_t First, size_t Second>
constexpr FixedText<First + Second - 1> Joined(const char16_t (&first)[First], const char16_t (&second)[Second])
{
    FixedText<First + Second - 1> joined = {};
    for (size_t i = 0; i + 1 < First; ++i)
        joined.text[i] = first[i];
    for (size_t i = 0; i < Second; ++i)
        joined.text[First - 1 + i] = second[i];
    return joined;
}

constexpr auto kMenuKeyText = Joined(u"Software\\Microsoft\\Internet Explorer\\MenuExt\\", kVudavMenuName);

}  // namespace

const char16_t* const kVudavMenuKey = kMenuKeyText.text;

namespace {

constexpr RegRoot kClasses = RegRoot::ClassesRoot;

constexpr comserver::RegRow kAppIdRows[] = {
    KeyRow(kClasses, u"AppID", RegMark::NoRemove),
    StringRow(kClasses, u"AppID\\%APPID%", u"", u"Vudav"),
    StringRow(kClasses, u"AppID\\Vudav.DLL", u"AppID", u"%APPID%"),
};

const comserver::RegRow kControlRows[] = {
    StringRow(kClasses, u"Vudav.qelVudav.1", u"", u"qelVudav Class"),
    StringRow(kClasses, u"Vudav.qelVudav.1\\CLSID", u"", u"%CLSID%"),
    StringRow(kClasses, u"Vudav.qelVudav", u"", u"qelVudav Class"),
    StringRow(kClasses, u"Vudav.qelVudav\\CLSID", u"", u"%CLSID%"),
    StringRow(kClasses, u"Vudav.qelVudav\\CurVer", u"", kVudavProgIdVersion1),
    KeyRow(kClasses, u"CLSID", RegMark::NoRemove),
    StringRow(kClasses, u"CLSID\\%CLSID%", u"", u"qelVudav Class", RegMark::ForceRemove),
    StringRow(kClasses, u"CLSID\\%CLSID%\\ProgID", u"", kVudavProgId),
    StringRow(kClasses, u"CLSID\\%CLSID%\\VersionIndependentProgID", u"", kVudavProgId),
    KeyRow(kClasses, u"CLSID\\%CLSID%\\Programmable", RegMark::ForceRemove),
    StringRow(kClasses, u"CLSID\\%CLSID%\\InprocServer32", u"", u"%MODULE%"),
    StringRow(kClasses, u"CLSID\\%CLSID%\\InprocServer32", u"ThreadingModel", u"Apartment"),
    StringRow(kClasses, u"CLSID\\%CLSID%", u"AppID", u"%APPID%"),
    KeyRow(kClasses, u"CLSID\\%CLSID%\\Control", RegMark::ForceRemove),
    StringRow(kClasses, u"CLSID\\%CLSID%\\ToolboxBitmap32", u"", u"%MODULE%, " VUDAV_NUMBER_TEXT(VUDAV_TOOLBOX_BITMAP),
              RegMark::ForceRemove),
    StringRow(kClasses, u"CLSID\\%CLSID%\\MiscStatus", u"", u"0"),
    StringRow(kClasses, u"CLSID\\%CLSID%\\MiscStatus\\1", u"", u"%OLEMISC%"),
    StringRow(kClasses, u"CLSID\\%CLSID%\\TypeLib", u"", kVudavTypeLibIdText),
    StringRow(kClasses, u"CLSID\\%CLSID%\\Version", u"", u"1.0"),
    StringRow(RegRoot::CurrentUser, kMenuKeyText.text, u"", u"res://%MODULE%/" VUDAV_NUMBER_TEXT(VUDAV_MENU_PAGE),
              RegMark::ForceRemove),
    NumberRow(RegRoot::CurrentUser, kMenuKeyText.text, u"Contexts", kVudavMenuContexts),
};

}  // namespace

const comserver::RegTable kVudavAppIdRegistration = {kAppIdRows, sizeof kAppIdRows / sizeof kAppIdRows[0]};
const comserver::RegTable kVudavControlRegistration = {kControlRows, sizeof kControlRows / sizeof kControlRows[0]};
