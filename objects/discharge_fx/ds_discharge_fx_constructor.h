// An electric discharge between two points of the picture, drawn through the glow effect: a
// chain of segments along a jagged path, one sprite per segment, with a glow around it. Every 0.1
// of phase the path the chain was moving to becomes the one it moves from and a fresh target path
// is drawn; in between the chain moves from the one towards the other at the morph rate. Each
// segment shows one half of the bolt picture (top or bottom, either way up, picked anew at the
// flicker interval), the first and the last with the picture's tapered ends.
#pragma once

#include <vector>

#include "objects/discharge_fx/discharge_path.h"
#include "objects/base_glow/ds_glow_effect_ctrl.h"

class DS_DischargeFXConstructor final : public DS_ParticleKindT<DS_DischargeFXConstructor, DS_GlowEffectCtrl> {
 public:
  static constexpr const char16_t* kClassName = u"DS_DischargeFXConstructor";
  static constexpr uint32_t kVersion = 1;
  static constexpr uint32_t kMinVersion = 1;
  // The library's bolt pictures: 95 for a texture choice other than 0, else 98.
  static constexpr int kBoltPicture = 95;
  static constexpr int kBranchedBoltPicture = 98;
  static constexpr float kRegenerationPhase = 0.1f;
  // Where the segments join inside the bolt picture: the ends outside are the discharge's tips.
  static constexpr float kJoinLeft = 0.195f, kJoinRight = 0.805f;

  DS_DischargeFXConstructor();
  DS_DischargeFXConstructor(const DS_DischargeFXConstructor& source) = default;

  // The scaled values are read through their change path, so that the derived numbers follow.
  template <class R>
  void Record(R& r) {
    r.About("An electric discharge drawn through effect 97 with a glow: a chain of `count` segments from the start "
            "point to the end point (picture pixels), each turned aside by up to jitter x 0.01 of the remaining way "
            "and drawn anew every 0.1 of phase, the drawn chain moving towards the new one at morph x 0.1 per unit "
            "of phase. The bolt picture is the library's 95 (texture 1) or 98 (texture 0), chosen anew every 0.1 - "
            "flicker x 0.001 seconds; `size` is the bolt's width in pixels.");
    r.Field("start", startPoint);
    r.Field("end", endPoint);
    r.Field("jitter", jitter);
    r.Field("texture", textureChoice);
    r.Field("flicker", flickerInterval);
    r.Field("morph", morphRate);
    r.Base("DS_GlowEffectCtrl", static_cast<DS_GlowEffectCtrl&>(*this));
  }

  // Both paths made anew at the segment count (a particle is not touched).
  void SpawnParticle(DS_Particle& p) override;
  // The next segment of the chain, between the two paths at the time since the last new path.
  void UpdateParticle(DS_Particle& p) override;
  // The first segment comes next; a new target path when more than 0.1 of phase has passed.
  void UpdateFX() override;

#ifdef _WIN32
  // The effect, the bolt picture the texture choice names (replacing the first picture link),
  // the glow picture; a set not yet placed runs from 100 pixels inside the view's top left to 100
  // inside its bottom right.
  void CreateDeviceObjects() override;
#endif

  // The segments of the chain: the count, at most what one geometry draws.
  uint32_t SegmentCount() const;
  // `path` (of its own length) from the start to the end point with the current jitter.
  void GeneratePath(std::vector<DS_DischargeSegment>& path) const;

  MediaParamT<DS_Vector3> startPoint;  // picture pixels
  MediaParamT<DS_Vector3> endPoint;
  UINTSclaleTo<float> jitter;           // x 0.01: the sideways randomness
  MediaParamT<int32_t> textureChoice{1};
  UINTSclaleTo<float> flickerInterval;  // 0.1 - 0.001 x value seconds between flickers
  UINTSclaleTo<float> morphRate;        // x 0.1 per unit of phase
  std::vector<DS_DischargeSegment> pathFrom, pathTo;
  int32_t segmentIndex = 0;
  float lastRegeneration = 0.0f;

 private:
  void ResizeAndGenerateBoth();
};
