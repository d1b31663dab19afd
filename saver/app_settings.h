// The saver's settings in the registry: the key under HKEY_CURRENT_USER, the program-wide values
// with their defaults, the small read and write helpers and the picture-position setting.
// Registry failures are silent everywhere: reads keep the caller's default, writes are lost.
#pragma once

#include <windows.h>

#include <string>

class CSaverShell;

// The settings key under HKEY_CURRENT_USER.
constexpr WCHAR kSettingsKeyPath[] = L"Software\\Brellick\\Vorniquel Maker\\Screensaver\\";

// The double quotes belong to these value names: stored settings carry them.
constexpr WCHAR kSoundVolumeValue[] = L"\"SoundVolume\"";
constexpr WCHAR kSoundBalanceValue[] = L"\"SoundBalance\"";
constexpr WCHAR kMuteSoundValue[] = L"\"MuteSound\"";
constexpr WCHAR kPicturePositionValue[] = L"\"PicPos\"";

constexpr DWORD kDefaultSoundVolume = 100;   // 0 silent .. 100 full
constexpr DWORD kDefaultSoundBalance = 50;   // 0 .. 100; kept, applied to nothing
constexpr DWORD kDefaultMuteSound = 0;

// Picture positions offered to the user (the view also knows a whole-target mode 3 of its own).
constexpr DWORD kPicturePositionStretch = 0;
constexpr DWORD kPicturePositionFit = 1;
constexpr DWORD kPicturePositionFill = 2;
constexpr DWORD kDefaultPicturePosition = kPicturePositionFill;

// The settings key path every program-wide value is read from and written to. The application
// sets it at construction; empty means "no settings".
extern std::wstring g_SettingsKeyPath;

// The "PicPos" setting, read from the registry at most once per process.
extern DWORD g_PicturePosition;
extern bool g_PicturePositionRead;

// Opens (creating when missing) the key with KEY_ALL_ACCESS; null when that fails or the path
// is empty. The caller closes it.
HKEY OpenSettingsKey(const std::wstring& path);

// Reads a 4-byte value into `value`; a missing value or key leaves it as it was, so the caller
// sets the default beforehand.
void ReadSettingDword(DWORD& value, const WCHAR* name);

void WriteSettingDword(const WCHAR* name, DWORD value);
void WriteSoundVolume(DWORD volume);
void WriteSoundBalance(DWORD balance);
void WriteMuteSound(DWORD mute);
void WritePicturePosition(DWORD position);

// Returns the picture position, reading "PicPos" on the first call. A stored value that is no
// user choice (outside Stretch, Fit, Fill) gives the default Fill.
DWORD LoadPicturePosition();

// Makes `position` the picture position and stores it. A value outside Stretch, Fit, Fill is
// refused and nothing changes.
void StorePicturePosition(DWORD position);

// The per-monitor settings under the framework's settings key: read into its adapter records,
// written from them. Nothing happens while the framework has no settings key.
void LoadSavedSettings(CSaverShell& saver);
void SaveAllSettings(CSaverShell& saver);
