// A byte builder for golden fixtures, written independently of the product's writer: every
// value is laid out byte by byte, little-endian, so that reader tests never check the product
// against itself.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class TestBytes {
 public:
  TestBytes& U8(uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  TestBytes& U16(uint16_t v) { return U8(static_cast<uint8_t>(v)).U8(static_cast<uint8_t>(v >> 8)); }
  TestBytes& U32(uint32_t v) { return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16)); }
  TestBytes& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  TestBytes& I64(int64_t v) {
    const auto u = static_cast<uint64_t>(v);
    return U32(static_cast<uint32_t>(u)).U32(static_cast<uint32_t>(u >> 32));
  }
  TestBytes& F32(float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    return U32(u);
  }
  TestBytes& Raw(const std::vector<uint8_t>& raw) {
    bytes.insert(bytes.end(), raw.begin(), raw.end());
    return *this;
  }
  TestBytes& Units(const std::u16string& s) {
    for (char16_t c : s) U16(c);
    return *this;
  }
  // The shortest archive-string form: FF FE FF, then 1, 3 or 7 length bytes.
  TestBytes& Str(const std::u16string& s) {
    const size_t n = s.size();
    if (n < 255) return StrForm(s, 4);
    if (n < 65535) return StrForm(s, 6);
    return StrForm(s, 10);
  }
  // A chosen header size (4, 6 or 10 bytes), longer forms included.
  TestBytes& StrForm(const std::u16string& s, int headerBytes) {
    U8(0xFF).U8(0xFE).U8(0xFF);
    if (headerBytes == 4) {
      U8(static_cast<uint8_t>(s.size()));
    } else if (headerBytes == 6) {
      U8(0xFF).U16(static_cast<uint16_t>(s.size()));
    } else {
      U8(0xFF).U16(0xFFFF).U32(static_cast<uint32_t>(s.size()));
    }
    return Units(s);
  }
  TestBytes& Header(const std::u16string& name, uint32_t version) { return Str(name).U32(version); }
  TestBytes& BasePart(const std::u16string& objectName) { return Header(u"DS_ABObj_Constructor", 1).Str(objectName); }

  std::vector<uint8_t> bytes;
};
