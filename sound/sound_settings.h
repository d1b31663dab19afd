// The sound settings as last read for the music, and the volume arithmetic shared by the music
// graph and the primary sound buffer. Volumes are hundredths of a decibel (0 = full volume).
#pragma once

#include <windows.h>

// As last read from the registry before a music file started; initially 100, 50 and 0.
extern DWORD g_SoundVolume;
extern DWORD g_SoundBalance;  // kept with the others; no output applies it
extern DWORD g_MuteSound;

constexpr LONG kSilentVolume = -10000;
constexpr UINT kMusicNotifyMessage = 0x8000;  // WM_APP, posted by the music graph

// The setting 0..100 as the music graph's volume, -4000..0. Values above 100 count as 100: a
// registry value is taken as it stands, and DirectShow rejects positive volumes.
LONG MusicVolumeFromSetting(DWORD volume);
// The setting 0..100 as a DirectSound volume, -5000..0; -10000 when muted.
LONG SoundVolumeFromSetting(DWORD volume, bool muted);
// A balance 0 (left) .. 100 (right) as a DirectSound pan, -5000..+5000; larger counts as 100.
LONG SoundPanFromSetting(DWORD balance);
