#include "tools/scene-viewer/layer_document.h"

#include <windows.h>

#include "core/layer/layer_record.h"
#include "core/resources/resource_bytes.h"

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

bool LoadLayerDocument(const std::vector<uint8_t>& bytes, LayerDocument& document, std::wstring& error) {
  DS_ByteCursor cursor(bytes.data(), bytes.size());
  DS_RecordHeader header;
  if (!ReadRecordHeader(cursor, header) || header.className != L"DS_2D_Light") {
    error = L"the document does not begin with a DS_2D_Light record";
    return false;
  }
  // The manager comes first: the layer resolves its pictures through it.
  document.manager = std::make_unique<DS_DocResManager>();
  g_DocResManager = document.manager.get();
  document.layer.reset(DS_2D_Light::CreateFromStream(cursor, header.version));
  if (!document.layer) {
    error = L"the DS_2D_Light record is cut short";
    return false;
  }
  if (cursor.Remaining() == 0) return true;
  DS_RecordHeader managerHeader;
  if (!ReadRecordHeader(cursor, managerHeader) || managerHeader.className != L"DS_DocResManager") {
    error = L"what follows the layer is not a DS_DocResManager record";
    return false;
  }
  DS_CursorRecordReader reader(cursor);
  if (!document.manager->ReadFields(reader, managerHeader.version)) {
    error = L"the DS_DocResManager record is cut short or inconsistent";
    return false;
  }
  return true;
}
