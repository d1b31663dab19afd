#include "sound/sound_device.h"

#include "sound/sound_settings.h"

IDirectSound8* g_SoundDevice = nullptr;
IDirectSoundBuffer* g_PrimarySoundBuffer = nullptr;
// The flags of the one sound device, the same for every buffer of every output.
DWORD g_SoundBufferFlags = 0;

namespace {

void ReleasePrimarySoundBuffer() {
  if (g_PrimarySoundBuffer) {
    g_PrimarySoundBuffer->Release();
    g_PrimarySoundBuffer = nullptr;
  }
}

}  // namespace

bool OpenSoundDevice(HWND window) {
  if (g_SoundDevice) return true;
  g_SoundBufferFlags = DSBCAPS_STICKYFOCUS;
  if (FAILED(DirectSoundCreate8(nullptr, &g_SoundDevice, nullptr))) {
    g_SoundDevice = nullptr;
    return false;
  }
  if (FAILED(g_SoundDevice->SetCooperativeLevel(window, DSSCL_NORMAL))) return false;

  DSBUFFERDESC description = {};
  description.dwSize = sizeof(description);
  description.dwFlags = g_SoundBufferFlags | DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
  ReleasePrimarySoundBuffer();
  if (FAILED(g_SoundDevice->CreateSoundBuffer(&description, &g_PrimarySoundBuffer, nullptr))) {
    g_PrimarySoundBuffer = nullptr;
    return false;
  }
  return SUCCEEDED(g_PrimarySoundBuffer->Play(0, 0, DSBPLAY_LOOPING));
}

void SetPrimarySoundVolume(DWORD volume, bool muted) {
  if (g_PrimarySoundBuffer) g_PrimarySoundBuffer->SetVolume(SoundVolumeFromSetting(volume, muted));
}

void StopPrimarySoundBuffer() {
  if (!g_PrimarySoundBuffer) return;
  g_PrimarySoundBuffer->SetVolume(0);
  g_PrimarySoundBuffer->Stop();
}

void ReleaseSoundDevice() {
  ReleasePrimarySoundBuffer();
  if (g_SoundDevice) {
    g_SoundDevice->Release();
    g_SoundDevice = nullptr;
  }
}
