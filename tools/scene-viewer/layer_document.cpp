#include "core/layer/layer_registry.h"
#include "tools/scene-viewer/layer_document.h"

#include <windows.h>

#include "core/data/class_registry.h"
#include "core/data/ds_stream.h"

bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (1LL << 30);
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                           read == bytes.size());
  }
  CloseHandle(file);
  return ok;
}

namespace {

// The class name the document begins with, for the message; empty when none can be read.
std::wstring FirstClassName(const std::vector<uint8_t>& bytes) {
  ds_string name;
  if (ParseArchiveString(bytes.data(), bytes.size(), name) == 0) return std::wstring();
  std::wstring wide;
  for (char16_t unit : name) wide += static_cast<wchar_t>(unit);
  return wide;
}

}  // namespace

bool LoadLayerDocument(const std::vector<uint8_t>& bytes, LayerDocument& document, std::wstring& error) {
  if (bytes.empty()) {
    error = L"the document is empty";
    return false;
  }
  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader in(&buffer);
  document.manager = std::make_unique<DS_DocResManager>();
  g_DocResManager = document.manager.get();
  try {
    // Through the layer registry, as a slide reads its layer: a class it does not hold gives none.
    document.layer = ReadLightObject(in);
    if (!document.layer) {
      error = L"the document begins with \"" + FirstClassName(bytes) +
              L"\", which is neither a scene document nor a registered layer class";
      return false;
    }
    if (in.Remaining() == 0) return true;
    const DS_ObjectHeader header = DS_ReadHeader(in);
    if (header.className != u"DS_DocResManager") {
      error = L"what follows the layer is not a DS_DocResManager record";
      return false;
    }
    if (!document.manager->ReadFields(in, header.version)) {
      error = L"the DS_DocResManager record is inconsistent";
      return false;
    }
  } catch (const DS_DocumentError&) {
    error = L"the document is cut short or a count exceeds its size";
    return false;
  }
  return true;
}
