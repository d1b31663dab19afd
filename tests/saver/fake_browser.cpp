// A stand-in browser for the tests of the "Website" button: writes its whole command line, as
// UTF-8, to the file named by VQ_FAKE_BROWSER_LOG. The file appears complete or not at all.
#include <windows.h>

#include <string>

int main() {
  WCHAR log[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"VQ_FAKE_BROWSER_LOG", log, MAX_PATH) == 0) return 2;
  const WCHAR* commandLine = GetCommandLineW();
  const int size = WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size > 0 ? size : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, &bytes[0], size, nullptr, nullptr);
  bytes.resize(bytes.size() - 1);

  const std::wstring partial = std::wstring(log) + L".part";
  HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return MoveFileExW(partial.c_str(), log, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
