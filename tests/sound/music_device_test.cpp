// The sound device and the music graph against Wine's DirectSound and DirectShow. Run twice:
// with a private sound server (VQ_SOUND_SERVER=1), where files play and complete, and without
// one (VQ_SOUND_SERVER=0), where every call fails cleanly and nothing plays.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "sound/music_graph.h"
#include "sound/music_file.h"
#include "sound/sound_device.h"
#include "sound/sound_settings.h"
#include "tests/sound/music_window.h"
#include "tools/fixtures/test_wav.h"

namespace {

bool SoundServerExpected() {
  const char* value = std::getenv("VQ_SOUND_SERVER");
  return value && value[0] == '1';
}

std::wstring WriteTempWav(const wchar_t* name, double frequency, double seconds) {
  DS_MusicFileData file{std::wstring(L"C:\\does-not-exist\\") + name, MakeToneWav(frequency, seconds, 6000)};
  file.ExtractToTempFile();
  return file.path;
}

// Filters in the graph, counted as the rebuild counts them.
int FilterCount() {
  IEnumFilters* enumerator = nullptr;
  if (FAILED(g_GraphBuilder->EnumFilters(&enumerator))) return -1;
  int count = 0;
  IBaseFilter* filter = nullptr;
  while (enumerator->Next(1, &filter, nullptr) == S_OK) {
    filter->Release();
    ++count;
  }
  enumerator->Release();
  return count;
}

class MusicDeviceTest : public ::testing::Test {
 protected:
  void TearDown() override {
    CloseMusicGraph();
    ReleaseSoundDevice();  // nothing releases it at exit
  }
  MusicTestWindow window;
};

TEST_F(MusicDeviceTest, SoundDeviceOpensOnceWithALoopingPrimaryBufferOrFailsCleanly) {
  const bool opened = OpenSoundDevice(window.Handle());
  if (!SoundServerExpected()) {
    EXPECT_FALSE(opened);
    EXPECT_EQ(g_SoundDevice, nullptr);
    EXPECT_EQ(g_PrimarySoundBuffer, nullptr);
    SetPrimarySoundVolume(50, false);  // the application's volume step goes on silently
    StopPrimarySoundBuffer();
    return;
  }
  ASSERT_TRUE(opened);
  ASSERT_NE(g_SoundDevice, nullptr);
  ASSERT_NE(g_PrimarySoundBuffer, nullptr);
  EXPECT_EQ(g_SoundBufferFlags, static_cast<DWORD>(DSBCAPS_STICKYFOCUS));
  DWORD status = 0;
  g_PrimarySoundBuffer->GetStatus(&status);
  EXPECT_TRUE(status & DSBSTATUS_LOOPING);
  IDirectSound8* first = g_SoundDevice;
  EXPECT_TRUE(OpenSoundDevice(window.Handle()));
  EXPECT_EQ(g_SoundDevice, first);  // once per process

  LONG volume = 1;
  SetPrimarySoundVolume(50, false);
  g_PrimarySoundBuffer->GetVolume(&volume);
  EXPECT_EQ(volume, -2500);
  SetPrimarySoundVolume(80, true);
  g_PrimarySoundBuffer->GetVolume(&volume);
  EXPECT_EQ(volume, kSilentVolume);

  StopPrimarySoundBuffer();  // device lost: full volume, stopped, device kept
  g_PrimarySoundBuffer->GetVolume(&volume);
  EXPECT_EQ(volume, 0);
  g_PrimarySoundBuffer->GetStatus(&status);
  EXPECT_FALSE(status & DSBSTATUS_PLAYING);
  EXPECT_NE(g_SoundDevice, nullptr);

  ReleaseSoundDevice();  // the buffer, then the device
  EXPECT_EQ(g_PrimarySoundBuffer, nullptr);
  EXPECT_EQ(g_SoundDevice, nullptr);
  // Opened again after the release, with a primary buffer of its own; TearDown releases it.
  EXPECT_TRUE(OpenSoundDevice(window.Handle()));
  EXPECT_NE(g_PrimarySoundBuffer, nullptr);
}

TEST_F(MusicDeviceTest, GraphOpensWithItsFiveInterfacesAndClosesThemAll) {
  ASSERT_TRUE(OpenMusicGraph(window.Handle()));
  EXPECT_NE(g_GraphBuilder, nullptr);
  EXPECT_NE(g_MediaControl, nullptr);
  EXPECT_NE(g_MediaSeeking, nullptr);
  EXPECT_NE(g_MediaEvent, nullptr);
  EXPECT_NE(g_BasicAudio, nullptr);
  CloseMusicGraph();
  EXPECT_EQ(g_GraphBuilder, nullptr);
  EXPECT_EQ(g_MediaControl, nullptr);
  EXPECT_EQ(g_MediaSeeking, nullptr);
  EXPECT_EQ(g_MediaEvent, nullptr);
  EXPECT_EQ(g_BasicAudio, nullptr);
  // A notification that arrives after the close finds no event.
  EXPECT_EQ(GetMusicEvent(), -1);
  PlayMusicTrack(L"C:\\nothing.wav");
}

TEST_F(MusicDeviceTest, FilesPlayInTurnAndEachCompletionReachesTheWindow) {
  const std::wstring first = WriteTempWav(L"vq_graph_first.wav", 440, 0.4);
  const std::wstring second = WriteTempWav(L"vq_graph_second.wav", 660, 0.4);
  ASSERT_TRUE(OpenMusicGraph(window.Handle()));

  PlayMusicTrack(first.c_str());
  if (!SoundServerExpected()) {
    // Nothing can be rendered: no completion, no crash, and the calls go on silently.
    EXPECT_FALSE(window.WaitForEvent(EC_COMPLETE, 1500));
    PlayMusicTrack(second.c_str());
    RewindMusic();
    SetMusicVolume(false);
    EXPECT_FALSE(window.WaitForEvent(EC_COMPLETE, 500));
    return;
  }
  ASSERT_TRUE(window.WaitForEvent(EC_COMPLETE, 10000));
  EXPECT_GE(window.notifications, 1);
  EXPECT_FALSE(window.wrongParameters);
  const int filtersAfterFirst = FilterCount();

  // The next file goes through the renderer already in the graph; the old source leaves it.
  PlayMusicTrack(second.c_str());
  ASSERT_TRUE(window.WaitForEvent(EC_COMPLETE, 10000));
  EXPECT_EQ(FilterCount(), filtersAfterFirst);

  // A playlist of one file rewinds.
  RewindMusic();
  ASSERT_TRUE(window.WaitForEvent(EC_COMPLETE, 10000));
  EXPECT_FALSE(window.wrongParameters);
}

TEST_F(MusicDeviceTest, ManyFileChangesKeepTheGraphAtTheFiltersOfOneFile) {
  const std::wstring first = WriteTempWav(L"vq_graph_many_a.wav", 440, 0.3);
  const std::wstring second = WriteTempWav(L"vq_graph_many_b.wav", 660, 0.3);
  DS_MusicFileData garbage{L"C:\\does-not-exist\\vq_graph_many_bad.wav", std::vector<unsigned char>(2000, 0x33)};
  garbage.ExtractToTempFile();
  ASSERT_TRUE(OpenMusicGraph(window.Handle()));
  PlayMusicTrack(first.c_str());
  if (!SoundServerExpected()) return;  // nothing renders: the graph holds no chain to count
  const int filtersOfOneFile = FilterCount();
  ASSERT_GE(filtersOfOneFile, 2);  // a source and at least a renderer
  // A night of changes, a file that cannot play among them: the graph never holds more than the
  // chain of the file playing, and the file after the bad one is heard to its end.
  for (int change = 0; change < 40; ++change) {
    PlayMusicTrack(change % 2 ? first.c_str() : second.c_str());
    if (change == 20) PlayMusicTrack(garbage.path.c_str());
    EXPECT_LE(FilterCount(), filtersOfOneFile) << change;
  }
  window.WaitForEvent(EC_COMPLETE, 1000);  // a completion already on its way is not the last file's
  PlayMusicTrack(first.c_str());
  EXPECT_EQ(FilterCount(), filtersOfOneFile);
  EXPECT_TRUE(window.WaitForEvent(EC_COMPLETE, 10000));
}

TEST_F(MusicDeviceTest, AfterADeviceLossTheMusicStopsAndDoesNotResume) {
  const std::wstring path = WriteTempWav(L"vq_graph_lost.wav", 440, 0.4);
  ASSERT_TRUE(OpenMusicGraph(window.Handle()));
  PlayMusicTrack(path.c_str());
  StopAndCloseMusicGraph();
  EXPECT_EQ(g_GraphBuilder, nullptr);
  PlayMusicTrack(path.c_str());
  RewindMusic();
  // Nothing reports back from the closed graph (the recording test shows it falls silent).
  EXPECT_FALSE(window.WaitForEvent(EC_COMPLETE, 1500));
}

TEST_F(MusicDeviceTest, AFileThatCannotPlayLeavesTheNextOnePlayable) {
  DS_MusicFileData garbage{L"C:\\does-not-exist\\vq_garbage.wav", std::vector<unsigned char>(3000, 0x5A)};
  garbage.ExtractToTempFile();
  const std::wstring good = WriteTempWav(L"vq_graph_good.wav", 550, 0.3);
  ASSERT_TRUE(OpenMusicGraph(window.Handle()));
  PlayMusicTrack(garbage.path.c_str());
  PlayMusicTrack(L"C:\\does-not-exist\\missing.wav");
  PlayMusicTrack(good.c_str());
  EXPECT_EQ(window.WaitForEvent(EC_COMPLETE, SoundServerExpected() ? 10000 : 1000), SoundServerExpected());
}

TEST_F(MusicDeviceTest, MusicVolumeFollowsTheSettingAndMute) {
  ASSERT_TRUE(OpenMusicGraph(window.Handle()));
  const std::wstring path = WriteTempWav(L"vq_graph_volume.wav", 440, 0.3);
  PlayMusicTrack(path.c_str());  // the audio interface answers once a renderer is in the graph
  const DWORD saved = g_SoundVolume;
  struct Case { DWORD setting; bool muted; long expected; };
  const Case cases[] = {{50, false, -2000}, {100, false, 0}, {0, false, -4000}, {70, true, -10000}};
  for (const Case& c : cases) {
    g_SoundVolume = c.setting;
    SetMusicVolume(c.muted);
    long volume = 1;
    const HRESULT result = g_BasicAudio->get_Volume(&volume);
    if (SoundServerExpected()) {
      ASSERT_EQ(result, S_OK);
      EXPECT_EQ(volume, c.expected) << c.setting;
    }
  }
  g_SoundVolume = saved;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
