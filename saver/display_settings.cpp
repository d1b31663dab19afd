#include "saver/display_settings.h"

#include <commctrl.h>
#include <strsafe.h>

#include <cstring>
#include <initializer_list>
#include <memory>

#include "saver/dialog_ids.h"
#include "saver/saver_shell.h"

namespace {

constexpr WCHAR kAllScreensSameValue[] = L"AllScreensSame";
constexpr WCHAR kAdapterIdValue[] = L"Adapter ID";
constexpr WCHAR kLeaveBlackValue[] = L"Leave Black";
constexpr WCHAR kDisableHardwareValue[] = L"Disable Hardware";
constexpr WCHAR kWidthValue[] = L"Width";
constexpr WCHAR kHeightValue[] = L"Height";
constexpr WCHAR kFormatValue[] = L"Format";

constexpr int kHelpTextCapacity = 500;
constexpr int kRenderingTextCapacity = 200;

// Reads a 4-byte value into an adapter or framework field; a missing or oversized value keeps
// what the field holds.
template <typename Field>
void ReadDwordInto(HKEY key, const WCHAR* name, Field& field) {
  static_assert(sizeof(Field) == sizeof(DWORD), "settings fields are 4-byte values");
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) ==
          ERROR_SUCCESS &&
      size == sizeof(value)) {
    field = static_cast<Field>(value);
  }
}

void WriteDword(HKEY key, const WCHAR* name, DWORD value) {
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

HKEY OpenScreenKey(HKEY settingsKey, int monitorIndex) {
  WCHAR name[32];
  StringCchPrintfW(name, 32, L"Screen %d", monitorIndex + 1);
  HKEY key = nullptr;
  if (RegCreateKeyExW(settingsKey, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return key;
}

// What Cancel puts back: the adapter records and "AllScreensSame" as the dialog found them.
// One display settings dialog is open at a time on the one thread.
struct DisplayDialogBackup {
  bool active = false;
  UINT allScreensSame = 0;
  std::unique_ptr<DS_SaverAdapter> adapters[kMaxAdapters];
};
// Process-wide: one display settings dialog is open at a time.
DisplayDialogBackup g_DisplayBackup;

void EnableControl(HWND dialog, int id, bool enable) {
  if (HWND control = GetDlgItem(dialog, id)) EnableWindow(control, enable ? TRUE : FALSE);
}

// The mode controls only matter while the screen saver shows on the monitor.
void EnableModeControls(HWND dialog, bool enable) {
  for (int id : {IDC_DISPLAY_MODE, IDC_DISPLAY_MODE_LABEL, IDC_DISPLAY_MODE_GROUP, IDC_DISPLAY_MODE_NOTE}) {
    EnableControl(dialog, id, enable);
  }
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// The device kind whose modes the mode list shows, or null when the adapter has none.
const DS_SaverDevice* ChosenDevice(const DS_SaverAdapter& adapter) {
  if (adapter.chosenDevice >= adapter.deviceCount || adapter.chosenDevice >= kMaxDeviceKinds) return nullptr;
  return &adapter.devices[adapter.chosenDevice];
}

const DS_SaverMonitor* MonitorAt(const CSaverShell& saver, int monitor) {
  if (monitor < 0 || monitor >= static_cast<int>(saver.m_MonitorCount) || monitor >= kMaxMonitors) return nullptr;
  return &saver.m_Monitors[monitor];
}

UINT RenderingStringId(const DS_SaverAdapter* adapter) {
  if (adapter && adapter->hasHAL && adapter->hasUsableHAL && !adapter->disableHardware) return IDS_RENDERING_HARDWARE;
  if (adapter && adapter->hasSW && adapter->hasUsableSW) return IDS_RENDERING_SOFTWARE;
  return IDS_RENDERING_NONE;
}

}  // namespace

UINT DisplayHelpStringId(const DS_SaverMonitor& monitor, const DS_SaverAdapter* adapter) {
  if (!monitor.monitor || !adapter) return IDS_HELP_NO_HAL_NO_SW;
  if (adapter->hasHAL && !adapter->disableHardware) {
    if (adapter->hasUsableHAL) return IDS_HELP_HAL;
    if (!adapter->hasSW) return IDS_HELP_HAL_LACKS_FEATURES_NO_SW;
    return adapter->hasUsableSW ? IDS_HELP_HAL_LACKS_FEATURES_SW : IDS_HELP_HAL_LACKS_FEATURES_SW_UNUSABLE;
  }
  if (adapter->hasHAL) {
    if (!adapter->hasSW) return IDS_HELP_HAL_DISABLED_NO_SW;
    return adapter->hasUsableSW ? IDS_HELP_HAL_DISABLED_SW : IDS_HELP_HAL_DISABLED_SW_UNUSABLE;
  }
  if (!adapter->hasSW) return IDS_HELP_NO_HAL_NO_SW;
  return adapter->hasUsableSW ? IDS_HELP_NO_HAL_SW : IDS_HELP_NO_HAL_SW_UNUSABLE;
}

UINT DisplayModeBitDepth(D3DFORMAT format) {
  return (format == D3DFMT_R8G8B8 || format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8) ? 32 : 16;
}

INT_PTR CALLBACK DisplayDialogThunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return g_Saver ? g_Saver->HandleDisplayDialog(dialog, message, wParam, lParam) : FALSE;
}

void CSaverShell::LoadScreenSettings(HKEY settingsKey) {
  ReadDwordInto(settingsKey, kAllScreensSameValue, m_AllScreensSame);
  for (UINT i = 0; i < m_MonitorCount && i < static_cast<UINT>(kMaxMonitors); ++i) {
    DS_SaverAdapter* adapter = AdapterOfMonitor(static_cast<int>(i));
    if (!adapter) continue;
    HKEY screenKey = OpenScreenKey(settingsKey, static_cast<int>(i));
    if (!screenKey) continue;

    GUID storedId;
    std::memset(&storedId, 0, sizeof(storedId));
    DWORD size = sizeof(storedId);
    if (RegQueryValueExW(screenKey, kAdapterIdValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&storedId),
                         &size) != ERROR_SUCCESS ||
        size != sizeof(storedId)) {
      std::memset(&storedId, 0, sizeof(storedId));
    }
    ReadDwordInto(screenKey, kLeaveBlackValue, adapter->leaveBlack);

    // The device and mode choices belong to the adapter they were made for; settings written
    // before any adapter was recorded (no identifier) count as this adapter's.
    const GUID noId = {};
    if (IsEqualGUID(storedId, adapter->identifier.DeviceIdentifier) || IsEqualGUID(storedId, noId)) {
      ReadDwordInto(screenKey, kDisableHardwareValue, adapter->disableHardware);
      ReadDwordInto(screenKey, kWidthValue, adapter->savedWidth);
      ReadDwordInto(screenKey, kHeightValue, adapter->savedHeight);
      ReadDwordInto(screenKey, kFormatValue, adapter->savedFormat);
    }
    RegCloseKey(screenKey);
  }
}

void CSaverShell::SaveScreenSettings(HKEY settingsKey) const {
  WriteDword(settingsKey, kAllScreensSameValue, m_AllScreensSame);
  for (UINT i = 0; i < m_MonitorCount && i < static_cast<UINT>(kMaxMonitors); ++i) {
    const DS_SaverAdapter* adapter = AdapterOfMonitor(static_cast<int>(i));
    if (!adapter) continue;
    HKEY screenKey = OpenScreenKey(settingsKey, static_cast<int>(i));
    if (!screenKey) continue;
    WriteDword(screenKey, kLeaveBlackValue, static_cast<DWORD>(adapter->leaveBlack));
    WriteDword(screenKey, kDisableHardwareValue, static_cast<DWORD>(adapter->disableHardware));
    WriteDword(screenKey, kWidthValue, adapter->savedWidth);
    WriteDword(screenKey, kHeightValue, adapter->savedHeight);
    WriteDword(screenKey, kFormatValue, adapter->savedFormat);
    RegSetValueExW(screenKey, kAdapterIdValue, 0, REG_BINARY,
                   reinterpret_cast<const BYTE*>(&adapter->identifier.DeviceIdentifier),
                   sizeof(adapter->identifier.DeviceIdentifier));
    RegCloseKey(screenKey);
  }
}

INT_PTR CSaverShell::ShowDisplaySettingsDialog(HWND owner) {
  const int dialogId = m_AdapterCount < 2 ? IDD_DISPLAY_ONE_ADAPTER : IDD_DISPLAY_SEVERAL_ADAPTERS;
  return DialogBoxParamW(m_Instance, MAKEINTRESOURCEW(dialogId), owner, DisplayDialogThunk, 0);
}

int CSaverShell::SelectedMonitor(HWND dialog) const {
  HWND tabs = GetDlgItem(dialog, IDC_MONITOR_TABS);
  if (!tabs) return 0;  // the one-adapter dialog always describes the first monitor
  const LRESULT selection = SendMessageW(tabs, TCM_GETCURSEL, 0, 0);
  return selection < 0 ? 0 : static_cast<int>(selection);
}

DS_SaverAdapter* CSaverShell::AdapterOfMonitor(int monitor) const {
  if (monitor < 0 || monitor >= static_cast<int>(m_MonitorCount) || monitor >= kMaxMonitors) return nullptr;
  const int index = m_Monitors[monitor].adapterIndex;
  if (index < 0 || index >= static_cast<int>(m_AdapterCount) || index >= kMaxAdapters) return nullptr;
  return m_Adapters[index];
}

// Shows the settings of the selected monitor. Every command acts on the selected monitor too,
// so the page must never describe another one (such as a focused but unselected button tab):
// the mode list's item data index that monitor's adapter.
void CSaverShell::FillMonitorPage(HWND dialog) {
  const int monitor = SelectedMonitor(dialog);
  const DS_SaverMonitor* shown = MonitorAt(*this, monitor);
  const DS_SaverAdapter* adapter = AdapterOfMonitor(monitor);

  SetDlgItemTextW(dialog, IDC_ADAPTER_NAME, shown ? shown->adapterDeviceString : L"");

  WCHAR text[kRenderingTextCapacity];
  if (LoadStringW(m_Instance, RenderingStringId(adapter), text, kRenderingTextCapacity) <= 0) text[0] = 0;
  SetDlgItemTextW(dialog, IDC_RENDERING_TEXT, text);

  const bool canUseHardware = adapter && adapter->hasHAL && adapter->hasUsableHAL;
  EnableControl(dialog, IDC_DISABLE_HARDWARE, canUseHardware);
  CheckDlgButton(dialog, IDC_DISABLE_HARDWARE, canUseHardware && adapter->disableHardware ? BST_CHECKED : BST_UNCHECKED);

  const bool canShow = adapter && ((adapter->hasUsableHAL && !adapter->disableHardware) || adapter->hasUsableSW);
  for (int id : {IDC_SHOW_SAVER, IDC_LEAVE_BLACK, IDC_MONITOR_USAGE_GROUP}) EnableControl(dialog, id, canShow);
  CheckRadioButton(dialog, IDC_SHOW_SAVER, IDC_LEAVE_BLACK,
                   !canShow || adapter->leaveBlack ? IDC_LEAVE_BLACK : IDC_SHOW_SAVER);
  EnableModeControls(dialog, !IsChecked(dialog, IDC_LEAVE_BLACK));

  HWND modes = GetDlgItem(dialog, IDC_DISPLAY_MODE);
  if (!modes) return;
  SendMessageW(modes, CB_RESETCONTENT, 0, 0);
  if (!adapter) return;

  WCHAR automatic[64];
  if (GetDlgItemTextW(dialog, IDC_AUTOMATIC_TEXT, automatic, 64) == 0) automatic[0] = 0;
  LRESULT entry = SendMessageW(modes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(automatic));
  SendMessageW(modes, CB_SETITEMDATA, static_cast<WPARAM>(entry), static_cast<LPARAM>(-1));

  WCHAR format[64];
  if (GetDlgItemTextW(dialog, IDC_MODE_FORMAT, format, 64) == 0) format[0] = 0;
  LRESULT selected = 0;
  if (const DS_SaverDevice* device = ChosenDevice(*adapter)) {
    const UINT count = device->modeCount < static_cast<UINT>(kMaxDisplayModes) ? device->modeCount : kMaxDisplayModes;
    for (UINT i = 0; i < count; ++i) {
      const DS_SaverDisplayMode& mode = device->modes[i];
      WCHAR name[128];
      if (FAILED(StringCchPrintfW(name, 128, format, mode.width, mode.height, DisplayModeBitDepth(mode.format)))) {
        name[0] = 0;
      }
      entry = SendMessageW(modes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
      SendMessageW(modes, CB_SETITEMDATA, static_cast<WPARAM>(entry), static_cast<LPARAM>(i));
      if (mode.width == adapter->savedWidth && mode.height == adapter->savedHeight &&
          static_cast<UINT>(mode.format) == adapter->savedFormat) {
        selected = entry;
      }
    }
  }
  SendMessageW(modes, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

INT_PTR CSaverShell::HandleDisplayDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      WCHAR tabFormat[64];
      if (GetDlgItemTextW(dialog, IDC_MONITOR_TAB_FORMAT, tabFormat, 64) == 0) tabFormat[0] = 0;
      if (HWND tabs = GetDlgItem(dialog, IDC_MONITOR_TABS)) {
        for (UINT i = 0; i < m_MonitorCount && i < static_cast<UINT>(kMaxMonitors); ++i) {
          WCHAR name[64];
          if (FAILED(StringCchPrintfW(name, 64, tabFormat, static_cast<int>(i + 1)))) name[0] = 0;
          TCITEMW item = {};
          item.mask = TCIF_TEXT | TCIF_IMAGE;
          item.iImage = -1;
          item.pszText = name;
          SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
      }
      g_DisplayBackup.active = true;
      g_DisplayBackup.allScreensSame = m_AllScreensSame;
      for (int i = 0; i < kMaxAdapters; ++i) {
        g_DisplayBackup.adapters[i].reset();
        if (i < static_cast<int>(m_AdapterCount) && m_Adapters[i]) {
          g_DisplayBackup.adapters[i] = std::make_unique<DS_SaverAdapter>(*m_Adapters[i]);
        }
      }
      FillMonitorPage(dialog);
      CheckDlgButton(dialog, IDC_ALL_SCREENS_SAME, m_AllScreensSame ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    }

    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header && header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        FillMonitorPage(dialog);
        return TRUE;
      }
      return FALSE;
    }

    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int monitor = SelectedMonitor(dialog);
      DS_SaverAdapter* adapter = AdapterOfMonitor(monitor);
      switch (id) {
        case IDOK:
          g_DisplayBackup = {};
          EndDialog(dialog, IDOK);
          break;
        case IDCANCEL:
          if (g_DisplayBackup.active) {
            m_AllScreensSame = g_DisplayBackup.allScreensSame;
            for (int i = 0; i < kMaxAdapters; ++i) {
              if (g_DisplayBackup.adapters[i] && m_Adapters[i]) *m_Adapters[i] = *g_DisplayBackup.adapters[i];
            }
          }
          g_DisplayBackup = {};
          EndDialog(dialog, IDCANCEL);
          break;
        case IDC_DISPLAY_HELP: {
          const DS_SaverMonitor emptyMonitor = {};
          const DS_SaverMonitor* found = MonitorAt(*this, monitor);
          const DS_SaverMonitor& shown = found ? *found : emptyMonitor;
          WCHAR help[kHelpTextCapacity];
          if (LoadStringW(m_Instance, DisplayHelpStringId(shown, adapter), help, kHelpTextCapacity) <= 0) help[0] = 0;
          MessageBoxW(dialog, help, shown.adapterDeviceString, MB_ICONINFORMATION);
          break;
        }
        case IDC_DISABLE_HARDWARE:
          if (adapter) adapter->disableHardware = IsChecked(dialog, IDC_DISABLE_HARDWARE) ? TRUE : FALSE;
          FillMonitorPage(dialog);
          break;
        case IDC_SHOW_SAVER:
        case IDC_LEAVE_BLACK: {
          const bool leaveBlack = IsChecked(dialog, IDC_LEAVE_BLACK);
          if (adapter) adapter->leaveBlack = leaveBlack ? TRUE : FALSE;
          EnableModeControls(dialog, !leaveBlack);
          break;
        }
        case IDC_DISPLAY_MODE:
          if (HIWORD(wParam) == CBN_SELCHANGE && adapter) {
            const LRESULT selection = SendDlgItemMessageW(dialog, IDC_DISPLAY_MODE, CB_GETCURSEL, 0, 0);
            if (selection == 0) {
              adapter->savedWidth = adapter->savedHeight = adapter->savedFormat = 0;
            } else if (selection > 0) {
              const LRESULT modeIndex =
                  SendDlgItemMessageW(dialog, IDC_DISPLAY_MODE, CB_GETITEMDATA, static_cast<WPARAM>(selection), 0);
              const DS_SaverDevice* device = ChosenDevice(*adapter);
              // Only an index into this adapter's own list names a mode.
              if (device && modeIndex >= 0 && modeIndex < static_cast<LRESULT>(device->modeCount) &&
                  modeIndex < kMaxDisplayModes) {
                const DS_SaverDisplayMode& mode = device->modes[modeIndex];
                adapter->savedWidth = mode.width;
                adapter->savedHeight = mode.height;
                adapter->savedFormat = static_cast<UINT>(mode.format);
              }
            }
          }
          break;
        case IDC_ALL_SCREENS_SAME:
          m_AllScreensSame = IsChecked(dialog, IDC_ALL_SCREENS_SAME) ? 1 : 0;
          break;
        default:
          break;
      }
      return TRUE;
    }

    default:
      return FALSE;
  }
}
