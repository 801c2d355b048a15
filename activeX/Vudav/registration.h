#pragma once
// What registering the library enters: the application identifier, and the control with its
// programmatic identifiers and the browser's context-menu entry.
#include "comserver/registry_table.h"

// Uses APPID.
extern const comserver::RegTable kVudavAppIdRegistration;
// Uses APPID, MODULE, CLSID and OLEMISC.
extern const comserver::RegTable kVudavControlRegistration;
// The menu entry's key below HKEY_CURRENT_USER: the browser's menu folder and kVudavMenuName.
extern const char16_t* const kVudavMenuKey;
