// An explosion at a fixed point of the picture: a sprite that waits (start delay), flares up
// (grow), holds, dissolves (fade) and after a pause starts again. Its look is the effect the
// document names (library effect 200 by default in our scenes): the sprite coloured through a
// gradient picture (first image link) and a noise picture (second image link). Every frame the
// kind hands the effect the phases of the cycle and a noise offset that drifts against the
// direction and is chosen afresh at every whole unit of phase - at random, or replayed from the
// stored seed so that every cycle looks the same (the replay reseeds the program's shared
// generator with srand).
//
// Record "DS_ExplosionConstructor" version 1: noise A, B, C, the direction angle, the drift
// speed, the grow, hold, fade, start-delay and pause times (ms), the seed, the random flag and
// the second colour, then the nested "DS_StatBaseFXCtrl" record.
#pragma once

#include "core/data/media_kinds.h"
#include "core/data/record_values.h"
#include "objects/base_fx_objects/ds_stat_base_fx_ctrl.h"

class DS_ExplosionConstructor final : public DS_ParticleKindT<DS_ExplosionConstructor, DS_StatBaseFXCtrl> {
 public:
  static constexpr const char16_t* kClassName = u"DS_ExplosionConstructor";
  static constexpr uint32_t kVersion = 1;
  static constexpr uint32_t kMinVersion = 1;

  // What the effect is given for one frame.
  struct ShaderInputs {
    float color1[3], color2[3];
    float noiseShift[4];
    float noiseParams[3];
    float time[2];
    float phase3[2];
    float phase1;
  };

  DS_ExplosionConstructor();
  // Every member, the running state included; the direction's axes made from the angle.
  DS_ExplosionConstructor(const DS_ExplosionConstructor& source);

  template <class R>
  void Record(R& r) {
    r.About("An explosion: noise A (heat boost 1 - value x 0.01), noise B (noise bite, value x 0.01), noise C "
            "(growth hold-down, value x 0.01), the drift direction in degrees, the drift speed (value x 0.005 per "
            "unit of phase), the grow, hold, fade, start-delay and pause times in ms, the seed, random noise (0: "
            "offsets replayed from the seed), the second (cold) colour 0x00BBGGRR; then the fixed-point level. Its "
            "effect is 200 of common_res.dll; the first picture is the gradient (201), the overlay the noise (8); "
            "the sprite colour is the hot tint and the size (250 by default) its diameter.");
    OwnFields(r);
    r.Base("DS_StatBaseFXCtrl", static_cast<DS_StatBaseFXCtrl&>(*this));
  }
  // The fields before the nested part. The scaled values go through their change path, so that
  // the derived numbers follow; the direction is stored without its axes.
  template <class R>
  void OwnFields(R& r) {
    r.Field("noise_a", noiseA);
    r.Field("noise_b", noiseB);
    r.Field("noise_c", noiseC);
    r.Field("direction", static_cast<MediaParamT<uint32_t>&>(direction));
    r.Field("drift", static_cast<UINTSclaleTo<float>&>(noiseDrift));
    r.Field("grow", growTime);
    r.Field("hold", holdTime);
    r.Field("fade", fadeTime);
    r.Field("start_delay", startDelay);
    r.Field("pause", pauseTime);
    r.Field("seed", seed);
    r.Field("random_noise", randomNoise);
    r.Field("colour2", colour2);
  }
  void WriteOwnFields(DS_IOF_Virtual& out) const {
    DS_RecordWriter writer(out, kVersion);
    const_cast<DS_ExplosionConstructor*>(this)->OwnFields(writer);
  }
  void ReadOwnFields(DS_IOF_Virtual& in) {
    DS_RecordReader reader(in, kVersion);
    OwnFields(reader);
  }

  // The slide became current: the cycle, the offsets, the pair counter and the drift start again.
  void Restart() override;
  // Advances the cycle by the frame time and sizes and fades the sprite for it.
  void UpdateParticle(DS_Particle& particle) override;
  // The next noise offset: fresh random numbers, or (random noise off) the pair numbered by the
  // counter in the sequence the seed starts, the counter then moving on.
  void NextRandomPair();
  // This frame's effect inputs; at a new whole unit of phase the offset moves on first.
  ShaderInputs ComputeShaderInputs();
  // The drift's phase (its speed integrated over the control's phase since the last restart).
  float DriftPhase() const { return driftPhase; }

#ifdef _WIN32
  // The effect and the placement, the gradient and noise pictures, the first offset.
  void CreateDeviceObjects() override;
  // Technique "Main" with the two pictures and this frame's inputs.
  bool PrepareRender(DS_2D_Light& layer) override;
#endif

  UINTSclaleTo<float> noiseA, noiseB, noiseC;
  MediaDirection direction;
  MediaSpeedParam noiseDrift;
  MediaParamT<uint32_t> growTime{0u}, holdTime{0u}, fadeTime{0u}, startDelay{0u}, pauseTime{0u};
  MediaParamT<uint32_t> seed{0u};
  MediaParamT<int32_t> randomNoise{0};
  MediaColor colour2;
  float previousShift[2] = {0.0f, 0.0f};
  float currentShift[2] = {0.0f, 0.0f};
  float lastSecond = 0.0f;
  int32_t pairCounter = 1;
  float elapsed = 0.0f;  // ms of the current cycle

 private:
  void RestartCycle();
  void AdvanceDrift(float time);

  float driftPhase = 0.0f, driftLastTime = 0.0f;
#ifdef _WIN32
  DS_ComHolder<IDirect3DTexture9> gradientTexture, noiseTexture;
#endif
};
