// The configuration dialog 106: picture position, the per-monitor settings it writes and drops,
// and the dialogs it opens.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "saver/app_settings.h"
#include "saver/config_dialog.h"
#include "saver/dialog_ids.h"
#include "tests/saver/settings_test_support.h"

namespace {

class ConfigDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteSettingsKey();
    adapter = &saver.AddMonitorWithAdapter({});
  }
  void TearDown() override {
    if (dialog) DestroyWindow(dialog);
  }
  HWND Open() {
    dialog = CreateModelessDialog(IDD_CONFIGURATION, ConfigDialogThunk);
    return dialog;
  }
  TestSaver saver;
  DS_SaverAdapter* adapter = nullptr;
  HWND dialog = nullptr;
};

TEST_F(ConfigDialog, FreshProfileCreatesTheSettingsAndShowsFill) {
  ASSERT_FALSE(KeyExists(SettingsKey()));
  ASSERT_TRUE(Open());

  WCHAR title[64] = {};
  GetWindowTextW(dialog, title, 64);
  EXPECT_STREQ(title, L"Vorniquel Test");
  EXPECT_EQ(ComboItems(dialog, IDC_PICTURE_POSITION), (std::vector<std::wstring>{L"Stretch", L"Fit", L"Fill"}));
  EXPECT_EQ(ComboSelection(dialog, IDC_PICTURE_POSITION), 2);
  // Opening writes the current settings back, which creates them on first use.
  EXPECT_EQ(QueryDword(SettingsKey(), L"AllScreensSame"), std::optional<DWORD>(0));
  for (const WCHAR* name : {L"Leave Black", L"Disable Hardware", L"Width", L"Height", L"Format"}) {
    EXPECT_EQ(QueryDword(ScreenKey(1), name), std::optional<DWORD>(0)) << name;
  }
  EXPECT_TRUE(QueryBinary(ScreenKey(1), L"Adapter ID"));
  EXPECT_FALSE(QueryDword(SettingsKey(), kPicturePositionValue));
}

TEST_F(ConfigDialog, ChoosingFitAndOkStoresIt) {
  ASSERT_TRUE(Open());
  ChooseComboItem(dialog, IDC_PICTURE_POSITION, 1);
  Click(dialog, IDOK);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(QueryDword(SettingsKey(), kPicturePositionValue), std::optional<DWORD>(1));
  EXPECT_EQ(LoadPicturePosition(), 1u);
}

TEST_F(ConfigDialog, StoredPositionOutsideTheChoicesShowsFillAndOkRepairsIt) {
  SetDword(SettingsKey(), kPicturePositionValue, 9);
  ASSERT_TRUE(Open());
  EXPECT_EQ(ComboSelection(dialog, IDC_PICTURE_POSITION), 2);
  Click(dialog, IDOK);
  EXPECT_EQ(QueryDword(SettingsKey(), kPicturePositionValue), std::optional<DWORD>(2));
}

TEST_F(ConfigDialog, OkWritesThePerMonitorChanges) {
  ASSERT_TRUE(Open());
  adapter->savedWidth = 800;
  adapter->savedHeight = 600;
  adapter->savedFormat = D3DFMT_X8R8G8B8;
  saver.m_AllScreensSame = 1;
  Click(dialog, IDOK);
  EXPECT_EQ(QueryDword(ScreenKey(1), L"Width"), std::optional<DWORD>(800));
  EXPECT_EQ(QueryDword(ScreenKey(1), L"Height"), std::optional<DWORD>(600));
  EXPECT_EQ(QueryDword(SettingsKey(), L"AllScreensSame"), std::optional<DWORD>(1));
}

TEST_F(ConfigDialog, CancelReloadsThePerMonitorSettingsAndStoresNothing) {
  SetDword(ScreenKey(1), L"Width", 640);
  SetDword(ScreenKey(1), L"Height", 480);
  SetDword(ScreenKey(1), L"Format", D3DFMT_X8R8G8B8);
  LoadSavedSettings(saver);
  ASSERT_TRUE(Open());
  ChooseComboItem(dialog, IDC_PICTURE_POSITION, 0);
  adapter->savedWidth = 1024;
  adapter->savedHeight = 768;
  adapter->leaveBlack = TRUE;

  Click(dialog, IDCANCEL);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(adapter->savedWidth, 640u);
  EXPECT_EQ(adapter->savedHeight, 480u);
  EXPECT_EQ(adapter->leaveBlack, FALSE);
  EXPECT_EQ(QueryDword(ScreenKey(1), L"Width"), std::optional<DWORD>(640));
  EXPECT_FALSE(QueryDword(SettingsKey(), kPicturePositionValue));
}

TEST_F(ConfigDialog, DisplaySettingsButtonEditsTheMonitorAndOkStoresIt) {
  ASSERT_TRUE(Open());
  DialogScript script({[&] {
    HWND display = FindThreadDialog(L"Display Settings");
    if (!display) return false;
    EXPECT_EQ(GetWindow(display, GW_OWNER), dialog);
    ChooseComboItem(display, IDC_DISPLAY_MODE, 2);
    PostClick(display, IDOK);
    return true;
  }});
  Click(dialog, IDC_DISPLAY_SETTINGS);  // returns once the display settings dialog has closed
  ASSERT_TRUE(script.Finished());
  EXPECT_FALSE(script.TimedOut());
  EXPECT_EQ(adapter->savedWidth, 800u);
  EXPECT_EQ(QueryDword(ScreenKey(1), L"Width"), std::optional<DWORD>(0));  // only the OK below stores it

  Click(dialog, IDOK);
  EXPECT_EQ(QueryDword(ScreenKey(1), L"Width"), std::optional<DWORD>(800));
  EXPECT_EQ(QueryDword(ScreenKey(1), L"Height"), std::optional<DWORD>(600));
  EXPECT_EQ(QueryDword(ScreenKey(1), L"Format"), std::optional<DWORD>(D3DFMT_X8R8G8B8));
}

TEST_F(ConfigDialog, DisplaySettingsThenCancelDropsTheChange) {
  ASSERT_TRUE(Open());
  DialogScript script({[&] {
    HWND display = FindThreadDialog(L"Display Settings");
    if (!display) return false;
    ChooseComboItem(display, IDC_DISPLAY_MODE, 3);
    PostClick(display, IDOK);
    return true;
  }});
  Click(dialog, IDC_DISPLAY_SETTINGS);
  ASSERT_TRUE(script.Finished());
  ASSERT_EQ(adapter->savedWidth, 1024u);
  Click(dialog, IDCANCEL);
  EXPECT_EQ(adapter->savedWidth, 0u);
  EXPECT_EQ(QueryDword(ScreenKey(1), L"Width"), std::optional<DWORD>(0));
}

TEST_F(ConfigDialog, SoundSettingsButtonOpensTheSoundDialog) {
  ASSERT_TRUE(Open());
  DialogScript script({[&] {
    HWND sound = FindThreadDialog(L"Sound Settings");
    if (!sound) return false;
    EXPECT_EQ(GetWindow(sound, GW_OWNER), dialog);
    SendDlgItemMessageW(sound, IDC_VOLUME, TBM_SETPOS, TRUE, 75);
    Click(sound, IDC_MUTE);
    PostClick(sound, IDOK);
    return true;
  }});
  Click(dialog, IDC_SOUND_SETTINGS);
  ASSERT_TRUE(script.Finished());
  EXPECT_FALSE(script.TimedOut());
  EXPECT_EQ(QueryDword(SettingsKey(), kSoundVolumeValue), std::optional<DWORD>(25));
  EXPECT_EQ(QueryDword(SettingsKey(), kMuteSoundValue), std::optional<DWORD>(1));
  EXPECT_EQ(QueryDword(SettingsKey(), kSoundBalanceValue), std::optional<DWORD>(0));
}

TEST_F(ConfigDialog, ShowConfigurationRunsTheModalDialog) {
  DialogScript script({[&] {
    HWND shown = FindThreadDialog(L"Vorniquel Test");
    if (!shown) return false;
    EXPECT_EQ(GetWindow(shown, GW_OWNER), nullptr);  // no parent on the command line
    EXPECT_EQ(ComboSelection(shown, IDC_PICTURE_POSITION), 2);
    ChooseComboItem(shown, IDC_PICTURE_POSITION, 1);
    PostClick(shown, IDOK);
    return true;
  }});
  saver.ShowConfiguration();
  EXPECT_TRUE(script.Finished());
  EXPECT_FALSE(script.TimedOut());
  EXPECT_EQ(QueryDword(SettingsKey(), kPicturePositionValue), std::optional<DWORD>(1));
}

}  // namespace
