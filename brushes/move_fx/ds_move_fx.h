// Move: the picture inside the mask shifts back and forth along a direction, smoothly (a sine)
// or unsteadily (noise) (effect 91, which the document carries).
#pragma once

#include "brushes/base_direction/ds_direction_based.h"

class DS_MoveFX final : public DS_DirectionBased {
 public:
  static constexpr uint32_t kVersion = 1;
  static constexpr int kEffectId = 91;
  enum Mode : int32_t { kSine = 0, kNoise = 1 };

  DS_MoveFX();
  DS_MoveFX(const DS_MoveFX& source) = default;
  DS_MoveFX& operator=(const DS_MoveFX&) = delete;

  template <class R>
  void Record(R& r) {
    r.About("The picture inside the mask shifted back and forth along the direction by up to the strength: mode 1 "
            "moves with noise, any other value with a sine. The kind starts at speed 50 with effect 91.");
    r.Field("mode", mode);
    r.Base("DS_DirectionBased", static_cast<DS_DirectionBased&>(*this));
  }

  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_MoveFX"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }
  std::unique_ptr<DS_FX_Constructor> Clone() const override { return std::make_unique<DS_MoveFX>(*this); }
  // The phase, then the displacement at it.
  void Advance(float t) override;

  // "Direction": the displacement.
  void CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const override;

  MediaParamT<int32_t> mode{kSine};  // 1 moves with noise, any other value with a sine
  float displacement[2] = {};
};
