#include "saver/config_dialog.h"

#include <commctrl.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "saver/app_settings.h"
#include "saver/dialog_ids.h"
#include "saver/saver_shell.h"

const WCHAR kProductWebPage[] =
    L"https://www.brellick.example/vorniquel-maker/"
    L"?utm_source=screensaver&utm_medium=website&utm_campaign=customer_content&utm_nooverride=1";

namespace {

// The one sound dialog's own copy of the values, kept between openings.
DWORD g_DialogSoundVolume = kDefaultSoundVolume;
DWORD g_DialogSoundBalance = kDefaultSoundBalance;
DWORD g_DialogMuteSound = kDefaultMuteSound;

constexpr int kTrackbarMax = 100;

// The registered browser command is read into a buffer of this many characters; longer
// commands are refused rather than cut.
constexpr size_t kBrowserCommandCapacity = 260;

}  // namespace

void ShowConfigurationDialog(CSaverShell& saver) {
  DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_CONFIGURATION), saver.m_ParentWindow, ConfigDialogThunk, 0);
}

INT_PTR CALLBACK ConfigDialogThunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return g_Saver ? HandleConfigDialog(*g_Saver, dialog, message, wParam, lParam) : FALSE;
}

INT_PTR HandleConfigDialog(CSaverShell& saver, HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowTextW(dialog, saver.m_Description);
      // Writing the current settings back creates the keys on first use.
      SaveAllSettings(saver);
      HWND positions = GetDlgItem(dialog, IDC_PICTURE_POSITION);
      for (const WCHAR* name : {L"Stretch", L"Fit", L"Fill"}) {
        SendMessageW(positions, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
      }
      SendMessageW(positions, CB_SETCURSEL, LoadPicturePosition(), 0);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          const LRESULT position = SendDlgItemMessageW(dialog, IDC_PICTURE_POSITION, CB_GETCURSEL, 0, 0);
          if (position >= 0) StorePicturePosition(static_cast<DWORD>(position));
          SaveAllSettings(saver);
          EndDialog(dialog, IDOK);
          break;
        }
        case IDCANCEL:
          // Drops what the display settings dialog changed in memory.
          LoadSavedSettings(saver);
          EndDialog(dialog, IDCANCEL);
          break;
        case IDC_DISPLAY_SETTINGS:
          saver.ShowDisplaySettingsDialog(dialog);
          break;
        case IDC_SOUND_SETTINGS:
          DialogBoxParamW(saver.m_Instance, MAKEINTRESOURCEW(IDD_SOUND_SETTINGS), dialog, DialogThunk, 0);
          break;
        case IDC_WEBSITE:
          OpenUrlWithBrowser(kProductWebPage);
          break;
        default:
          break;
      }
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK DialogThunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return g_Saver ? g_Saver->HandleDialogMessage(dialog, message, wParam, lParam) : FALSE;
}

INT_PTR HandleSoundDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      ReadSettingDword(g_DialogSoundVolume, kSoundVolumeValue);
      ReadSettingDword(g_DialogSoundBalance, kSoundBalanceValue);
      ReadSettingDword(g_DialogMuteSound, kMuteSoundValue);
      // The trackbar is vertical with its top loud, so its position counts down from full volume.
      HWND volume = GetDlgItem(dialog, IDC_VOLUME);
      SendMessageW(volume, TBM_SETPAGESIZE, 0, 10);
      SendMessageW(volume, TBM_SETRANGE, TRUE, MAKELPARAM(0, kTrackbarMax));
      SendMessageW(volume, TBM_SETPOS, TRUE, static_cast<LPARAM>(kTrackbarMax) - static_cast<LPARAM>(g_DialogSoundVolume));
      if (HWND balance = GetDlgItem(dialog, IDC_BALANCE)) {
        SendMessageW(balance, TBM_SETRANGE, TRUE, MAKELPARAM(0, kTrackbarMax));
        SendMessageW(balance, TBM_SETPOS, TRUE, static_cast<LPARAM>(g_DialogSoundBalance));
      }
      CheckDlgButton(dialog, IDC_MUTE, g_DialogMuteSound ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          const LRESULT position = SendDlgItemMessageW(dialog, IDC_VOLUME, TBM_GETPOS, 0, 0);
          WriteSoundVolume(static_cast<DWORD>(kTrackbarMax - position));
          // Without a balance control (the dialog has none) this stores 0.
          WriteSoundBalance(static_cast<DWORD>(SendDlgItemMessageW(dialog, IDC_BALANCE, TBM_GETPOS, 0, 0)));
          WriteMuteSound(IsDlgButtonChecked(dialog, IDC_MUTE) == BST_CHECKED ? 1 : 0);
          EndDialog(dialog, IDOK);
          break;
        }
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          break;
        default:
          break;
      }
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL OpenUrlWithBrowser(const WCHAR* url) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return FALSE;
  }
  WCHAR stored[kBrowserCommandCapacity] = {};
  DWORD size = sizeof(stored);
  const LONG status = RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(stored), &size);
  RegCloseKey(key);
  // A value that fills the whole buffer has no terminator: too long, like one that does not fit.
  if (status != ERROR_SUCCESS || stored[kBrowserCommandCapacity - 1] != 0) return FALSE;

  const std::wstring command(stored);
  const std::wstring address(url);
  std::wstring commandLine;
  const size_t quotedArgument = command.find(L"\"%1\"");
  if (quotedArgument != std::wstring::npos) {
    commandLine = command;
    commandLine.replace(quotedArgument + 1, 2, address);
    // The browser's command stays within the size of a registered command; a longer one would
    // have to lose the end of the address or its closing quote, so nothing is started.
    if (commandLine.size() >= kBrowserCommandCapacity) return FALSE;
  } else {
    commandLine = command + L" " + address;
  }

  std::vector<WCHAR> writable(commandLine.begin(), commandLine.end());
  writable.push_back(0);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return FALSE;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return TRUE;
}
