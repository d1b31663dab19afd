#include "sound/sound_settings.h"

DWORD g_SoundVolume = 100;
DWORD g_SoundBalance = 50;
DWORD g_MuteSound = 0;

namespace {

// Signed and in range, so that the subtraction below cannot wrap around.
int ClampedPercent(DWORD value) { return value > 100 ? 100 : static_cast<int>(value); }

}  // namespace

LONG MusicVolumeFromSetting(DWORD volume) {
  // The factor is the single-precision 0.4 the music volume has always been scaled by.
  return static_cast<LONG>((ClampedPercent(volume) - 100) * 100 * 0.4000000059604645);
}

LONG SoundVolumeFromSetting(DWORD volume, bool muted) {
  if (muted) return kSilentVolume;
  return (ClampedPercent(volume) - 100) * 50;
}

LONG SoundPanFromSetting(DWORD balance) { return (ClampedPercent(balance) - 50) * 100; }
