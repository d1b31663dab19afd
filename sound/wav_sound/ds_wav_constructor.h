// Sound objects of a slide: a WAV sound played through a DirectSound secondary buffer, looping from
// scene start or once at random intervals, at its own volume and place in the stereo field.
//
//   DS_Sound_Ctrl       the sound family's parameter set (nested record "DS_Sound_Ctrl" 2)
//   DS_WAV_Constructor  the WAV sound's parameter set (record 1): the link naming the WAV data,
//                       the buffer it plays through and the time of its next replay
//   DS_Sound            the live object a slide keeps; it draws nothing
//
// Without a sound device, or with WAV data that cannot be played (missing, truncated, not RIFF
// WAVE, not PCM), the object has no buffer and every sound operation does nothing: it stays
// silent and the scene plays on.
//
// Record of DS_WAV_Constructor: header, the WAV link (name, stamp), then the DS_Sound_Ctrl part:
// header, u32 volume, u32 balance, i32 random replay, u32 minimum and u32 maximum interval, then the
// DS_ABObj_Constructor part.
//
// The records are platform-free (the host build reads them); playing needs DirectSound.
#pragma once

#include <cstdint>
#include <memory>

#include "core/data/abobj_constructor.h"
#include "core/data/file_links.h"
#include "core/data/media_param.h"
#include "core/data/record_values.h"

#ifdef _WIN32
#include <windows.h>
#include <dsound.h>

#include "core/layer/ds_abobj.h"
#include "core/com/ds_com_holder.h"
#endif

class DS_Sound_Ctrl : public DS_ABObj_Constructor {
 public:
  static constexpr uint32_t kVersion = 2;  // of the nested part; each sound states its own

  DS_Sound_Ctrl() = default;
  DS_Sound_Ctrl(const DS_Sound_Ctrl& source) = default;
  DS_Sound_Ctrl& operator=(const DS_Sound_Ctrl&) = delete;

  // A new DS_Sound over a clone of this parameter set, started (LoadAndStart). The host build
  // plays nothing and makes no live object.
  std::unique_ptr<DS_ABObj> CreateObject() const override;

  // The nested part; its values are stored directly (the part's version adds nothing to read).
  template <class R>
  void Record(R& r) {
    r.About("The sound family's part of a sound object's record: its volume (0 to 100), its balance (0 left to 100 "
            "right), random replay (0: loops from scene start; otherwise plays once at random intervals) and the "
            "bounds of those intervals in seconds.");
    r.Field("volume", volume);
    r.Field("balance", balance);
    r.Field("random_replay", randomReplay);
    r.Field("min_interval", minInterval);
    r.Field("max_interval", maxInterval);
    r.Base("DS_ABObj_Constructor", static_cast<DS_ABObj_Constructor&>(*this));
  }

#ifdef _WIN32
  // Makes the buffer from the linked WAV data, sets volume and pan, and starts a looping sound.
  virtual void LoadAndStart() = 0;
  // Each returns the DirectSound result, or a failure without a buffer.
  virtual HRESULT PlayLooping() = 0;
  virtual HRESULT Stop() = 0;
  virtual HRESULT PlayOnce() = 0;
  // A random-replay sound plays once when `time` (application seconds) passes its replay time.
  virtual void UpdateReplay(float time) = 0;
#endif
  virtual std::unique_ptr<DS_Sound_Ctrl> Clone() const = 0;

  MediaParamT<uint32_t> volume{100u};     // 0..100; larger counts as 100
  MediaParamT<uint32_t> balance{50u};     // 0 left .. 100 right; larger counts as 100
  MediaParamT<int32_t> randomReplay{0};   // 0: looping from the start; else once at random intervals
  MediaParamT<uint32_t> minInterval{0u};  // seconds
  MediaParamT<uint32_t> maxInterval{5u};  // seconds
};

class DS_WAV_Constructor final : public DS_Sound_Ctrl {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_WAV_Constructor() = default;
  DS_WAV_Constructor(const DS_WAV_Constructor& source) = default;
  DS_WAV_Constructor& operator=(const DS_WAV_Constructor&) = delete;

  template <class R>
  void Record(R& r) {
    r.About("A sound object: the link naming its WAV data (a library sound, for example { \"library\": "
            "\"common_res.dll\", \"id\": 250 }), then the sound family's part.");
    r.Field("sound", wav);
    r.Base("DS_Sound_Ctrl", static_cast<DS_Sound_Ctrl&>(*this));
  }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);
  void Write(DS_IOF_Virtual& out) const override;
  std::unique_ptr<DS_Sound_Ctrl> Clone() const override;

  DS_FileLink3 wav;  // the WAV data: the first raw entry of its key (g_DocResManager)

#ifdef _WIN32
  void LoadAndStart() override;
  HRESULT PlayLooping() override;
  HRESULT Stop() override;
  HRESULT PlayOnce() override;
  void UpdateReplay(float time) override;

  IDirectSoundBuffer8* Buffer() const { return m_Buffer.Get(); }
  float NextReplayTime() const { return m_NextReplay; }

 private:
  HRESULT PlayFromStart(DWORD flags);

  DS_ComHolder<IDirectSoundBuffer8> m_Buffer;  // shared by copies, one reference each
  float m_NextReplay = 0.0f;
#endif
};

#ifdef _WIN32
class DS_Sound final : public DS_ABObj {
 public:
  // Takes the clone; it is the object's parameter set and its sound control at once.
  explicit DS_Sound(std::unique_ptr<DS_Sound_Ctrl> control);

  void Render(DS_2D_Light&) override {}
  void DrawBounds(DS_2D_Light&, int) override {}
  void SyncRect() override {}
  // While active, the random replay.
  void Update(float time) override;
  // On: plays looping from the start (a random-replay sound too); off: stops.
  void SetActive(bool on) override;
  // Plays once from the start.
  void Rewind() override;

  bool Active() const { return m_Active; }
  DS_Sound_Ctrl& Sound() const { return *m_Sound; }

 private:
  DS_Sound_Ctrl* m_Sound;  // the DS_ABObj part owns it
  bool m_Active = true;
};
#endif
