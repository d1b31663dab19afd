// The display settings dialogs 200 and 201 over hand-built adapter records.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "saver/app_settings.h"
#include "saver/dialog_ids.h"
#include "saver/display_settings.h"
#include "tests/saver/settings_test_support.h"

namespace {

const std::wstring kHardwareText = L"The screen saver can use hardware 3D rendering on this monitor.";
const std::wstring kSoftwareText = L"The screen saver can use software 3D rendering on this monitor.";
const std::wstring kCannotText = L"The screen saver cannot be displayed on this monitor.";

int TabCount(HWND dialog) { return static_cast<int>(SendDlgItemMessageW(dialog, IDC_MONITOR_TABS, TCM_GETITEMCOUNT, 0, 0)); }

std::wstring TabText(HWND dialog, int index) {
  WCHAR text[64] = {};
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 64;
  SendDlgItemMessageW(dialog, IDC_MONITOR_TABS, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return text;
}

// What the tab control tells its dialog when the user picks another tab.
void NotifyTabChange(HWND dialog) {
  NMHDR header = {};
  header.hwndFrom = GetDlgItem(dialog, IDC_MONITOR_TABS);
  header.idFrom = IDC_MONITOR_TABS;
  header.code = TCN_SELCHANGE;
  SendMessageW(dialog, WM_NOTIFY, IDC_MONITOR_TABS, reinterpret_cast<LPARAM>(&header));
}

void SelectTab(HWND dialog, int index) {
  SendDlgItemMessageW(dialog, IDC_MONITOR_TABS, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  NotifyTabChange(dialog);
}

bool ModeControlsEnabled(HWND dialog) {
  return IsEnabled(dialog, IDC_DISPLAY_MODE) && IsEnabled(dialog, IDC_DISPLAY_MODE_LABEL) &&
         IsEnabled(dialog, IDC_DISPLAY_MODE_GROUP) && IsEnabled(dialog, IDC_DISPLAY_MODE_NOTE);
}
bool ModeControlsDisabled(HWND dialog) {
  return !IsEnabled(dialog, IDC_DISPLAY_MODE) && !IsEnabled(dialog, IDC_DISPLAY_MODE_LABEL) &&
         !IsEnabled(dialog, IDC_DISPLAY_MODE_GROUP) && !IsEnabled(dialog, IDC_DISPLAY_MODE_NOTE);
}

class DisplayDialog : public ::testing::Test {
 protected:
  void SetUp() override { DeleteSettingsKey(); }
  void TearDown() override {
    if (dialog) DestroyWindow(dialog);
  }
  HWND Open(int id) {
    dialog = CreateModelessDialog(id, DisplayDialogThunk);
    return dialog;
  }
  TestSaver saver;
  HWND dialog = nullptr;
};

TEST_F(DisplayDialog, OneAdapterShowsItsNameRenderingAndModes) {
  DS_SaverAdapter& adapter = saver.AddMonitorWithAdapter({});
  adapter.savedWidth = 800;
  adapter.savedHeight = 600;
  adapter.savedFormat = D3DFMT_X8R8G8B8;
  ASSERT_TRUE(Open(IDD_DISPLAY_ONE_ADAPTER));

  EXPECT_EQ(ControlText(dialog, IDC_ADAPTER_NAME), L"Test Adapter");
  EXPECT_EQ(ControlText(dialog, IDC_RENDERING_TEXT), kHardwareText);
  EXPECT_EQ(ComboItems(dialog, IDC_DISPLAY_MODE),
            (std::vector<std::wstring>{L"Automatic", L"640 by 480, 32 bit color", L"800 by 600, 32 bit color",
                                       L"1024 by 768, 16 bit color"}));
  EXPECT_EQ(ComboSelection(dialog, IDC_DISPLAY_MODE), 2);  // the saved mode
  EXPECT_TRUE(IsEnabled(dialog, IDC_DISABLE_HARDWARE));
  EXPECT_FALSE(IsChecked(dialog, IDC_DISABLE_HARDWARE));
  EXPECT_TRUE(ModeControlsEnabled(dialog));
}

TEST_F(DisplayDialog, AutomaticModeIsSelectedWithoutASavedMode) {
  saver.AddMonitorWithAdapter({});
  ASSERT_TRUE(Open(IDD_DISPLAY_ONE_ADAPTER));
  EXPECT_EQ(ComboSelection(dialog, IDC_DISPLAY_MODE), 0);
}

TEST_F(DisplayDialog, ChoosingModesAndHardwareChangesTheRecordAndOkKeepsIt) {
  TestSaver::AdapterSpec setup;
  setup.hasSW = setup.hasUsableSW = true;
  DS_SaverAdapter& adapter = saver.AddMonitorWithAdapter(setup);
  ASSERT_TRUE(Open(IDD_DISPLAY_ONE_ADAPTER));

  ChooseComboItem(dialog, IDC_DISPLAY_MODE, 3);
  EXPECT_EQ(adapter.savedWidth, 1024u);
  EXPECT_EQ(adapter.savedHeight, 768u);
  EXPECT_EQ(adapter.savedFormat, static_cast<UINT>(D3DFMT_R5G6B5));
  ChooseComboItem(dialog, IDC_DISPLAY_MODE, 0);
  EXPECT_EQ(adapter.savedWidth, 0u);
  EXPECT_EQ(adapter.savedHeight, 0u);
  EXPECT_EQ(adapter.savedFormat, 0u);
  ChooseComboItem(dialog, IDC_DISPLAY_MODE, 1);

  Click(dialog, IDC_DISABLE_HARDWARE);
  EXPECT_EQ(adapter.disableHardware, TRUE);
  EXPECT_TRUE(IsChecked(dialog, IDC_DISABLE_HARDWARE));
  EXPECT_EQ(ControlText(dialog, IDC_RENDERING_TEXT), kSoftwareText);

  Click(dialog, IDOK);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(adapter.savedWidth, 640u);
  EXPECT_EQ(adapter.disableHardware, TRUE);
}

TEST_F(DisplayDialog, CancelPutsTheRecordsBack) {
  DS_SaverAdapter& first = saver.AddMonitorWithAdapter({});
  DS_SaverAdapter& second = saver.AddMonitorWithAdapter({});
  first.savedWidth = 800;
  first.savedHeight = 600;
  first.savedFormat = D3DFMT_X8R8G8B8;
  ASSERT_TRUE(Open(IDD_DISPLAY_SEVERAL_ADAPTERS));

  ChooseComboItem(dialog, IDC_DISPLAY_MODE, 0);
  Click(dialog, IDC_DISABLE_HARDWARE);
  SelectTab(dialog, 1);
  Click(dialog, IDC_LEAVE_BLACK);
  Click(dialog, IDC_ALL_SCREENS_SAME);
  ASSERT_EQ(first.savedWidth, 0u);
  ASSERT_EQ(second.leaveBlack, TRUE);
  ASSERT_EQ(saver.m_AllScreensSame, 1u);

  Click(dialog, IDCANCEL);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(first.savedWidth, 800u);
  EXPECT_EQ(first.savedFormat, static_cast<UINT>(D3DFMT_X8R8G8B8));
  EXPECT_EQ(first.disableHardware, FALSE);
  EXPECT_EQ(second.leaveBlack, FALSE);
  EXPECT_EQ(saver.m_AllScreensSame, 0u);
}

TEST_F(DisplayDialog, SeveralAdaptersHaveOneTabPerMonitorAndTheSelectedTabIsEdited) {
  TestSaver::AdapterSpec a;
  a.name = L"Adapter A";
  TestSaver::AdapterSpec b;
  b.name = L"Adapter B";
  b.hasHAL = b.hasUsableHAL = false;
  b.hasSW = b.hasUsableSW = true;
  b.modes = {{1280, 1024, D3DFMT_X8R8G8B8}};
  DS_SaverAdapter& first = saver.AddMonitorWithAdapter(a);
  DS_SaverAdapter& second = saver.AddMonitorWithAdapter(b);
  saver.m_AllScreensSame = 1;
  ASSERT_TRUE(Open(IDD_DISPLAY_SEVERAL_ADAPTERS));

  ASSERT_EQ(TabCount(dialog), 2);
  EXPECT_EQ(TabText(dialog, 0), L"Monitor 1");
  EXPECT_EQ(TabText(dialog, 1), L"Monitor 2");
  EXPECT_TRUE(IsChecked(dialog, IDC_ALL_SCREENS_SAME));
  EXPECT_EQ(ControlText(dialog, IDC_ADAPTER_NAME), L"Adapter A");

  SelectTab(dialog, 1);
  EXPECT_EQ(ControlText(dialog, IDC_ADAPTER_NAME), L"Adapter B");
  EXPECT_EQ(ControlText(dialog, IDC_RENDERING_TEXT), kSoftwareText);
  EXPECT_FALSE(IsEnabled(dialog, IDC_DISABLE_HARDWARE));  // no hardware device to turn off
  EXPECT_EQ(ComboItems(dialog, IDC_DISPLAY_MODE),
            (std::vector<std::wstring>{L"Automatic", L"1280 by 1024, 32 bit color"}));
  EXPECT_TRUE(IsChecked(dialog, IDC_SHOW_SAVER));

  ChooseComboItem(dialog, IDC_DISPLAY_MODE, 1);
  EXPECT_EQ(second.savedWidth, 1280u);
  EXPECT_EQ(first.savedWidth, 0u);

  Click(dialog, IDC_LEAVE_BLACK);
  EXPECT_EQ(second.leaveBlack, TRUE);
  EXPECT_EQ(first.leaveBlack, FALSE);
  EXPECT_TRUE(ModeControlsDisabled(dialog));
  Click(dialog, IDC_SHOW_SAVER);
  EXPECT_EQ(second.leaveBlack, FALSE);
  EXPECT_TRUE(ModeControlsEnabled(dialog));

  Click(dialog, IDC_ALL_SCREENS_SAME);
  EXPECT_EQ(saver.m_AllScreensSame, 0u);
}

TEST_F(DisplayDialog, MonitorWithoutAdapterCannotBeUsed) {
  saver.AddMonitorWithAdapter({});
  saver.AddMonitorWithAdapter({});
  saver.AddMonitorWithoutAdapter(L"Unclaimed");
  ASSERT_TRUE(Open(IDD_DISPLAY_SEVERAL_ADAPTERS));
  SelectTab(dialog, 2);

  EXPECT_EQ(ControlText(dialog, IDC_ADAPTER_NAME), L"Unclaimed");
  EXPECT_EQ(ControlText(dialog, IDC_RENDERING_TEXT), kCannotText);
  EXPECT_TRUE(ComboItems(dialog, IDC_DISPLAY_MODE).empty());
  EXPECT_TRUE(IsChecked(dialog, IDC_LEAVE_BLACK));
  EXPECT_FALSE(IsEnabled(dialog, IDC_LEAVE_BLACK));
  EXPECT_FALSE(IsEnabled(dialog, IDC_SHOW_SAVER));
  EXPECT_FALSE(IsEnabled(dialog, IDC_MONITOR_USAGE_GROUP));
  EXPECT_FALSE(IsEnabled(dialog, IDC_DISABLE_HARDWARE));
  EXPECT_TRUE(ModeControlsDisabled(dialog));
}

// A focused button tab other than the selected one must not make the page describe another
// monitor than the one every command edits: its mode indexes would reach the wrong adapter.
TEST_F(DisplayDialog, PageFollowsTheSelectionNotTheFocusedTab) {
  TestSaver::AdapterSpec a;
  a.name = L"Adapter A";
  a.modes = {{640, 480, D3DFMT_X8R8G8B8}, {800, 600, D3DFMT_X8R8G8B8}, {1024, 768, D3DFMT_X8R8G8B8},
             {1280, 1024, D3DFMT_X8R8G8B8}};
  TestSaver::AdapterSpec b;
  b.name = L"Adapter B";
  b.modes = {{720, 576, D3DFMT_X8R8G8B8}};
  DS_SaverAdapter& first = saver.AddMonitorWithAdapter(a);
  DS_SaverAdapter& second = saver.AddMonitorWithAdapter(b);
  ASSERT_TRUE(Open(IDD_DISPLAY_SEVERAL_ADAPTERS));

  HWND tabs = GetDlgItem(dialog, IDC_MONITOR_TABS);
  SetWindowLongPtrW(tabs, GWL_STYLE, GetWindowLongPtrW(tabs, GWL_STYLE) | TCS_BUTTONS);
  SendMessageW(tabs, TCM_SETCURFOCUS, 1, 0);
  ASSERT_EQ(SendMessageW(tabs, TCM_GETCURFOCUS, 0, 0), 1);
  ASSERT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
  NotifyTabChange(dialog);

  EXPECT_EQ(ControlText(dialog, IDC_ADAPTER_NAME), L"Adapter A");
  ASSERT_EQ(ComboItems(dialog, IDC_DISPLAY_MODE).size(), 5u);
  ChooseComboItem(dialog, IDC_DISPLAY_MODE, 4);
  EXPECT_EQ(first.savedWidth, 1280u);
  EXPECT_EQ(first.savedHeight, 1024u);
  EXPECT_EQ(second.savedWidth, 0u);

  // An entry whose index is not one of the adapter's modes changes nothing.
  SendDlgItemMessageW(dialog, IDC_DISPLAY_MODE, CB_SETITEMDATA, 1, 999);
  ChooseComboItem(dialog, IDC_DISPLAY_MODE, 1);
  EXPECT_EQ(first.savedWidth, 1280u);
  EXPECT_EQ(first.savedHeight, 1024u);
}

TEST_F(DisplayDialog, HelpDescribesTheSelectedMonitorsAdapter) {
  TestSaver::AdapterSpec setup;
  setup.name = L"Helpful Adapter";
  setup.hasSW = setup.hasUsableSW = true;
  DS_SaverAdapter& adapter = saver.AddMonitorWithAdapter(setup);
  adapter.disableHardware = TRUE;
  ASSERT_TRUE(Open(IDD_DISPLAY_ONE_ADAPTER));

  std::vector<std::wstring> shownTexts;
  DialogScript script({[&] {
    HWND box = FindThreadDialog(L"Helpful Adapter");
    if (!box) return false;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      WCHAR text[600] = {};
      GetWindowTextW(child, text, 600);
      shownTexts.push_back(text);
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return true;
  }});
  Click(dialog, IDC_DISPLAY_HELP);  // returns when the message box has closed

  EXPECT_TRUE(script.Finished());
  EXPECT_FALSE(script.TimedOut());
  const std::wstring expected =
      L"The video adapter supports hardware 3D rendering, but it has been disabled.  A software renderer will be used "
      L"instead.  This screen saver can be displayed on this monitor.";
  EXPECT_NE(std::find(shownTexts.begin(), shownTexts.end(), expected), shownTexts.end());
}

TEST_F(DisplayDialog, HelpTextFollowsWhatTheAdapterOffers) {
  struct Case {
    bool hal, disabled, usableHal, sw, usableSw;
    UINT expected;
  };
  const Case cases[] = {
      {true, false, true, false, false, 2200},  {true, false, true, true, true, 2200},
      {true, false, false, true, true, 2201},   {true, false, false, true, false, 2202},
      {true, false, false, false, false, 2203}, {true, true, true, true, true, 2207},
      {true, true, false, true, false, 2208},   {true, true, true, false, false, 2209},
      {false, false, false, true, true, 2204},  {false, true, false, true, false, 2205},
      {false, false, false, false, false, 2206},
  };
  DS_SaverMonitor monitor = {};
  monitor.monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  for (const Case& c : cases) {
    DS_SaverAdapter adapter = {};
    adapter.hasHAL = c.hal;
    adapter.disableHardware = c.disabled;
    adapter.hasUsableHAL = c.usableHal;
    adapter.hasSW = c.sw;
    adapter.hasUsableSW = c.usableSw;
    EXPECT_EQ(DisplayHelpStringId(monitor, &adapter), c.expected) << "expected " << c.expected;
  }
  DS_SaverAdapter capable = {};
  capable.hasHAL = capable.hasUsableHAL = TRUE;
  EXPECT_EQ(DisplayHelpStringId(monitor, nullptr), 2206u);
  DS_SaverMonitor detached = {};
  EXPECT_EQ(DisplayHelpStringId(detached, &capable), 2206u);
}

TEST_F(DisplayDialog, ModalDialogDependsOnTheAdapterCount) {
  for (int adapters : {1, 2}) {
    SCOPED_TRACE(adapters);
    TestSaver local;
    for (int i = 0; i < adapters; ++i) local.AddMonitorWithAdapter({});
    bool hasTabs = false;
    DialogScript script({[&] {
      HWND shown = FindThreadDialog(L"Display Settings");
      if (!shown) return false;
      hasTabs = GetDlgItem(shown, IDC_MONITOR_TABS) != nullptr;
      ChooseComboItem(shown, IDC_DISPLAY_MODE, 2);
      PostClick(shown, IDOK);
      return true;
    }});
    EXPECT_EQ(local.ShowDisplaySettingsDialog(nullptr), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(hasTabs, adapters > 1);
    EXPECT_EQ(local.m_Adapters[0]->savedWidth, 800u);
  }
}

}  // namespace
