// The order in which a scene's music files play: list order, the first again after the last, a
// list of one file rewound at each completion. The volume settings are read again before every
// file. One playlist belongs to each scene record.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// The music operations the playlist drives; the default ones play through the process's graph.
class DS_MusicPlayer {
 public:
  virtual ~DS_MusicPlayer() = default;
  virtual void Play(const std::wstring& path);
  virtual void Rewind();
  virtual void SetVolume(bool muted);
};

// Reads one setting into `*value`, leaving it as it was when the value is missing.
using DS_SettingReader = void (*)(DWORD* value, const wchar_t* name);

class DS_MusicPlaylist {
 public:
  // `player` and `readSetting` must outlive the playlist; null picks the graph's operations.
  explicit DS_MusicPlaylist(DS_SettingReader readSetting, DS_MusicPlayer* player = nullptr);

  // Binds the list of music file paths, in play order, and plays the first file when there is one.
  void Start(std::vector<std::wstring> paths);
  // One event of the music graph: a completion (EC_COMPLETE) moves on to the next file. Events
  // before Start are ignored, since the playlist is bound to no list yet.
  void OnMusicEvent(long code);

  bool Started() const { return m_Started; }

 private:
  void PlayNext();

  DS_SettingReader m_ReadSetting;
  DS_MusicPlayer* m_Player;
  std::vector<std::wstring> m_Paths;
  size_t m_Position = 0;
  bool m_Started = false;
};
