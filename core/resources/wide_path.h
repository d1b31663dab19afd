// The document's UTF-16 strings handed to the wide Windows interfaces (both are 16-bit there).
#pragma once

#include "core/data/ds_string.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

inline const wchar_t* WidePath(const ds_string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
