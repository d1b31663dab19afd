#include "tests/saver/settings_test_support.h"

#include <commctrl.h>

#include <cstring>

#include "saver/app_settings.h"
#include "saver/config_dialog.h"

TestSaver::TestSaver() {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  m_Instance = GetModuleHandleW(nullptr);
  lstrcpynW(m_SettingsKeyPath, kSettingsKeyPath, 200);
  g_SettingsKeyPath = kSettingsKeyPath;
  lstrcpynW(m_Description, L"Vorniquel Test", 200);
  g_PicturePositionRead = false;
  g_PicturePosition = kDefaultPicturePosition;
}

TestSaver::~TestSaver() {
  for (DS_SaverAdapter*& adapter : m_Adapters) adapter = nullptr;
  g_Saver = nullptr;
}

void TestSaver::ShowConfiguration() { ShowConfigurationDialog(*this); }
void TestSaver::LoadSettings() { LoadSavedSettings(*this); }
INT_PTR TestSaver::HandleDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return HandleSoundDialog(dialog, message, wParam, lParam);
}

DS_SaverAdapter& TestSaver::AddMonitorWithAdapter(const AdapterSpec& setup) {
  auto adapter = std::make_unique<DS_SaverAdapter>();
  std::memset(adapter.get(), 0, sizeof(DS_SaverAdapter));
  const int monitorIndex = static_cast<int>(m_MonitorCount);
  const int adapterIndex = static_cast<int>(m_AdapterCount);
  adapter->monitorIndex = monitorIndex;
  adapter->identifier.DeviceIdentifier = setup.id;
  adapter->hasHAL = setup.hasHAL;
  adapter->hasUsableHAL = setup.hasUsableHAL;
  adapter->hasSW = setup.hasSW;
  adapter->hasUsableSW = setup.hasUsableSW;
  adapter->deviceCount = 1;
  DS_SaverDevice& device = adapter->devices[0];
  device.kind = setup.hasUsableHAL ? D3DDEVTYPE_HAL : D3DDEVTYPE_SW;
  for (const Mode& mode : setup.modes) {
    DS_SaverDisplayMode& stored = device.modes[device.modeCount++];
    stored.width = mode.width;
    stored.height = mode.height;
    stored.format = mode.format;
  }

  DS_SaverMonitor& monitor = m_Monitors[monitorIndex];
  std::memset(&monitor, 0, sizeof(monitor));
  lstrcpynW(monitor.adapterDeviceString, setup.name, 128);
  lstrcpynW(monitor.monitorDeviceString, L"Test Monitor", 128);
  monitor.monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  monitor.adapterIndex = adapterIndex;
  ++m_MonitorCount;

  m_Adapters[adapterIndex] = adapter.get();
  ++m_AdapterCount;
  m_OwnedAdapters.push_back(std::move(adapter));
  return *m_Adapters[adapterIndex];
}

void TestSaver::AddMonitorWithoutAdapter(const WCHAR* name) {
  DS_SaverMonitor& monitor = m_Monitors[m_MonitorCount++];
  std::memset(&monitor, 0, sizeof(monitor));
  lstrcpynW(monitor.adapterDeviceString, name, 128);
  monitor.adapterIndex = -1;
}

GUID MakeGuid(unsigned char seed) {
  GUID id;
  unsigned char* bytes = reinterpret_cast<unsigned char*>(&id);
  for (size_t i = 0; i < sizeof(id); ++i) bytes[i] = static_cast<unsigned char>(seed + i * 7);
  return id;
}

std::wstring SettingsKey() {
  std::wstring path = kSettingsKeyPath;
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

std::wstring ScreenKey(int number) { return SettingsKey() + L"\\Screen " + std::to_wstring(number); }

void DeleteSettingsKey() {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brellick");
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Brellick");
}

bool KeyExists(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::optional<DWORD> QueryDword(const std::wstring& path, const WCHAR* name) {
  DWORD value = 0, size = sizeof(value), type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::vector<BYTE>> QueryBinary(const std::wstring& path, const WCHAR* name) {
  BYTE data[256];
  DWORD size = sizeof(data), type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS ||
      type != REG_BINARY) {
    return std::nullopt;
  }
  return std::vector<BYTE>(data, data + size);
}

void SetDword(const std::wstring& path, const WCHAR* name, DWORD value) {
  RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name, REG_DWORD, &value, sizeof(value));
}

void SetBinary(const std::wstring& path, const WCHAR* name, const void* data, DWORD size) {
  RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name, REG_BINARY, data, size);
}

HWND CreateModelessDialog(int id, DLGPROC procedure) {
  HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr, procedure, 0);
  if (dialog) ShowWindow(dialog, SW_SHOW);
  return dialog;
}

std::wstring ControlText(HWND dialog, int id) {
  WCHAR text[1024] = {};
  GetDlgItemTextW(dialog, id, text, 1024);
  return text;
}

std::vector<std::wstring> ComboItems(HWND dialog, int id) {
  std::vector<std::wstring> items;
  const LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    WCHAR text[256] = {};
    if (SendDlgItemMessageW(dialog, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 256) {
      SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    }
    items.push_back(text);
  }
  return items;
}

LRESULT ComboSelection(HWND dialog, int id) { return SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0); }

void ChooseComboItem(HWND dialog, int id, int index) {
  HWND combo = GetDlgItem(dialog, id);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void Click(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); }
void PostClick(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

std::wstring ClassOf(HWND window) {
  WCHAR name[128] = {};
  GetClassNameW(window, name, 128);
  return name;
}

namespace {

struct DialogSearch {
  const std::wstring* title;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  WCHAR text[256] = {};
  GetWindowTextW(window, text, 256);
  if (IsWindowVisible(window) && ClassOf(window) == L"#32770" && *search->title == text) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
  if (IsWindowVisible(window) && ClassOf(window) == L"#32770") PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

DialogScript* g_ActiveScript = nullptr;

}  // namespace

HWND FindThreadDialog(const std::wstring& title) {
  DialogSearch search{&title, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DialogScript::DialogScript(std::vector<Step> steps, DWORD timeoutMs)
    : m_Steps(std::move(steps)), m_Deadline(GetTickCount() + timeoutMs) {
  g_ActiveScript = this;
  m_Timer = SetTimer(nullptr, 0, 15, OnTimer);
}

DialogScript::~DialogScript() {
  KillTimer(nullptr, m_Timer);
  if (g_ActiveScript == this) g_ActiveScript = nullptr;
}

void CALLBACK DialogScript::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (g_ActiveScript) g_ActiveScript->Tick();
}

void DialogScript::Tick() {
  if (m_InTick) return;
  m_InTick = true;
  if (!Finished() && static_cast<LONG>(GetTickCount() - m_Deadline) > 0) m_TimedOut = true;
  if (m_TimedOut) {
    EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
  } else if (!Finished() && m_Steps[m_Next]()) {
    ++m_Next;
  }
  m_InTick = false;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return done();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

std::wstring FakeBrowserPath() {
  WCHAR path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring result = path;
  result.resize(result.find_last_of(L'\\') + 1);
  return result + L"fake_browser.exe";
}
