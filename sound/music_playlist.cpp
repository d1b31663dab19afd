#include "sound/music_playlist.h"

#include "sound/music_graph.h"
#include "sound/sound_settings.h"

namespace {

// Every output's playlist plays through the one music graph of the process.
DS_MusicPlayer g_GraphPlayer;

// The registry value names carry their two double-quote characters.
constexpr const wchar_t* kSoundVolumeName = L"\"SoundVolume\"";
constexpr const wchar_t* kSoundBalanceName = L"\"SoundBalance\"";
constexpr const wchar_t* kMuteSoundName = L"\"MuteSound\"";

}  // namespace

void DS_MusicPlayer::Play(const std::wstring& path) { PlayMusicTrack(path.c_str()); }
void DS_MusicPlayer::Rewind() { RewindMusic(); }
void DS_MusicPlayer::SetVolume(bool muted) { SetMusicVolume(muted); }

DS_MusicPlaylist::DS_MusicPlaylist(DS_SettingReader readSetting, DS_MusicPlayer* player)
    : m_ReadSetting(readSetting), m_Player(player ? player : &g_GraphPlayer) {}

void DS_MusicPlaylist::Start(std::vector<std::wstring> paths) {
  m_Paths = std::move(paths);
  m_Position = 0;
  m_Started = true;
  if (!m_Paths.empty()) PlayNext();
}

void DS_MusicPlaylist::OnMusicEvent(long code) {
  if (!m_Started || code != EC_COMPLETE) return;
  if (m_Position == m_Paths.size()) {
    if (m_Paths.size() == 1) {
      m_Player->Rewind();
      return;
    }
    m_Position = 0;
  }
  if (m_Position != m_Paths.size()) PlayNext();
}

void DS_MusicPlaylist::PlayNext() {
  m_Player->Play(m_Paths[m_Position]);
  if (m_ReadSetting) {
    m_ReadSetting(&g_SoundVolume, kSoundVolumeName);
    m_ReadSetting(&g_SoundBalance, kSoundBalanceName);
    m_ReadSetting(&g_MuteSound, kMuteSoundName);
  }
  m_Player->SetVolume(g_MuteSound != 0);
  ++m_Position;
}
