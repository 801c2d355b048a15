#pragma once
// The stand-in browser's call log: one UTF-8 line per call, appended to the file named by
// BROWSER_STANDIN_LOG (nothing is written without it).
//   t=<system time, 100 ns units> pid=<process> hwnd=0x<control window> id=<control id> <call> [details]
#include <windows.h>

#include <string>

void StandInLog(HWND control, const std::wstring& call);
std::wstring Hex(ULONG_PTR value);
std::wstring RectText(const RECT& r);  // "left,top,right,bottom"
