// Water: inside the mask the picture becomes a rippling, tinted water surface drifting along a
// direction, shaded with a tiling bump picture (effect 90, bump picture 89).
#pragma once

#include "brushes/fx_base/ds_fx_constructor.h"
#include "core/data/change_listeners.h"

class DS_WaterFX final : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;
  static constexpr int kEffectId = 90;
  static constexpr int kBumpPictureId = 89;

  DS_WaterFX();
  DS_WaterFX(const DS_WaterFX& source);
  DS_WaterFX& operator=(const DS_WaterFX&) = delete;
  ~DS_WaterFX() override;

  void Write(DS_IOF_Virtual& out) const override;
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);
  std::unique_ptr<DS_FX_Constructor> Clone() const override { return std::make_unique<DS_WaterFX>(*this); }
  // The bump picture, bound as "BumpMap" (none for a picture that resolved to nothing).
  std::vector<DS_ResourceKey> Pictures() const override { return {bumpLink.Key()}; }
  // The phase, then the rotating bump transform.
  void Advance(float t) override;

  // `direction` from `angle` (listener callback).
  void UpdateDirection();
  // "P2"'s middle value for a shape factor u: (sqrt(q) + q) / (q - 1) with q = 2 / u - 1, and 1
  // where that has no finite value (u of 0, 1 or above 2).
  static float ShapeSlope(float u);

  UINTSclaleTo<float> shapeFactor;
  UINTSclaleTo<float> bumpScale;
  UINTSclaleTo<float> amplitude;
  UINTSclaleTo<float> wavelength;
  MediaParamT<uint32_t> angle{40u};  // degrees: where the water drifts
  UINTSclaleTo<float> shadows;
  UINTSclaleTo<float> halfVectorZ;
  MediaColor colour;  // red in the low byte
  DS_ImageFileLink bumpLink;
  float bumpTransform[4] = {};
  DS_Vector4 direction;
  DS_ListenerSet listeners;

  // "BumpMap", "BampTrans", "P1", "P2", "Time", "Direction1", "Direction2", "Shadows", "Vhalf"
  // and "Color".
  void CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const override;

 private:
  void AttachListener();
};
