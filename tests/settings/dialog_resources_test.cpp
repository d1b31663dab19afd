// The dialogs as built into the program: every control the code reads or writes, with the class,
// style and text it relies on.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "saver/dialog_ids.h"
#include "tests/settings/settings_test_support.h"

namespace {

INT_PTR CALLBACK InertDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

struct ControlSpec {
  int id;
  const WCHAR* className;
  LONG_PTR styleMask;   // bits that must be set within the low style word
  LONG_PTR styleValue;
  const WCHAR* text;    // null: not checked
};

constexpr LONG_PTR kButtonType = BS_TYPEMASK;
constexpr LONG_PTR kComboType = 0x3;  // CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST

const ControlSpec kConfiguration[] = {
    {IDOK, L"Button", 0, 0, L"OK"},
    {IDCANCEL, L"Button", 0, 0, L"Cancel"},
    {IDC_DISPLAY_SETTINGS, L"Button", 0, 0, L"&Display Settings..."},
    {IDC_SOUND_SETTINGS, L"Button", 0, 0, L"&Sound Settings..."},
    {IDC_WEBSITE, L"Button", 0, 0, L"Website"},
    {IDC_PICTURE_POSITION, L"ComboBox", kComboType, CBS_DROPDOWNLIST, nullptr},
};

const ControlSpec kSound[] = {
    {IDOK, L"Button", 0, 0, L"OK"},
    {IDCANCEL, L"Button", 0, 0, L"Cancel"},
    {IDC_VOLUME, L"msctls_trackbar32", TBS_VERT, TBS_VERT, nullptr},
    {IDC_MUTE, L"Button", kButtonType, BS_AUTOCHECKBOX, L"Mute"},
};

const ControlSpec kDisplayShared[] = {
    {IDOK, L"Button", 0, 0, L"OK"},
    {IDCANCEL, L"Button", 0, 0, L"Cancel"},
    {IDC_ADAPTER_NAME, L"Static", 0, 0, nullptr},
    {IDC_RENDERING_TEXT, L"Static", 0, 0, nullptr},
    {IDC_DISPLAY_HELP, L"Button", 0, 0, L"&Help"},
    {IDC_DISPLAY_MODE_LABEL, L"Static", 0, 0, L"Display &mode for this video adapter:"},
    {IDC_DISPLAY_MODE, L"ComboBox", kComboType, CBS_DROPDOWNLIST, nullptr},
    {IDC_DISPLAY_MODE_NOTE, L"Static", 0, 0,
     L"Note: The Automatic display mode finds a mode that works well with your current screen saver settings and "
     L"video adapter."},
    {IDC_AUTOMATIC_TEXT, L"Static", 0, 0, L"Automatic"},
    {IDC_MODE_FORMAT, L"Static", 0, 0, L"%d by %d, %d bit color"},
};

const ControlSpec kDisplayOne[] = {
    {IDC_DISABLE_HARDWARE, L"Button", kButtonType, BS_AUTOCHECKBOX, L"&Disable hardware 3D rendering"},
    {IDC_DISPLAY_MODE_GROUP, L"Button", kButtonType, BS_GROUPBOX, L"Display Mode"},
};

const ControlSpec kDisplaySeveral[] = {
    {IDC_DISABLE_HARDWARE, L"Button", kButtonType, BS_AUTOCHECKBOX, L"&Disable hardware 3D rendering on this monitor"},
    {IDC_DISPLAY_MODE_GROUP, L"Button", kButtonType, BS_GROUPBOX, L"Display mode"},
    // Button tabs could keep the focus on a monitor other than the selected one.
    {IDC_MONITOR_TABS, L"SysTabControl32", TCS_BUTTONS, 0, nullptr},
    {IDC_MONITOR_TAB_FORMAT, L"Static", 0, 0, L"Monitor %d"},
    {IDC_MONITOR_USAGE_GROUP, L"Button", kButtonType, BS_GROUPBOX, L"Monitor usage"},
    {IDC_SHOW_SAVER, L"Button", kButtonType, BS_AUTORADIOBUTTON, L"Display &screen saver on this monitor"},
    {IDC_LEAVE_BLACK, L"Button", kButtonType, BS_AUTORADIOBUTTON, L"Display &nothing on this monitor"},
    {IDC_DUAL_MONITOR_GROUP, L"Button", kButtonType, BS_GROUPBOX, L"Dual Monitor Settings"},
    {IDC_ALL_SCREENS_SAME, L"Button", kButtonType, BS_AUTOCHECKBOX, L"Show &images in reverse order"},
};

class DialogResources : public ::testing::Test {
 protected:
  HWND Create(int id) {
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr, InertDialog, 0);
    if (dialog) created.push_back(dialog);
    return dialog;
  }
  void TearDown() override {
    for (HWND dialog : created) DestroyWindow(dialog);
  }
  TestSaver saver;  // registers the common control classes
  std::vector<HWND> created;
};

template <size_t N>
void ExpectControls(HWND dialog, const ControlSpec (&expectedControls)[N]) {
  for (const ControlSpec& expected : expectedControls) {
    SCOPED_TRACE(expected.id);
    HWND control = GetDlgItem(dialog, expected.id);
    ASSERT_TRUE(control);
    EXPECT_EQ(ClassOf(control), expected.className);
    EXPECT_EQ(GetWindowLongPtrW(control, GWL_STYLE) & expected.styleMask, expected.styleValue);
    if (expected.text) {
      EXPECT_EQ(ControlText(dialog, expected.id), expected.text);
    }
  }
}

TEST_F(DialogResources, ConfigurationDialog) {
  HWND dialog = Create(IDD_CONFIGURATION);
  ASSERT_TRUE(dialog);
  ExpectControls(dialog, kConfiguration);
  // Tall enough to list all three positions.
  RECT dropped = {};
  SendDlgItemMessageW(dialog, IDC_PICTURE_POSITION, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  const LRESULT itemHeight = SendDlgItemMessageW(dialog, IDC_PICTURE_POSITION, CB_GETITEMHEIGHT, 0, 0);
  const LRESULT fieldHeight = SendDlgItemMessageW(dialog, IDC_PICTURE_POSITION, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  EXPECT_GE(dropped.bottom - dropped.top, fieldHeight + 3 * itemHeight);
}

TEST_F(DialogResources, SoundDialogHasNoBalanceControl) {
  HWND dialog = Create(IDD_SOUND_SETTINGS);
  ASSERT_TRUE(dialog);
  ExpectControls(dialog, kSound);
  EXPECT_EQ(GetDlgItem(dialog, IDC_BALANCE), nullptr);
  WCHAR title[64] = {};
  GetWindowTextW(dialog, title, 64);
  EXPECT_STREQ(title, L"Sound Settings");
}

TEST_F(DialogResources, DisplayDialogs) {
  HWND one = Create(IDD_DISPLAY_ONE_ADAPTER);
  HWND several = Create(IDD_DISPLAY_SEVERAL_ADAPTERS);
  ASSERT_TRUE(one);
  ASSERT_TRUE(several);
  for (HWND dialog : {one, several}) {
    ExpectControls(dialog, kDisplayShared);
    WCHAR title[64] = {};
    GetWindowTextW(dialog, title, 64);
    EXPECT_STREQ(title, L"Display Settings");
    // The format texts are read by the code, never shown.
    EXPECT_FALSE(GetWindowLongPtrW(GetDlgItem(dialog, IDC_AUTOMATIC_TEXT), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongPtrW(GetDlgItem(dialog, IDC_MODE_FORMAT), GWL_STYLE) & WS_VISIBLE);
  }
  ExpectControls(one, kDisplayOne);
  ExpectControls(several, kDisplaySeveral);
  EXPECT_FALSE(GetWindowLongPtrW(GetDlgItem(several, IDC_MONITOR_TAB_FORMAT), GWL_STYLE) & WS_VISIBLE);
  for (int absent : {IDC_MONITOR_TABS, IDC_ALL_SCREENS_SAME, IDC_SHOW_SAVER, IDC_LEAVE_BLACK}) {
    EXPECT_EQ(GetDlgItem(one, absent), nullptr) << absent;
  }
}

TEST_F(DialogResources, DisplayTextsAreInTheStringTable) {
  struct Text {
    UINT id;
    const WCHAR* text;
  };
  const Text texts[] = {
      {2200, L"This video adapter supports hardware 3D rendering.  This screen saver can be displayed on this monitor."},
      {2206, L"This video adapter does not support hardware 3D rendering.  No software renderer is available.  This "
             L"screen saver cannot be displayed on this monitor."},
      {2207, L"The video adapter supports hardware 3D rendering, but it has been disabled.  A software renderer will be "
             L"used instead.  This screen saver can be displayed on this monitor."},
      {2210, L"The screen saver can use hardware 3D rendering on this monitor."},
      {2211, L"The screen saver can use software 3D rendering on this monitor."},
      {2212, L"The screen saver cannot be displayed on this monitor."},
  };
  for (const Text& t : texts) {
    WCHAR loaded[500] = {};
    EXPECT_GT(LoadStringW(GetModuleHandleW(nullptr), t.id, loaded, 500), 0) << t.id;
    EXPECT_STREQ(loaded, t.text) << t.id;
  }
  for (UINT id = 2200; id <= 2212; ++id) {
    WCHAR loaded[500] = {};
    EXPECT_GT(LoadStringW(GetModuleHandleW(nullptr), id, loaded, 500), 0) << id;
  }
}

}  // namespace
