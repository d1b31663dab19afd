// A resource library with code of its own: its entry point leaves a file at the path that the
// environment variable VQ_ENTRY_POINT_MARK names, so a test sees whether the library was ever
// run. Its resources (entry_point_library.rc) are read under ids the test program lacks.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"VQ_ENTRY_POINT_MARK", path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
      HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
      if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
  }
  return TRUE;
}
