#include "saver/saved_display_mode.h"

#include <cwchar>

void WriteSavedDisplayMode(const WCHAR* settingsKeyPath, int screenNumber, UINT width, UINT height, UINT format,
                           const GUID& adapterId) {
  HKEY settings = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, settingsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &settings, nullptr) != ERROR_SUCCESS)
    return;
  WCHAR name[32];
  std::swprintf(name, 32, L"Screen %d", screenNumber);
  HKEY screen = nullptr;
  if (RegCreateKeyExW(settings, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &screen,
                      nullptr) == ERROR_SUCCESS) {
    const DWORD values[3] = {width, height, format};
    const WCHAR* const names[3] = {L"Width", L"Height", L"Format"};
    for (int i = 0; i < 3; ++i) {
      RegSetValueExW(screen, names[i], 0, REG_DWORD, reinterpret_cast<const BYTE*>(&values[i]), sizeof(DWORD));
    }
    RegSetValueExW(screen, L"Adapter ID", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&adapterId), sizeof(GUID));
    RegCloseKey(screen);
  }
  RegCloseKey(settings);
}
