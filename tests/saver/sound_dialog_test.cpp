// The sound settings dialog 2214. Its own values persist for the process, so the fresh-profile
// case comes first in this suite.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "saver/app_settings.h"
#include "saver/config_dialog.h"
#include "saver/dialog_ids.h"
#include "tests/saver/settings_test_support.h"

namespace {

class SoundDialog : public ::testing::Test {
 protected:
  void SetUp() override { DeleteSettingsKey(); }
  void TearDown() override {
    if (dialog) DestroyWindow(dialog);
  }
  HWND Open() {
    dialog = CreateModelessDialog(IDD_SOUND_SETTINGS, DialogThunk);
    return dialog;
  }
  LRESULT TrackbarPosition() const { return SendDlgItemMessageW(dialog, IDC_VOLUME, TBM_GETPOS, 0, 0); }
  TestSaver saver;
  HWND dialog = nullptr;
};

TEST_F(SoundDialog, FreshProfileOpensLoudAndUnmutedAndBottomStoresSilence) {
  ASSERT_TRUE(Open());
  EXPECT_TRUE(KeyExists(SettingsKey()));
  EXPECT_EQ(TrackbarPosition(), 0);  // the top of the vertical trackbar: full volume
  EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_VOLUME, TBM_GETRANGEMIN, 0, 0), 0);
  EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_VOLUME, TBM_GETRANGEMAX, 0, 0), 100);
  EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_VOLUME, TBM_GETPAGESIZE, 0, 0), 10);
  EXPECT_FALSE(IsChecked(dialog, IDC_MUTE));

  SendDlgItemMessageW(dialog, IDC_VOLUME, TBM_SETPOS, TRUE, 100);
  Click(dialog, IDOK);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(QueryDword(SettingsKey(), kSoundVolumeValue), std::optional<DWORD>(0));
  EXPECT_EQ(QueryDword(SettingsKey(), kSoundBalanceValue), std::optional<DWORD>(0));
  EXPECT_EQ(QueryDword(SettingsKey(), kMuteSoundValue), std::optional<DWORD>(0));
}

TEST_F(SoundDialog, StoredValuesAreShownAndOkWritesTheChanges) {
  SetDword(SettingsKey(), kSoundVolumeValue, 30);
  SetDword(SettingsKey(), kSoundBalanceValue, 80);
  SetDword(SettingsKey(), kMuteSoundValue, 1);
  ASSERT_TRUE(Open());
  EXPECT_EQ(TrackbarPosition(), 70);
  EXPECT_TRUE(IsChecked(dialog, IDC_MUTE));

  SendDlgItemMessageW(dialog, IDC_VOLUME, TBM_SETPOS, TRUE, 10);
  Click(dialog, IDC_MUTE);
  Click(dialog, IDOK);
  EXPECT_EQ(QueryDword(SettingsKey(), kSoundVolumeValue), std::optional<DWORD>(90));
  EXPECT_EQ(QueryDword(SettingsKey(), kMuteSoundValue), std::optional<DWORD>(0));
  // The dialog has no balance control, so the balance is stored as 0.
  EXPECT_EQ(QueryDword(SettingsKey(), kSoundBalanceValue), std::optional<DWORD>(0));
}

TEST_F(SoundDialog, CancelWritesNothing) {
  SetDword(SettingsKey(), kSoundVolumeValue, 60);
  ASSERT_TRUE(Open());
  SendDlgItemMessageW(dialog, IDC_VOLUME, TBM_SETPOS, TRUE, 100);
  Click(dialog, IDC_MUTE);
  Click(dialog, IDCANCEL);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(QueryDword(SettingsKey(), kSoundVolumeValue), std::optional<DWORD>(60));
  EXPECT_FALSE(QueryDword(SettingsKey(), kMuteSoundValue));
  EXPECT_FALSE(QueryDword(SettingsKey(), kSoundBalanceValue));
}

}  // namespace
