// The string of every name and path in the scene core: UTF-16 code units on every platform, so
// that the stored form, comparisons and ordering are the same in the saver and in host tools.
// Windows code converts to wchar_t at the edge (both are 16-bit there).
#pragma once

#include <string>
#include <string_view>

using ds_string = std::u16string;

// ASCII/UTF-8 text to UTF-16 and back, for host tools, tests and messages.
ds_string DsFromUtf8(std::string_view text);
std::string DsToUtf8(const ds_string& text);

#ifdef _WIN32
// Windows' wide strings are UTF-16 too: the edge conversions copy the units.
inline std::wstring DsToWide(const ds_string& text) { return std::wstring(text.begin(), text.end()); }
inline ds_string DsFromWide(const wchar_t* text) {
  return text ? ds_string(text, text + std::char_traits<wchar_t>::length(text)) : ds_string();
}
#endif
