#include "sound/music_file.h"

#include <windows.h>
#include <shlwapi.h>

#include <filesystem>
#include <fstream>

namespace {

// A file-name part that cannot leave the temporary directory or name a stream or device.
bool IsSafeFileName(const std::wstring& name) {
  if (name.empty() || name == L"." || name == L"..") return false;
  return name.find(L':') == std::wstring::npos && name.find(L'\0') == std::wstring::npos;
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
