#include "core/data/file_links.h"

#include <sys/stat.h>

#include <string>

namespace {

DS_FileLinkWriteHook& WriteHook() {
  static DS_FileLinkWriteHook hook = nullptr;
  return hook;
}

DS_FileLinkWriteHook& PictureWriteHook() {
  static DS_FileLinkWriteHook hook = nullptr;
  return hook;
}

void WriteKey(const DS_ResourceKey& key, DS_FileLinkWriteHook hook, DS_IOF_Virtual& out) {
  if (!key.name.empty() && hook) hook(key);
  out.WriteString(key.name);
  out.WriteInt64(key.stamp);
}

int64_t NextEmbeddedStamp() {
  static int64_t counter = 0;
  return counter++;
}

int64_t FileModificationTime(const ds_string& path) {
#ifdef _WIN32
  struct _stat64 status;
  const std::wstring widePath(path.begin(), path.end());
  if (_wstat64(widePath.c_str(), &status) != 0) return 0;
#else
  struct stat status;
  if (stat(DsToUtf8(path).c_str(), &status) != 0) return 0;
#endif
  return static_cast<int64_t>(status.st_mtime);
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// Reads `digits` hexadecimal digits at `pos`; false on anything else.
bool ParseHex(const ds_string& text, size_t pos, int digits, uint32_t& value) {
  value = 0;
  for (int i = 0; i < digits; ++i) {
    const int d = HexDigit(text[pos + static_cast<size_t>(i)]);
    if (d < 0) return false;
    value = (value << 4) | static_cast<uint32_t>(d);
  }
  return true;
}

}  // namespace

DS_FileLink3::DS_FileLink3(const ds_string& path) : m_Key{path, FileModificationTime(path)} {}

DS_FileLink3::DS_FileLink3(int resourceId, const ds_string& libraryPath) : m_Key{libraryPath, int64_t{resourceId}} {}

DS_FileLink3::DS_FileLink3(const DS_ResourceEntry& entry) {
  if (entry.resourceId != 0) {
    m_Key.name = entry.libraryPath;
    m_Key.stamp = static_cast<int64_t>(static_cast<uint32_t>(entry.resourceId));
  } else {
    m_Key.name = entry.name;
    m_Key.stamp = NextEmbeddedStamp();
  }
}

void DS_FileLink3::Edit(void*, MediaControl*) {}

ds_string DS_FileLink3::GetExtension() const {
  const size_t dot = m_Key.name.rfind(u'.');
  if (dot == ds_string::npos) return ds_string();
  ds_string extension = m_Key.name.substr(dot);
  for (auto& c : extension) {
    // Latin letters, including Latin-1's accented capitals (not the multiplication sign).
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) c = static_cast<char16_t>(c + 0x20);
  }
  return extension;
}

void DS_FileLink3::SetKey(const DS_ResourceKey& key, MediaControl* originator) {
  if (key == m_Key) return;
  m_Key = key;
  NotifyChanged(originator);
}

void DS_ImageFileLink::Edit(void*, MediaControl*) {}

void ReadFileLink(DS_IOF_Virtual& in, DS_FileLink3& link) {
  DS_ResourceKey key;
  in.ReadString(key.name);
  in.ReadInt64(key.stamp);
  link.StoreKey(key);
}

void WriteFileLink(const DS_FileLink3& link, DS_IOF_Virtual& out) { WriteKey(link.Key(), WriteHook(), out); }

void DS_NoteLinkWritten(const DS_FileLink3& link) {
  if (!link.Key().name.empty() && WriteHook()) WriteHook()(link.Key());
}

void WritePictureLink(const DS_FileLink3& link, DS_IOF_Virtual& out) {
  WriteKey(link.Key(), PictureWriteHook(), out);
}

void DS_SetFileLinkWriteHooks(DS_FileLinkWriteHook resourceHook, DS_FileLinkWriteHook pictureHook) {
  WriteHook() = resourceHook;
  PictureWriteHook() = pictureHook;
}

ds_string DS_GuidToString(const DS_Guid& guid) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text = "{";
  auto put = [&](uint32_t value, int digits) {
    for (int i = digits - 1; i >= 0; --i) text.push_back(kDigits[(value >> (4 * i)) & 0xF]);
  };
  put(guid.data1, 8);
  text.push_back('-');
  put(guid.data2, 4);
  text.push_back('-');
  put(guid.data3, 4);
  text.push_back('-');
  put(guid.data4[0], 2);
  put(guid.data4[1], 2);
  text.push_back('-');
  for (int i = 2; i < 8; ++i) put(guid.data4[i], 2);
  text.push_back('}');
  return DsFromUtf8(text);
}

bool DS_GuidFromString(const ds_string& text, DS_Guid& guid) {
  if (text.size() != 38 || text[0] != u'{' || text[37] != u'}' || text[9] != u'-' || text[14] != u'-' ||
      text[19] != u'-' || text[24] != u'-') {
    return false;
  }
  DS_Guid parsed;
  uint32_t v = 0;
  if (!ParseHex(text, 1, 8, v)) return false;
  parsed.data1 = v;
  if (!ParseHex(text, 10, 4, v)) return false;
  parsed.data2 = static_cast<uint16_t>(v);
  if (!ParseHex(text, 15, 4, v)) return false;
  parsed.data3 = static_cast<uint16_t>(v);
  static const size_t kBytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!ParseHex(text, kBytePos[i], 2, v)) return false;
    parsed.data4[i] = static_cast<uint8_t>(v);
  }
  guid = parsed;
  return true;
}

void WriteGuid(DS_IOF_Virtual& out, const DS_Guid& guid) { out.WriteString(DS_GuidToString(guid)); }

void ReadGuid(DS_IOF_Virtual& in, DS_Guid& guid) {
  ds_string text;
  in.ReadString(text);
  DS_GuidFromString(text, guid);
}
