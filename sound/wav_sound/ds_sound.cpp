// Sound objects playing through DirectSound: the buffer made from the WAV data, its volume and
// pan, looping and random replay, and the live object.
#include "sound/wav_sound/ds_wav_constructor.h"

#include "core/resources/doc_res_manager.h"
#include "core/resources/noise.h"
#include "sound/sound_device.h"
#include "sound/sound_settings.h"
#include "sound/wav_sound/sound_buffer.h"
#include "sound/wav_sound/wav_memory_file.h"

std::unique_ptr<DS_ABObj> DS_Sound_Ctrl::CreateObject() const {
  auto object = std::make_unique<DS_Sound>(Clone());
  object->Sound().LoadAndStart();
  return object;
}

void DS_WAV_Constructor::LoadAndStart() {
  if (!g_SoundDevice || !g_DocResManager) return;
  const DS_ResourceEntry& entry = g_DocResManager->GetRawEntry(wav);
  DS_WavData data;
  if (!ReadWavFromMemory(entry.Data(), entry.Size(), data)) return;

  // The previous buffer, if any, goes once a new one is made.
  if (!MakeSoundBuffer(data, m_Buffer)) return;

  m_Buffer->SetVolume(SoundVolumeFromSetting(volume.Get(), false));
  m_Buffer->SetPan(SoundPanFromSetting(balance.Get()));
  if (randomReplay.Get() == 0) PlayLooping();
}

HRESULT DS_WAV_Constructor::PlayFromStart(DWORD flags) {
  if (!m_Buffer) return DSERR_UNINITIALIZED;
  const HRESULT result = m_Buffer->SetCurrentPosition(0);
  if (FAILED(result)) return result;
  return m_Buffer->Play(0, 0, flags);
}

HRESULT DS_WAV_Constructor::PlayLooping() { return PlayFromStart(DSBPLAY_LOOPING); }

HRESULT DS_WAV_Constructor::PlayOnce() { return PlayFromStart(0); }

HRESULT DS_WAV_Constructor::Stop() { return m_Buffer ? m_Buffer->Stop() : DSERR_UNINITIALIZED; }

void DS_WAV_Constructor::UpdateReplay(float time) {
  if (randomReplay.Get() == 0 || !m_Buffer || !(time > m_NextReplay)) return;
  PlayOnce();
  m_NextReplay = time + RandomInRange(static_cast<float>(minInterval.Get()), static_cast<float>(maxInterval.Get()));
}

// --- The live object ---------------------------------------------------------------------------

DS_Sound::DS_Sound(std::unique_ptr<DS_Sound_Ctrl> control) : DS_ABObj(std::move(control)) {
  m_Sound = static_cast<DS_Sound_Ctrl*>(Control());
}

void DS_Sound::Update(float time) {
  if (m_Active) m_Sound->UpdateReplay(time);
}

void DS_Sound::SetActive(bool on) {
  if (on)
    m_Sound->PlayLooping();
  else
    m_Sound->Stop();
  m_Active = on;
}

void DS_Sound::Rewind() { m_Sound->PlayOnce(); }

