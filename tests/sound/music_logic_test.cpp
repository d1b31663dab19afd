// The playlist order, the volume arithmetic, the extraction of music files to the temporary
// directory, and the music calls while no graph is open. Needs no sound server.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "sound/music_file.h"
#include "sound/music_graph.h"
#include "sound/music_playlist.h"
#include "sound/sound_device.h"
#include "sound/sound_settings.h"

namespace {

// Records the playlist's calls, with the volume as the graph would get it.
class RecordingPlayer : public DS_MusicPlayer {
 public:
  void Play(const std::wstring& path) override { calls.push_back(L"play " + path); }
  void Rewind() override { calls.push_back(L"rewind"); }
  void SetVolume(bool muted) override {
    calls.push_back(L"volume " + std::to_wstring(muted ? kSilentVolume : MusicVolumeFromSetting(g_SoundVolume)));
  }
  std::vector<std::wstring> calls;
};

// Settings the playlist reads; a name that is absent leaves the variable alone.
std::map<std::wstring, DWORD> g_Registry;
void ReadFakeSetting(DWORD* value, const wchar_t* name) {
  auto found = g_Registry.find(name);
  if (found != g_Registry.end()) *value = found->second;
}

class PlaylistTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_Registry.clear();
    g_SoundVolume = 100;
    g_SoundBalance = 50;
    g_MuteSound = 0;
  }
  // The files played (rewind counts as playing the same file again), in order.
  std::vector<std::wstring> Played() const {
    std::vector<std::wstring> played;
    for (const std::wstring& call : player.calls) {
      if (call.rfind(L"play ", 0) == 0) played.push_back(call.substr(5));
      if (call == L"rewind") played.push_back(L"(rewind)");
    }
    return played;
  }
  RecordingPlayer player;
  DS_MusicPlaylist playlist{ReadFakeSetting, &player};
};

TEST_F(PlaylistTest, ThreeFilesPlayInOrderAndRepeatFromTheFirst) {
  playlist.Start({L"a.wav", L"b.wav", L"c.wav"});
  for (int i = 0; i < 5; ++i) playlist.OnMusicEvent(EC_COMPLETE);
  EXPECT_EQ(Played(), (std::vector<std::wstring>{L"a.wav", L"b.wav", L"c.wav", L"a.wav", L"b.wav", L"c.wav"}));
}

TEST_F(PlaylistTest, OneFileIsRewoundAtEachCompletion) {
  playlist.Start({L"only.wav"});
  playlist.OnMusicEvent(EC_COMPLETE);
  playlist.OnMusicEvent(EC_COMPLETE);
  EXPECT_EQ(player.calls, (std::vector<std::wstring>{L"play only.wav", L"volume 0", L"rewind", L"rewind"}));
}

TEST_F(PlaylistTest, AnEmptyListMakesNoMusicCall) {
  playlist.Start({});
  playlist.OnMusicEvent(EC_COMPLETE);
  EXPECT_TRUE(player.calls.empty());
  EXPECT_TRUE(playlist.Started());
}

TEST_F(PlaylistTest, OnlyCompletionMovesOnAndEventsBeforeStartAreIgnored) {
  playlist.OnMusicEvent(EC_COMPLETE);  // a record that has not started yet
  EXPECT_FALSE(playlist.Started());
  playlist.Start({L"a.wav", L"b.wav"});
  for (long code : {long{EC_USERABORT}, long{EC_ERRORABORT}, long{EC_PAUSED}, -1L, 0L}) playlist.OnMusicEvent(code);
  EXPECT_EQ(Played(), (std::vector<std::wstring>{L"a.wav"}));
  playlist.OnMusicEvent(EC_COMPLETE);
  EXPECT_EQ(Played(), (std::vector<std::wstring>{L"a.wav", L"b.wav"}));
}

TEST_F(PlaylistTest, SettingsAreReadAgainBeforeEveryFile) {
  g_Registry[L"\"SoundVolume\""] = 50;
  playlist.Start({L"a.wav", L"b.wav", L"c.wav"});
  g_Registry[L"\"MuteSound\""] = 1;
  playlist.OnMusicEvent(EC_COMPLETE);
  g_Registry.clear();  // missing values keep what was read last
  g_Registry[L"\"MuteSound\""] = 0;
  g_Registry[L"\"SoundBalance\""] = 7;
  playlist.OnMusicEvent(EC_COMPLETE);
  EXPECT_EQ(player.calls, (std::vector<std::wstring>{L"play a.wav", L"volume -2000", L"play b.wav",
                                                     L"volume -10000", L"play c.wav", L"volume -2000"}));
  EXPECT_EQ(g_SoundVolume, 50u);
  EXPECT_EQ(g_SoundBalance, 7u);
}

TEST(VolumeArithmetic, SettingsMapToSignedVolumesInRange) {
  struct Case { DWORD setting; LONG music; LONG sound; };
  const Case cases[] = {
      {100, 0, 0}, {50, -2000, -2500}, {0, -4000, -5000}, {1, -3960, -4950},
      {33, -2680, -3350}, {101, 0, 0}, {0xFFFFFFFFu, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MusicVolumeFromSetting(c.setting), c.music) << c.setting;
    EXPECT_EQ(SoundVolumeFromSetting(c.setting, false), c.sound) << c.setting;
    EXPECT_EQ(SoundVolumeFromSetting(c.setting, true), kSilentVolume) << c.setting;
  }
}

std::wstring TempDir() {
  WCHAR buffer[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH, buffer);
  return std::wstring(buffer, n);
}

std::vector<unsigned char> ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

TEST(MusicExtraction, AMissingStoredPathIsWrittenByItsFileNameIntoTheTempDirectory) {
  const std::wstring target = TempDir() + L"vq_extract_song.mp3";
  DeleteFileW(target.c_str());
  DS_MusicFileData file{L"D:\\Music\\vq_extract_song.mp3", {1, 2, 3, 4, 5}};
  file.ExtractToTempFile();
  EXPECT_EQ(file.path, target);
  EXPECT_TRUE(file.bytes.empty());
  EXPECT_EQ(ReadFile(target), (std::vector<unsigned char>{1, 2, 3, 4, 5}));
  // A second record of the same scene writes the same file again, truncating it.
  DS_MusicFileData again{L"E:\\other\\vq_extract_song.mp3", {9}};
  again.ExtractToTempFile();
  EXPECT_EQ(ReadFile(target), (std::vector<unsigned char>{9}));
}

TEST(MusicExtraction, AnExistingStoredPathIsPlayedFromThereAndNotWritten) {
  const std::wstring existing = TempDir() + L"vq_extract_existing.wav";
  { std::ofstream(existing.c_str(), std::ios::binary) << "original"; }
  DS_MusicFileData file{existing, {1, 2, 3}};
  file.ExtractToTempFile();
  EXPECT_EQ(file.path, existing);
  EXPECT_TRUE(file.bytes.empty());
  EXPECT_EQ(ReadFile(existing).size(), 8u);
}

TEST(MusicExtraction, AnEmptyEntryStaysAsItIs) {
  DS_MusicFileData file{L"D:\\Music\\vq_never.wav", {}};
  file.ExtractToTempFile();
  EXPECT_EQ(file.path, L"D:\\Music\\vq_never.wav");
}

TEST(MusicExtraction, UnsafeOrMissingFileNamesAreNotWrittenOutsideTheTempDirectory) {
  struct Case { std::wstring stored; std::wstring expectedName; };
  const Case cases[] = {
      {L"NoBackslashAtAll.wav", L""},           // no file-name part: the directory itself
      {L"D:\\Music\\", L""},
      {L"D:\\Music\\..", L""},
      {L"D:\\Music\\.", L""},
      {L"D:\\Music\\c:evil.wav", L""},          // a drive form or a stream name
      {L"D:\\a\\../../vq_slash.wav", L"vq_slash.wav"},  // '/' separates too
      {std::wstring(L"D:\\a\\vq_n\0ul.wav", 16), L""},
  };
  const std::wstring outside = TempDir() + L"..\\..\\vq_slash.wav";
  DeleteFileW(outside.c_str());
  DeleteFileW((TempDir() + L"vq_slash.wav").c_str());
  for (const Case& c : cases) {
    DS_MusicFileData file{c.stored, {7, 7}};
    file.ExtractToTempFile();
    EXPECT_EQ(file.path, TempDir() + c.expectedName);
    EXPECT_TRUE(file.bytes.empty());
  }
  EXPECT_EQ(GetFileAttributesW(outside.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadFile(TempDir() + L"vq_slash.wav"), (std::vector<unsigned char>{7, 7}));
}

TEST(MusicExtraction, DeviceNamesAreNeverWrittenAndNamesThatOnlyResembleThemAre) {
  // Each form of a device name gets the directory itself, as other names that cannot be used.
  const wchar_t* devices[] = {L"CON",      L"con",       L"Prn",      L"AUX",       L"nul",
                              L"COM1",     L"com5",      L"COM9",     L"LPT1",      L"lpt7",
                              L"LPT9",     L"CON.mp3",   L"nul.wav",  L"Aux.tar.gz", L"com3.mid",
                              L"LPT2.mp3", L"CON .mp3",  L"NUL  ",    L"prn."};
  for (const wchar_t* name : devices) {
    SCOPED_TRACE(std::string(name, name + wcslen(name)));
    DS_MusicFileData file{std::wstring(L"D:\\Music\\") + name, {3, 1}};
    file.ExtractToTempFile();
    EXPECT_EQ(file.path, TempDir());
    EXPECT_TRUE(file.bytes.empty());
  }
  // Names that only begin or end like one are ordinary files.
  const wchar_t* ordinary[] = {L"vq_CON.mp3", L"CONSOLE.mp3", L"COM10.mp3", L"COM0.mp3",
                               L"LPT.mp3",    L"NULL.wav",    L"AUX_1.mid", L"mp3.con"};
  for (const wchar_t* name : ordinary) {
    SCOPED_TRACE(std::string(name, name + wcslen(name)));
    const std::wstring target = TempDir() + name;
    DeleteFileW(target.c_str());
    DS_MusicFileData file{std::wstring(L"D:\\Music\\") + name, {3, 1}};
    file.ExtractToTempFile();
    EXPECT_EQ(file.path, target);
    EXPECT_EQ(ReadFile(target), (std::vector<unsigned char>{3, 1}));
    DeleteFileW(target.c_str());
  }
}

TEST(MusicExtraction, FileNamePartIsTheTextAfterTheLastSeparator) {
  EXPECT_EQ(MusicFileNamePart(L"C:\\Vorniquel\\music\\dawn.wav"), L"dawn.wav");
  EXPECT_EQ(MusicFileNamePart(L"dawn.wav"), L"");
  EXPECT_EQ(MusicFileNamePart(L"a/b\\c/d.wav"), L"d.wav");
}

TEST(ClosedGraph, EveryMusicCallDoesNothing) {
  ASSERT_EQ(g_GraphBuilder, nullptr);
  PlayMusicTrack(L"C:\\nothing.wav");
  RewindMusic();
  SetMusicVolume(true);
  EXPECT_EQ(GetMusicEvent(), -1);
  CloseMusicGraph();
  EXPECT_EQ(g_MediaControl, nullptr);
  // The sound device's helpers do nothing before it is open either.
  SetPrimarySoundVolume(50, false);
  StopPrimarySoundBuffer();
  EXPECT_EQ(g_PrimarySoundBuffer, nullptr);
}

}  // namespace
