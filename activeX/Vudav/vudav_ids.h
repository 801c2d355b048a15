#pragma once
// The control's identifiers as registry texts (the type library states the same values).
#include <cstdint>

inline constexpr char16_t kVudavClassIdText[] = u"{5A910D6F-10A5-4C18-B0E1-5ED5FE31B364}";
inline constexpr char16_t kVudavTypeLibIdText[] = u"{7DC0C1AF-BDDC-4B2B-AE96-7ADCA07EB9D1}";
inline constexpr char16_t kVudavAppIdText[] = u"{DC5E4736-342D-45FA-9F7C-2FD000BD641A}";
inline constexpr char16_t kVudavProgId[] = u"Vudav.qelVudav";
inline constexpr char16_t kVudavProgIdVersion1[] = u"Vudav.qelVudav.1";
// The browser's context-menu entry.
inline constexpr char16_t kVudavMenuName[] = u"使用澜影播放器播放";

// OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
// OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE
inline constexpr uint32_t kVudavMiscStatus = 0x20191;
inline constexpr char16_t kVudavMiscStatusText[] = u"131473";

// The browser's default menu (0x1), the menu over images (0x2) and over anchors (0x20).
inline constexpr uint32_t kVudavMenuContexts = 35;
