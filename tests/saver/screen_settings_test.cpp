// The per-monitor settings: "AllScreensSame" and the "Screen %d" subkeys, tied to the adapter.
#include <gtest/gtest.h>

#include <cstring>

#include "saver/app_settings.h"
#include "tests/saver/settings_test_support.h"

namespace {

class ScreenSettings : public ::testing::Test {
 protected:
  void SetUp() override { DeleteSettingsKey(); }
  TestSaver saver;
};

TEST_F(ScreenSettings, SaveWritesEveryClaimedMonitorUnderItsNumber) {
  TestSaver::AdapterSpec first;
  first.id = MakeGuid(1);
  DS_SaverAdapter& a = saver.AddMonitorWithAdapter(first);
  a.savedWidth = 800;
  a.savedHeight = 600;
  a.savedFormat = D3DFMT_X8R8G8B8;
  a.disableHardware = TRUE;
  saver.AddMonitorWithoutAdapter(L"Detached");
  TestSaver::AdapterSpec third;
  third.id = MakeGuid(3);
  DS_SaverAdapter& c = saver.AddMonitorWithAdapter(third);
  c.leaveBlack = TRUE;
  saver.m_AllScreensSame = 1;

  SaveAllSettings(saver);

  EXPECT_EQ(QueryDword(SettingsKey(), L"AllScreensSame"), std::optional<DWORD>(1));
  EXPECT_EQ(QueryDword(ScreenKey(1), L"Width"), std::optional<DWORD>(800));
  EXPECT_EQ(QueryDword(ScreenKey(1), L"Height"), std::optional<DWORD>(600));
  EXPECT_EQ(QueryDword(ScreenKey(1), L"Format"), std::optional<DWORD>(D3DFMT_X8R8G8B8));
  EXPECT_EQ(QueryDword(ScreenKey(1), L"Disable Hardware"), std::optional<DWORD>(1));
  EXPECT_EQ(QueryDword(ScreenKey(1), L"Leave Black"), std::optional<DWORD>(0));
  const auto firstId = QueryBinary(ScreenKey(1), L"Adapter ID");
  ASSERT_TRUE(firstId);
  ASSERT_EQ(firstId->size(), sizeof(GUID));
  EXPECT_EQ(std::memcmp(firstId->data(), &first.id, sizeof(GUID)), 0);

  EXPECT_FALSE(KeyExists(ScreenKey(2)));  // no adapter claims the second monitor

  EXPECT_EQ(QueryDword(ScreenKey(3), L"Leave Black"), std::optional<DWORD>(1));
  EXPECT_EQ(QueryDword(ScreenKey(3), L"Width"), std::optional<DWORD>(0));
  const auto thirdId = QueryBinary(ScreenKey(3), L"Adapter ID");
  ASSERT_TRUE(thirdId);
  EXPECT_EQ(std::memcmp(thirdId->data(), &third.id, sizeof(GUID)), 0);
}

TEST_F(ScreenSettings, LoadTakesModeAndDeviceChoiceOnlyFromTheSameAdapter) {
  const GUID mine = MakeGuid(5);
  const GUID other = MakeGuid(9);
  struct Case {
    const char* name;
    const GUID* stored;  // null: no "Adapter ID" value
    bool takesChoices;
  };
  for (const Case& c : {Case{"same adapter", &mine, true}, Case{"no adapter recorded", nullptr, true},
                        Case{"another adapter", &other, false}}) {
    SCOPED_TRACE(c.name);
    DeleteSettingsKey();
    TestSaver local;
    TestSaver::AdapterSpec setup;
    setup.id = mine;
    DS_SaverAdapter& adapter = local.AddMonitorWithAdapter(setup);
    SetDword(ScreenKey(1), L"Leave Black", 1);
    SetDword(ScreenKey(1), L"Disable Hardware", 1);
    SetDword(ScreenKey(1), L"Width", 1024);
    SetDword(ScreenKey(1), L"Height", 768);
    SetDword(ScreenKey(1), L"Format", D3DFMT_R5G6B5);
    if (c.stored) SetBinary(ScreenKey(1), L"Adapter ID", c.stored, sizeof(GUID));

    LoadSavedSettings(local);

    EXPECT_EQ(adapter.leaveBlack, TRUE);
    EXPECT_EQ(adapter.disableHardware, c.takesChoices ? TRUE : FALSE);
    EXPECT_EQ(adapter.savedWidth, c.takesChoices ? 1024u : 0u);
    EXPECT_EQ(adapter.savedHeight, c.takesChoices ? 768u : 0u);
    EXPECT_EQ(adapter.savedFormat, c.takesChoices ? static_cast<UINT>(D3DFMT_R5G6B5) : 0u);
  }
}

TEST_F(ScreenSettings, MissingValuesKeepWhatTheRecordsHold) {
  DS_SaverAdapter& adapter = saver.AddMonitorWithAdapter({});
  adapter.savedWidth = 640;
  adapter.leaveBlack = TRUE;
  saver.m_AllScreensSame = 1;
  SetDword(ScreenKey(1), L"Height", 480);

  LoadSavedSettings(saver);

  EXPECT_EQ(adapter.savedWidth, 640u);
  EXPECT_EQ(adapter.savedHeight, 480u);
  EXPECT_EQ(adapter.leaveBlack, TRUE);
  EXPECT_EQ(saver.m_AllScreensSame, 1u);
  // Loading opens (and so creates) the subkey of every claimed monitor.
  EXPECT_TRUE(KeyExists(ScreenKey(1)));
}

TEST_F(ScreenSettings, SaveThenLoadRestoresTheRecords) {
  TestSaver::AdapterSpec setup;
  setup.id = MakeGuid(2);
  DS_SaverAdapter& adapter = saver.AddMonitorWithAdapter(setup);
  adapter.savedWidth = 800;
  adapter.savedHeight = 600;
  adapter.savedFormat = D3DFMT_X8R8G8B8;
  adapter.leaveBlack = TRUE;
  saver.m_AllScreensSame = 1;
  SaveAllSettings(saver);

  adapter.savedWidth = adapter.savedHeight = adapter.savedFormat = 0;
  adapter.leaveBlack = FALSE;
  saver.m_AllScreensSame = 0;
  LoadSavedSettings(saver);

  EXPECT_EQ(adapter.savedWidth, 800u);
  EXPECT_EQ(adapter.savedHeight, 600u);
  EXPECT_EQ(adapter.savedFormat, static_cast<UINT>(D3DFMT_X8R8G8B8));
  EXPECT_EQ(adapter.leaveBlack, TRUE);
  EXPECT_EQ(saver.m_AllScreensSame, 1u);
}

}  // namespace
