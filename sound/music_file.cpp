#include "sound/music_file.h"

#include <windows.h>
#include <shlwapi.h>

#include <filesystem>
#include <fstream>

namespace {

wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

// Whether Windows takes the name for a device whatever folder it stands in: "CON", "PRN", "AUX",
// "NUL", "COM1" to "COM9" or "LPT1" to "LPT9" in any case, alone or before a '.' (an extension),
// with any blanks before that '.'.
bool IsDeviceName(const std::wstring& name) {
  std::wstring stem = name.substr(0, name.find(L'.'));
  stem.erase(stem.find_last_not_of(L' ') + 1);
  for (wchar_t& c : stem) c = Upper(c);
  if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL") return true;
  return stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
         stem[3] >= L'1' && stem[3] <= L'9';
}

// A file-name part that cannot leave the temporary directory or name a stream or device.
bool IsSafeFileName(const std::wstring& name) {
  if (name.empty() || name == L"." || name == L"..") return false;
  if (name.find(L':') != std::wstring::npos || name.find(L'\0') != std::wstring::npos) return false;
  return !IsDeviceName(name);
}

std::wstring TempDirectory() {
  WCHAR buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH, buffer);
  if (length == 0 || length > MAX_PATH) return std::wstring();
  return std::wstring(buffer, length);
}

void WriteWholeFile(const std::wstring& path, const unsigned char* bytes, size_t size) {
  std::ofstream out(std::filesystem::path(path), std::ios::out | std::ios::trunc | std::ios::binary);
  if (out) out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
}

}  // namespace

std::wstring MusicFileNamePart(const std::wstring& storedPath) {
  const size_t slash = storedPath.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return std::wstring();
  return storedPath.substr(slash + 1);
}

DS_MusicExtraction ExtractMusicBytes(const std::wstring& storedPath, const unsigned char* bytes, size_t size,
                                     std::wstring* target) {
  if (size == 0 || !bytes) return DS_MusicExtraction::Nothing;
  if (PathFileExistsW(storedPath.c_str())) return DS_MusicExtraction::PlayInPlace;
  const std::wstring name = MusicFileNamePart(storedPath);
  *target = TempDirectory();
  if (IsSafeFileName(name)) {
    *target += name;
    WriteWholeFile(*target, bytes, size);
  }
  return DS_MusicExtraction::Renamed;
}

void DS_MusicFileData::ExtractToTempFile() {
  std::wstring target;
  switch (ExtractMusicBytes(path, bytes.data(), bytes.size(), &target)) {
    case DS_MusicExtraction::Nothing:
      return;
    case DS_MusicExtraction::PlayInPlace:
      break;
    case DS_MusicExtraction::Renamed:
      path = target;
      break;
  }
  bytes.clear();
  bytes.shrink_to_fit();
}
