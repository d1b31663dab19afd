// The dialogs as built into the program: every control the code reads or writes, with the class,
// style and text it relies on.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "saver/dialog_ids.h"
#include "tests/saver/settings_test_support.h"

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

// Every text a static control shows: its own, or those the code puts into it.
std::vector<std::wstring> ShownTexts(HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id == IDC_RENDERING_TEXT) {
    std::vector<std::wstring> texts;
    for (UINT string : {IDS_RENDERING_HARDWARE, IDS_RENDERING_SOFTWARE, IDS_RENDERING_NONE}) {
      WCHAR loaded[500] = {};
      LoadStringW(GetModuleHandleW(nullptr), string, loaded, 500);
      texts.push_back(loaded);
    }
    return texts;
  }
  WCHAR text[500] = {};
  GetWindowTextW(control, text, 500);
  return text[0] ? std::vector<std::wstring>{text} : std::vector<std::wstring>{};
}

// The extent of `text` as the static control lays it out: broken into lines at its width, in
// its font, with '&' marking a mnemonic unless the control says otherwise.
SIZE LaidOutExtent(HWND control, const std::wstring& text, LONG width) {
  HDC dc = GetDC(control);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT extent = {0, 0, width, 0};
  UINT flags = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS;
  if (GetWindowLongPtrW(control, GWL_STYLE) & SS_NOPREFIX) flags |= DT_NOPREFIX;
  DrawTextW(dc, text.c_str(), -1, &extent, flags);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return SIZE{extent.right - extent.left, extent.bottom - extent.top};
}

BOOL CALLBACK CollectShownStatic(HWND child, LPARAM found) {
  if (ClassOf(child) == L"Static" && (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE))
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
  return TRUE;
}

TEST_F(DialogResources, EveryStaticTextFitsItsControlAtTheDialogFont) {
  // A text that does not fit is cut: a line broken into a one-line control shows its first half
  // only. Every shown static text is laid out as the control lays it out and must fit its
  // rectangle, width and height.
  size_t checked = 0;
  for (int id : {IDD_CONFIGURATION, IDD_SOUND_SETTINGS, IDD_DISPLAY_ONE_ADAPTER, IDD_DISPLAY_SEVERAL_ADAPTERS}) {
    SCOPED_TRACE(id);
    HWND dialog = Create(id);
    ASSERT_TRUE(dialog);
    std::vector<HWND> statics;
    EnumChildWindows(dialog, CollectShownStatic, reinterpret_cast<LPARAM>(&statics));
    for (HWND control : statics) {
      RECT client = {};
      GetClientRect(control, &client);
      for (const std::wstring& text : ShownTexts(control)) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        const SIZE extent = LaidOutExtent(control, text, client.right);
        EXPECT_LE(extent.cx, client.right) << "wider than its control";
        EXPECT_LE(extent.cy, client.bottom) << "laid out in " << extent.cy << " pixels in a control of " << client.bottom;
        ++checked;
      }
    }
  }
  EXPECT_GE(checked, 8u) << "the dialogs' texts were not found";
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
