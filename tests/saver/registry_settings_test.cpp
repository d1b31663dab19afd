// The program-wide registry values: defaults, the quoted value names and the picture position.
#include <gtest/gtest.h>

#include <cwchar>

#include "saver/app_settings.h"
#include "tests/saver/settings_test_support.h"

namespace {

class RegistrySettings : public ::testing::Test {
 protected:
  void SetUp() override { DeleteSettingsKey(); }
  TestSaver saver;
};

TEST_F(RegistrySettings, FreshProfileReadKeepsTheDefaultAndCreatesTheKey) {
  ASSERT_FALSE(KeyExists(SettingsKey()));
  DWORD volume = kDefaultSoundVolume;
  ReadSettingDword(volume, kSoundVolumeValue);
  EXPECT_EQ(volume, 100u);
  EXPECT_TRUE(KeyExists(SettingsKey()));

  EXPECT_EQ(LoadPicturePosition(), kPicturePositionFill);
  // Reading stores nothing.
  EXPECT_FALSE(QueryDword(SettingsKey(), kPicturePositionValue));
  EXPECT_FALSE(QueryDword(SettingsKey(), kSoundVolumeValue));
}

TEST_F(RegistrySettings, WritesUseTheQuotedValueNames) {
  EXPECT_EQ(std::wcslen(kSoundVolumeValue), 13u);
  WriteSoundVolume(40);
  WriteSoundBalance(60);
  WriteMuteSound(1);
  WritePicturePosition(0);
  struct Case {
    const WCHAR* quoted;
    const WCHAR* bare;
    DWORD expected;
  };
  for (const Case& c : {Case{L"\"SoundVolume\"", L"SoundVolume", 40}, Case{L"\"SoundBalance\"", L"SoundBalance", 60},
                        Case{L"\"MuteSound\"", L"MuteSound", 1}, Case{L"\"PicPos\"", L"PicPos", 0}}) {
    EXPECT_EQ(QueryDword(SettingsKey(), c.quoted), std::optional<DWORD>(c.expected)) << c.quoted;
    EXPECT_FALSE(QueryDword(SettingsKey(), c.bare)) << c.bare;
    DWORD read = 12345;
    ReadSettingDword(read, c.quoted);
    EXPECT_EQ(read, c.expected) << c.quoted;
  }
}

TEST_F(RegistrySettings, ReadKeepsTheVariableWhenTheValueDoesNotFit) {
  const unsigned long long wide = 0x1122334455667788ull;
  RegSetKeyValueW(HKEY_CURRENT_USER, SettingsKey().c_str(), kSoundVolumeValue, REG_QWORD, &wide, sizeof(wide));
  DWORD volume = 77;
  ReadSettingDword(volume, kSoundVolumeValue);
  EXPECT_EQ(volume, 77u);
}

TEST_F(RegistrySettings, PicturePositionIsReadOncePerProcess) {
  SetDword(SettingsKey(), kPicturePositionValue, kPicturePositionStretch);
  EXPECT_EQ(LoadPicturePosition(), kPicturePositionStretch);
  SetDword(SettingsKey(), kPicturePositionValue, kPicturePositionFit);
  EXPECT_EQ(LoadPicturePosition(), kPicturePositionStretch);
  EXPECT_TRUE(g_PicturePositionRead);
}

TEST_F(RegistrySettings, StoredPicturePositionThatIsNoChoiceGivesFill) {
  for (DWORD stored : {3u, 7u, 0x80000000u, 0xFFFFFFFFu}) {
    g_PicturePositionRead = false;
    SetDword(SettingsKey(), kPicturePositionValue, stored);
    EXPECT_EQ(LoadPicturePosition(), kPicturePositionFill) << stored;
  }
  for (DWORD stored : {0u, 1u, 2u}) {
    g_PicturePositionRead = false;
    SetDword(SettingsKey(), kPicturePositionValue, stored);
    EXPECT_EQ(LoadPicturePosition(), stored);
  }
}

TEST_F(RegistrySettings, StorePicturePositionWritesChoicesAndRefusesOthers) {
  SetDword(SettingsKey(), kPicturePositionValue, kPicturePositionStretch);
  StorePicturePosition(kPicturePositionFit);  // reads first, then replaces
  EXPECT_EQ(LoadPicturePosition(), kPicturePositionFit);
  EXPECT_EQ(QueryDword(SettingsKey(), kPicturePositionValue), std::optional<DWORD>(kPicturePositionFit));

  for (DWORD refused : {3u, 0xFFFFFFFFu}) {
    StorePicturePosition(refused);
    EXPECT_EQ(LoadPicturePosition(), kPicturePositionFit) << refused;
    EXPECT_EQ(QueryDword(SettingsKey(), kPicturePositionValue), std::optional<DWORD>(kPicturePositionFit)) << refused;
  }
}

TEST_F(RegistrySettings, NoSettingsKeyPathTouchesNothing) {
  g_SettingsKeyPath.clear();
  saver.m_SettingsKeyPath[0] = 0;
  WriteSoundVolume(5);
  SaveAllSettings(saver);
  EXPECT_FALSE(QueryDword(L"", kSoundVolumeValue));
  EXPECT_FALSE(QueryDword(L"", L"AllScreensSame"));
  EXPECT_FALSE(KeyExists(SettingsKey()));
}

}  // namespace
