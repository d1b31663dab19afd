#include "sound/wav_sound/sound_buffer.h"

#include <algorithm>
#include <cstring>

#include "sound/sound_device.h"

bool MakeSoundBuffer(const DS_WavData& wav, DS_ComHolder<IDirectSoundBuffer8>& buffer) {
  if (!g_SoundDevice || wav.samples.empty()) return false;
  DSBUFFERDESC description = {};
  description.dwSize = sizeof(description);
  description.dwFlags = g_SoundBufferFlags | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
  description.dwBufferBytes = static_cast<DWORD>(wav.samples.size());
  description.lpwfxFormat = const_cast<WAVEFORMATEX*>(wav.Format());
  DS_ComHolder<IDirectSoundBuffer> created;
  if (FAILED(g_SoundDevice->CreateSoundBuffer(&description, created.Receive(), nullptr)) || !created) return false;
  DS_ComHolder<IDirectSoundBuffer8> made;
  if (FAILED(created->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(made.Receive()))) || !made)
    return false;

  void* first = nullptr;
  void* second = nullptr;
  DWORD firstBytes = 0, secondBytes = 0;
  if (FAILED(made->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER)) || !first)
    return false;
  const DWORD copied = std::min(firstBytes, static_cast<DWORD>(wav.samples.size()));
  std::memcpy(first, wav.samples.data(), copied);
  made->Unlock(first, copied, second, 0);
  buffer = std::move(made);
  return true;
}
