// A DirectSound secondary buffer filled with WAV samples, with pan and volume control.
#pragma once

#include <windows.h>
#include <dsound.h>

#include "core/com/ds_com_holder.h"
#include "sound/wav_sound/wav_memory_file.h"

// Makes a buffer of the sound device (g_SoundDevice, with g_SoundBufferFlags) holding `wav`'s
// samples in its format. False, `buffer` left as it was, without a device or when DirectSound
// refuses the buffer or its lock (a buffer that could not be filled would play what it holds).
bool MakeSoundBuffer(const DS_WavData& wav, DS_ComHolder<IDirectSoundBuffer8>& buffer);
