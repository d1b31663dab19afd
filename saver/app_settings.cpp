#include "saver/app_settings.h"

#include "saver/saver_shell.h"

// The settings, read once for the process and the same for every output.
std::wstring g_SettingsKeyPath;
DWORD g_PicturePosition = kDefaultPicturePosition;
bool g_PicturePositionRead = false;

HKEY OpenSettingsKey(const std::wstring& path) {
  // An empty path would open HKEY_CURRENT_USER itself and scatter the values over its root.
  if (path.empty()) return nullptr;
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return key;
}

void ReadSettingDword(DWORD& value, const WCHAR* name) {
  HKEY key = OpenSettingsKey(g_SettingsKeyPath);
  if (!key) return;
  // Read through a copy: a failed query may leave the buffer half written.
  DWORD read = value;
  DWORD size = sizeof(read);
  if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&read), &size) ==
      ERROR_SUCCESS) {
    value = read;
  }
  RegCloseKey(key);
}

void WriteSettingDword(const WCHAR* name, DWORD value) {
  HKEY key = OpenSettingsKey(g_SettingsKeyPath);
  if (!key) return;
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  RegCloseKey(key);
}

void WriteSoundVolume(DWORD volume) { WriteSettingDword(kSoundVolumeValue, volume); }
void WriteSoundBalance(DWORD balance) { WriteSettingDword(kSoundBalanceValue, balance); }
void WriteMuteSound(DWORD mute) { WriteSettingDword(kMuteSoundValue, mute); }
void WritePicturePosition(DWORD position) { WriteSettingDword(kPicturePositionValue, position); }

namespace {

bool IsUserPicturePosition(DWORD position) { return position <= kPicturePositionFill; }

void ReadPicturePositionOnce() {
  if (g_PicturePositionRead) return;
  DWORD stored = kDefaultPicturePosition;
  ReadSettingDword(stored, kPicturePositionValue);
  // Any other number would reach the view as an unintended mode and select nothing in the
  // configuration dialog, whose OK would then store that garbage again.
  g_PicturePosition = IsUserPicturePosition(stored) ? stored : kDefaultPicturePosition;
  g_PicturePositionRead = true;
}

}  // namespace

DWORD LoadPicturePosition() {
  ReadPicturePositionOnce();
  return g_PicturePosition;
}

void StorePicturePosition(DWORD position) {
  ReadPicturePositionOnce();
  if (!IsUserPicturePosition(position)) return;
  g_PicturePosition = position;
  WritePicturePosition(position);
}

void LoadSavedSettings(CSaverShell& saver) {
  HKEY key = OpenSettingsKey(saver.m_SettingsKeyPath);
  if (!key) return;
  saver.LoadScreenSettings(key);
  RegCloseKey(key);
}

void SaveAllSettings(CSaverShell& saver) {
  HKEY key = OpenSettingsKey(saver.m_SettingsKeyPath);
  if (!key) return;
  saver.SaveScreenSettings(key);
  RegCloseKey(key);
}
