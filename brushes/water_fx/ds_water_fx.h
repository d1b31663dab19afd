// Water: inside the mask the picture becomes a rippling, tinted water surface drifting along a
// direction, shaded with a tiling bump picture (effect 90, bump picture 89).
#pragma once

#include "brushes/base_fx/ds_fx_constructor.h"
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

  template <class R>
  void Record(R& r) {
    r.About("A rippling water surface inside the mask: shape factor (x 0.0001), bump scale (x 0.001), amplitude "
            "(x 0.00025), wavelength (0.001 + x 0.0005), the drift angle in degrees, shadows (x 0.01), the half "
            "vector's z (x 0.1), the tint (red in the low byte) and the bump picture (common_res.dll 89). The "
            "kind starts at speed 50 and scale 30 with effect 90.");
    r.Field("shape", shapeFactor);
    r.Field("bump_scale", bumpScale);
    r.Field("amplitude", amplitude);
    r.Field("wavelength", wavelength);
    r.Field("angle", angle);
    r.Field("shadows", shadows);
    r.Field("half_vector_z", halfVectorZ);
    r.Field("colour", colour);
    r.Field("bump", bumpLink);
    r.Base("DS_FX_Constructor", static_cast<DS_FX_Constructor&>(*this));
  }

  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_WaterFX"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }
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
