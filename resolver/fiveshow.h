#pragma once
// The 5show interface's form request.
#include <cstdint>
#include <string>

#include "http.h"

// The default request headers, then the form's content type.
void AddFormContentType(HttpRequestHandle request, uint32_t arg);
// The form body for the page's three identifiers, every value encoded.
std::string MakeFiveShowForm(const std::string& p1, const std::string& uid, const std::string& flvId);
