// A writer of the document's byte forms for test fixtures, independent of the product's code:
// archive strings in their shortest form, little-endian scalars, blobs, entries and keys.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class DocBytes {
 public:
  DocBytes& raw(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + size);
    return *this;
  }
  DocBytes& raw(const std::vector<uint8_t>& data) { return raw(data.data(), data.size()); }
  DocBytes& u8(uint8_t v) { return raw(&v, 1); }
  DocBytes& u32(uint32_t v) { return raw(&v, 4); }
  DocBytes& i32(int32_t v) { return raw(&v, 4); }
  DocBytes& i64(int64_t v) { return raw(&v, 8); }
  DocBytes& f32(float v) { return raw(&v, 4); }
  DocBytes& str(const std::u16string& s) {
    const uint8_t marker[3] = {0xFF, 0xFE, 0xFF};
    raw(marker, 3);
    const size_t n = s.size();
    if (n < 255) {
      u8(static_cast<uint8_t>(n));
    } else if (n < 65535) {
      u8(255);
      const uint16_t n16 = static_cast<uint16_t>(n);
      raw(&n16, 2);
    } else {
      u8(255);
      const uint16_t escape = 0xFFFF;
      raw(&escape, 2);
      u32(static_cast<uint32_t>(n));
    }
    for (char16_t c : s) raw(&c, 2);
    return *this;
  }
  DocBytes& blob(const std::vector<uint8_t>& data, const std::u16string& name) {
    u32(static_cast<uint32_t>(data.size()));
    raw(data);
    return str(name);
  }
  DocBytes& entry(int32_t id, const std::u16string& library, const std::vector<uint8_t>& data,
                  const std::u16string& name) {
    i32(id);
    str(library);
    return blob(data, name);
  }
  DocBytes& key(const std::u16string& name, int64_t stamp) { return str(name).i64(stamp); }
  size_t size() const { return bytes.size(); }

  std::vector<uint8_t> bytes;
};
