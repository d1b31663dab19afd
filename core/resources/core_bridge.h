// Stand-ins for the two document-core types the resource code names, until the document core
// (core/data/) provides them: the wide string of every name and path, and the resource key.
#pragma once

#include <cstdint>
#include <string>

using ds_string = std::wstring;

// A resource's key: a name (file path, library path or embedded label) and a 64-bit stamp.
// Ordered by name (code units as unsigned numbers), then by stamp.
struct DS_ResourceKey {
  ds_string name;
  int64_t stamp = 0;

  friend bool operator<(const DS_ResourceKey& a, const DS_ResourceKey& b) {
    const size_t n = a.name.size() < b.name.size() ? a.name.size() : b.name.size();
    for (size_t i = 0; i < n; ++i) {
      const auto ca = static_cast<uint16_t>(a.name[i]), cb = static_cast<uint16_t>(b.name[i]);
      if (ca != cb) return ca < cb;
    }
    if (a.name.size() != b.name.size()) return a.name.size() < b.name.size();
    return a.stamp < b.stamp;
  }
  friend bool operator==(const DS_ResourceKey& a, const DS_ResourceKey& b) {
    return a.name == b.name && a.stamp == b.stamp;
  }
};
