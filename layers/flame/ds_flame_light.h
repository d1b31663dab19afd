// The flame layer: over the slide's picture a band of procedural fire along its lower part, drawn
// through the embedded fire's effect ("AsEffect" of effect 92), and, with the distortion on, the
// finished scene - objects included - drawn once more through the heat distortion, so that it
// shimmers. For the distortion the layer asks for its render target: the slide draws the scene
// into it and the layer's post render draws it to the screen.
//
// The fire is a whole DS_FireFX record nested in the layer's: the layer copies a freshly read one
// into its own, binds it when it makes its device objects, and advances and draws it itself.
#pragma once

#include <cstdint>

#include "brushes/fire_fx/ds_fire_fx.h"
#include "core/layer/ds_2d_light.h"
#include "layers/flame/ds_flame_light_params.h"
#include "layers/flame/ds_heat_distortion.h"

// The part first, so that it outlives the base layer (whose listeners go first).
class DS_FlameLight : public DS_FlameLightParamsT<DS_HeatDistortion>, public DS_2D_Light {
 public:
  using Params = DS_FlameLightParamsT<DS_HeatDistortion>;
  using Params::kVersion;
  using Params::kMinVersion;
  using Params::kPatternPictureId;
  // The band covers this share of the picture's height, up from its bottom edge.
  static constexpr float kBandShare = 0.65f;
  // Each unit of the fire offset moves the band down by this share of the picture's height.
  static constexpr float kOffsetStep = 0.005f;

  DS_FlameLight();
  ~DS_FlameLight() override;

  // Record ---------------------------------------------------------------------------------------
  // "DS_FlameLight" version 2: fire on, distortion on, fire offset, the distortion's bump and
  // effect links and its three values, the nested "DS_FireFX" record, the base part.
  template <class R>
  void Record(R& r) {
    DS_WalkRecord(static_cast<Params&>(*this), r);
    r.Base("DS_2D_Light", static_cast<DS_2D_Light&>(*this));
  }
  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_FlameLight"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }

  // Device objects: the band and the distortion quad are managed and made once; the fire's grid
  // and pictures, the bump picture and both effects belong to the resource manager, which the
  // scene tells of device loss and reset. The loss is the base's; the reset is the base's (the
  // target pair) and lays the layer out again; it sets no state that a pass needs.
  void CreateDeviceObjects() override;
  void OnDeviceReset() override;

  // Frame ----------------------------------------------------------------------------------------
  void Update(float time) override;
  // The picture, then the fire band (when the fire is on and its effect was built).
  void RenderBackground(bool flag) override;
  // The distortion pass from the target to the screen when the slide began the target render
  // for it, then the borders.
  void PostRender() override;
  // Exactly when distortion on is 1; any other stored value draws as 0.
  bool HasDistortion() override { return distortionOn.Get() == 1; }
  // The picture, the layout, the distortion quad and the band, from the picture's size.
  void OnPictureChanged() override;

  // The band's top and bottom edge in picture pixels for a picture `height` pixels high.
  static void BandEdges(float height, uint32_t offset, float (&edges)[2]);

  const DS_TexturedQuad& FireQuad() const { return m_FireQuad; }

 private:
  DS_TexturedQuad m_FireQuad;  // the band the fire is drawn on
};
