#include "core/resources/resource_entry.h"

#include <cstring>

void DS_NamedBlob::SetName(const ds_string& newName) {
  if (newName == name) return;
  bytes.clear();
  name = newName;
}

void DS_NamedBlob::SetData(uint32_t size, const void* data) {
  bytes.clear();
  if (size == 0 || data == nullptr) return;
  bytes.resize(size);
  std::memcpy(bytes.data(), data, size);
}

void DS_NamedBlob::Clear() {
  bytes.clear();
  bytes.shrink_to_fit();
  name.clear();
}

ds_string GetFileNamePart(const ds_string& path) {
  const auto slash = path.rfind(L'\\');
  if (slash == ds_string::npos) return ds_string();
  return path.substr(slash + 1);
}

bool NamesResourceLibrary(const ds_string& name) {
  const auto dot = name.rfind(L'.');
  if (dot == ds_string::npos || name.size() - dot != 4) return false;
  static const wchar_t kDll[] = L".dll";
  for (size_t i = 0; i < 4; ++i) {
    wchar_t c = name[dot + i];
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    if (c != kDll[i]) return false;
  }
  return true;
}
