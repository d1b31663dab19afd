// The configure mode of the real program: "vorniquel.scr /c" shows the configuration dialog on a
// fresh profile, and what the user chooses there ends up in the registry.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "saver/app_settings.h"
#include "saver/dialog_ids.h"
#include "tests/saver/settings_test_support.h"

namespace {

// The program under test, given by the test run as a host path.
std::wstring SaverPath() {
  const char* host = std::getenv("VQ_SAVER");
  if (!host) return L"";
  std::wstring path = L"Z:";
  for (const char* c = host; *c; ++c) path += (*c == '/') ? L'\\' : static_cast<WCHAR>(*c);
  return path;
}

struct ProcessDialogSearch {
  DWORD processId;
  const WCHAR* title;
  HWND found;
};

BOOL CALLBACK MatchProcessDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ProcessDialogSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  WCHAR text[128] = {};
  GetWindowTextW(window, text, 128);
  if (owner == search->processId && IsWindowVisible(window) && ClassOf(window) == L"#32770" &&
      lstrcmpW(text, search->title) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

class ConfigureMode : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteSettingsKey();
    ASSERT_FALSE(SaverPath().empty()) << "VQ_SAVER names the program under test";
  }
  void TearDown() override {
    if (process.hProcess) {
      if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
  }

  void Start(const std::wstring& switches) {
    std::wstring commandLine = L"\"" + SaverPath() + L"\" " + switches;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    ASSERT_TRUE(CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
  }

  // Waits (pumping: the program's dialogs talk to windows of this thread) for its dialog.
  HWND WaitForDialog(const WCHAR* title) {
    ProcessDialogSearch search{process.dwProcessId, title, nullptr};
    PumpUntil(
        [&] {
          EnumWindows(MatchProcessDialog, reinterpret_cast<LPARAM>(&search));
          return search.found != nullptr;
        },
        60000);
    return search.found;
  }

  bool WaitForGone(HWND window) {
    return PumpUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, 20000);
  }

  // The exit code, or -1 when the program did not end.
  long WaitForExit() {
    if (!PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 30000)) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    return static_cast<long>(code);
  }

  PROCESS_INFORMATION process = {};
};

TEST_F(ConfigureMode, FreshProfileShowsFillAndFitWithOkIsStored) {
  Start(L"/c");
  HWND dialog = WaitForDialog(L"Vorniquel");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);

  HWND positions = GetDlgItem(dialog, IDC_PICTURE_POSITION);
  EXPECT_EQ(SendMessageW(positions, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(positions, CB_GETCURSEL, 0, 0), 2);
  // The dialog wrote the current settings back as it opened.
  EXPECT_TRUE(KeyExists(SettingsKey()));
  EXPECT_EQ(QueryDword(SettingsKey(), L"AllScreensSame"), std::optional<DWORD>(0));
  EXPECT_EQ(QueryDword(ScreenKey(1), L"Leave Black"), std::optional<DWORD>(0));
  const auto adapterId = QueryBinary(ScreenKey(1), L"Adapter ID");
  ASSERT_TRUE(adapterId);
  EXPECT_EQ(adapterId->size(), 16u);
  EXPECT_FALSE(QueryDword(SettingsKey(), kPicturePositionValue));

  SendMessageW(positions, CB_SETCURSEL, 1, 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_PICTURE_POSITION, CBN_SELCHANGE), reinterpret_cast<LPARAM>(positions));
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_EQ(QueryDword(SettingsKey(), kPicturePositionValue), std::optional<DWORD>(1));
}

TEST_F(ConfigureMode, SoundSettingsUnderAParentWindowThenCancel) {
  HWND parent = CreateWindowExW(0, L"Static", L"configure host", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(parent);
  Start(L"/c:" + std::to_wstring(reinterpret_cast<UINT_PTR>(parent)));
  HWND dialog = WaitForDialog(L"Vorniquel");
  ASSERT_TRUE(dialog);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), parent);

  PostMessageW(GetDlgItem(dialog, IDC_SOUND_SETTINGS), BM_CLICK, 0, 0);
  HWND sound = WaitForDialog(L"Sound Settings");
  ASSERT_TRUE(sound);
  HWND volume = GetDlgItem(sound, IDC_VOLUME);
  EXPECT_EQ(SendMessageW(volume, TBM_GETPOS, 0, 0), 0);  // fresh profile: full volume at the top
  EXPECT_EQ(SendMessageW(GetDlgItem(sound, IDC_MUTE), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageW(volume, TBM_SETPOS, TRUE, 100);
  PostMessageW(GetDlgItem(sound, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitForGone(sound));

  EXPECT_EQ(QueryDword(SettingsKey(), kSoundVolumeValue), std::optional<DWORD>(0));
  EXPECT_EQ(QueryDword(SettingsKey(), kSoundBalanceValue), std::optional<DWORD>(0));
  EXPECT_EQ(QueryDword(SettingsKey(), kMuteSoundValue), std::optional<DWORD>(0));

  PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_FALSE(QueryDword(SettingsKey(), kPicturePositionValue));
  DestroyWindow(parent);
}

}  // namespace
