// Plays music through the real graph and playlist for the recording tests, which listen on the
// sound server's null sink:
//   vq_music_play_probe volume <setting 0..100> <muted 0|1>   one 1.2 s tone of 440 Hz
//   vq_music_play_probe playlist <completions>                 tones of 440, 660, 880 Hz in a list
//   vq_music_play_probe lost <milliseconds>                    a 3 s tone, stopped by the device-lost
//                                                              step after the given time
// Prints each completion; exits 0 once the expected completions arrived, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sound/music_file.h"
#include "sound/music_graph.h"
#include "sound/music_playlist.h"
#include "sound/sound_settings.h"
#include "tests/sound/music_window.h"
#include "tools/fixtures/test_wav.h"

namespace {

DWORD g_VolumeSetting = 100;
DWORD g_MuteSetting = 0;
DS_MusicPlaylist* g_Playlist = nullptr;

void ReadProbeSetting(DWORD* value, const wchar_t* name) {
  if (std::wcscmp(name, L"\"SoundVolume\"") == 0) *value = g_VolumeSetting;
  if (std::wcscmp(name, L"\"MuteSound\"") == 0) *value = g_MuteSetting;
}

void ForwardEvent(long code) {
  if (code == EC_COMPLETE) std::printf("complete\n");
  std::fflush(stdout);
  g_Playlist->OnMusicEvent(code);
}

std::wstring Extract(const wchar_t* name, double frequency, double seconds) {
  DS_MusicFileData file{std::wstring(L"C:\\Vorniquel\\probe\\") + name, MakeToneWav(frequency, seconds, 12000)};
  file.ExtractToTempFile();
  return file.path;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string mode = argv[1];
  std::vector<std::wstring> paths;
  int completions = 1;
  if (mode == "volume" && argc >= 4) {
    g_VolumeSetting = static_cast<DWORD>(std::atoi(argv[2]));
    g_MuteSetting = static_cast<DWORD>(std::atoi(argv[3]));
    paths.push_back(Extract(L"probe_volume.wav", 440, 1.2));
  } else if (mode == "playlist") {
    completions = std::atoi(argv[2]);
    paths.push_back(Extract(L"probe_a.wav", 440, 0.6));
    paths.push_back(Extract(L"probe_b.wav", 660, 0.6));
    paths.push_back(Extract(L"probe_c.wav", 880, 0.6));
  } else if (mode == "lost") {
    paths.push_back(Extract(L"probe_lost.wav", 440, 3.0));
    completions = 0;
  } else {
    return 2;
  }

  MusicTestWindow window;
  if (!OpenMusicGraph(window.Handle())) return 1;
  DS_MusicPlaylist playlist(ReadProbeSetting);
  g_Playlist = &playlist;
  window.onEvent = ForwardEvent;
  playlist.Start(paths);
  if (mode == "lost") {
    // Pump for the given time, then lose the device; the music must not come back.
    const DWORD playMs = static_cast<DWORD>(std::atoi(argv[2]));
    window.WaitForEvent(EC_COMPLETE, playMs);
    StopAndCloseMusicGraph();
    PlayMusicTrack(paths[0].c_str());
    playlist.OnMusicEvent(EC_COMPLETE);
    window.WaitForEvent(EC_COMPLETE, 3000);
    std::printf("exit status 0\n");  // the test driver's sign that the work is done
    return 0;
  }
  for (int i = 0; i < completions; ++i) {
    if (!window.WaitForEvent(EC_COMPLETE, 15000)) {
      std::printf("no completion after %d\n", i);
      return 1;
    }
  }
  // Let the last samples leave the renderer before the graph closes.
  Sleep(300);
  if (g_MediaControl) g_MediaControl->Stop();
  CloseMusicGraph();
  std::printf("exit status 0\n");
  return 0;
}
