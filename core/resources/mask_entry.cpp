#include "core/resources/mask_entry.h"

namespace {

int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  return -1;
}

// Positions of the 16 bytes' digit pairs in the 38-character form, in the order of the text.
constexpr int kPairStart[16] = {1, 3, 5, 7, 10, 12, 15, 17, 20, 22, 25, 27, 29, 31, 33, 35};
// Memory index of the byte whose digits stand at pair k: the first three fields are reversed.
constexpr int kMemoryIndex[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};

}  // namespace

bool GuidFromString(const ds_string& text, DS_GuidBytes& guid) {
  if (text.size() != 38 || text[0] != L'{' || text[37] != L'}' || text[9] != L'-' ||
      text[14] != L'-' || text[19] != L'-' || text[24] != L'-')
    return false;
  DS_GuidBytes parsed{};
  for (int k = 0; k < 16; ++k) {
    const int hi = HexValue(text[kPairStart[k]]), lo = HexValue(text[kPairStart[k] + 1]);
    if (hi < 0 || lo < 0) return false;
    parsed[kMemoryIndex[k]] = static_cast<uint8_t>(hi * 16 + lo);
  }
  guid = parsed;
  return true;
}

ds_string GuidToString(const DS_GuidBytes& guid) {
  static const wchar_t kDigits[] = L"0123456789ABCDEF";
  ds_string text(38, L'-');
  text[0] = L'{';
  text[37] = L'}';
  for (int k = 0; k < 16; ++k) {
    const uint8_t b = guid[kMemoryIndex[k]];
    text[kPairStart[k]] = kDigits[b >> 4];
    text[kPairStart[k] + 1] = kDigits[b & 15];
  }
  return text;
}
