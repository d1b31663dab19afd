// Shared pieces of the settings tests: a framework object with hand-built monitors and adapters,
// registry probes, and drivers for modeless and modal dialogs.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "saver/saver_shell.h"

// The framework with the application's settings hooks, the real settings key and monitors and
// adapters built by the test instead of enumerated.
class TestSaver : public CSaverShell {
 public:
  TestSaver();
  ~TestSaver();

  void ShowConfiguration() override;
  void LoadSettings() override;
  INT_PTR HandleDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

  struct Mode {
    UINT width, height;
    D3DFORMAT format;
  };
  struct AdapterSpec {
    const WCHAR* name = L"Test Adapter";
    GUID id = {};
    bool hasHAL = true, hasUsableHAL = true, hasSW = false, hasUsableSW = false;
    std::vector<Mode> modes = {{640, 480, D3DFMT_X8R8G8B8}, {800, 600, D3DFMT_X8R8G8B8}, {1024, 768, D3DFMT_R5G6B5}};
  };
  // Adds a monitor claimed by a new adapter and returns that adapter.
  DS_SaverAdapter& AddMonitorWithAdapter(const AdapterSpec& setup);
  // Adds a monitor that no adapter claims.
  void AddMonitorWithoutAdapter(const WCHAR* name);

 private:
  std::vector<std::unique_ptr<DS_SaverAdapter>> m_OwnedAdapters;
};

GUID MakeGuid(unsigned char seed);

// Registry probes under HKEY_CURRENT_USER.
std::wstring SettingsKey();                        // the settings key without its trailing backslash
std::wstring ScreenKey(int number);                // its "Screen <number>" subkey
void DeleteSettingsKey();                          // a fresh profile
bool KeyExists(const std::wstring& path);
std::optional<DWORD> QueryDword(const std::wstring& path, const WCHAR* name);  // REG_DWORD values only
std::optional<std::vector<BYTE>> QueryBinary(const std::wstring& path, const WCHAR* name);
void SetDword(const std::wstring& path, const WCHAR* name, DWORD value);
void SetBinary(const std::wstring& path, const WCHAR* name, const void* data, DWORD size);

// Dialog helpers.
HWND CreateModelessDialog(int id, DLGPROC procedure);
std::wstring ControlText(HWND dialog, int id);
std::vector<std::wstring> ComboItems(HWND dialog, int id);
LRESULT ComboSelection(HWND dialog, int id);
// What a user's choice in a drop-down list sends: the new selection, then CBN_SELCHANGE.
void ChooseComboItem(HWND dialog, int id, int index);
void Click(HWND dialog, int id);        // synchronous: returns once the click is handled
void PostClick(HWND dialog, int id);    // for buttons that open a modal dialog
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
std::wstring ClassOf(HWND window);

// A visible dialog (class #32770) of this thread with the given title, or null.
HWND FindThreadDialog(const std::wstring& title);

// Drives modal dialogs of this thread from a thread timer, which their message loops dispatch.
// Each step is tried on every tick until it returns true. Steps must only post clicks that open
// further modal dialogs. Past the deadline every dialog of the thread is cancelled.
class DialogScript {
 public:
  using Step = std::function<bool()>;
  explicit DialogScript(std::vector<Step> steps, DWORD timeoutMs = 20000);
  ~DialogScript();
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;

  bool Finished() const { return m_Next >= m_Steps.size(); }
  bool TimedOut() const { return m_TimedOut; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  void Tick();

  std::vector<Step> m_Steps;
  size_t m_Next = 0;
  DWORD m_Deadline;
  bool m_TimedOut = false;
  bool m_InTick = false;
  UINT_PTR m_Timer = 0;
};

// Pumps this thread's messages until `done` holds or the time runs out; returns `done`().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// The fake browser beside the test program, which writes its command line to a file.
std::wstring FakeBrowserPath();
