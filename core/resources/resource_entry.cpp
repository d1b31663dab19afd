#include "core/resources/resource_entry.h"

ds_string GetFileNamePart(const ds_string& path) {
  const auto slash = path.rfind(u'\\');
  if (slash == ds_string::npos) return ds_string();
  return path.substr(slash + 1);
}

bool NamesResourceLibrary(const ds_string& name) {
  const auto dot = name.rfind(u'.');
  if (dot == ds_string::npos || name.size() - dot != 4) return false;
  static const char16_t kDll[] = u".dll";
  for (size_t i = 0; i < 4; ++i) {
    char16_t c = name[dot + i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != kDll[i]) return false;
  }
  return true;
}
