// Resource-library access: the libraries mapped as data, and the library's "DDS" bytes copied
// into an entry.
#include "core/resources/resource_library.h"

#include <map>
#include <string>

#include "core/resources/picture_decoders.h"
#include "core/resources/resource_entry.h"
#include "core/resources/wide_path.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// A drive and its root ("C:\") or a share ("\\server\"): a path that names one file wherever the
// program runs.
bool IsFullPath(const std::wstring& path) {
  if (path.size() >= 3 && path[1] == L':' && IsSeparator(path[2])) return true;
  return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

// The folder of the running program, with its closing separator.
std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

}  // namespace

HMODULE LoadResourceLibrary(const ds_string& name) {
  if (name.empty()) return nullptr;
  // Mapped once: every mapping of a data file is a view of its own, which would add up.
  static std::map<ds_string, HMODULE> libraries;
  const auto found = libraries.find(name);
  if (found != libraries.end()) return found->second;
  std::wstring path = WidePath(name);
  if (!IsFullPath(path)) {
    const std::wstring folder = ProgramFolder();
    if (folder.empty()) return nullptr;
    path = folder + path;
  }
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  // A library that cannot be read is not remembered: the next request tries again.
  if (module) libraries.emplace(name, module);
  return module;
}

bool LoadEntryFromLibrary(DS_ResourceEntry& entry) {
  // A library that cannot be loaded gives a null module: the program's own resources.
  HMODULE module = LoadResourceLibrary(entry.libraryPath);
  const void* data = nullptr;
  DWORD size = 0;
  if (!FindModuleResource(module, entry.resourceId, L"DDS", data, size)) return false;
  entry.SetData(size, data);
  return true;
}
