// The flame layer's heat distortion: the finished scene drawn again through effect 63, each pixel
// fetched a little away from its place by a tiling bump picture (62) that drifts with time, so
// that the whole scene shimmers as through hot air. A part of DS_FlameLight: the layer reads and
// writes its values in its own record and drives it.
#pragma once

#include <d3dx9.h>

#include "core/com/ds_com_holder.h"
#include "core/render/quads.h"
#include "layers/flame/ds_flame_light_params.h"

class DS_2D_Light;

// The stored values (links, speed, strength, bump scale) are its platform-free part.
class DS_HeatDistortion : public DS_HeatDistortionValues {
 public:
  DS_HeatDistortion() = default;
  DS_HeatDistortion(const DS_HeatDistortion&) = delete;
  DS_HeatDistortion& operator=(const DS_HeatDistortion&) = delete;

  // The quad over an 800 x 600 picture (the layer sizes it), the bump picture's first frame and
  // the effect, both through the current resource manager, which owns them and takes them
  // through device loss and reset. Returns whether an effect is held.
  bool CreateDeviceObjects();
  // The quad over a picture of width x height and the bump's aspect, height / width (1 for a
  // picture that resolved to nothing).
  void SetSize(unsigned width, unsigned height);
  // The drift advanced to the application time t, and "stenght", "Offset" and "bump_scale" on the
  // effect. Nothing without an effect.
  void Update(float time);
  // The scene texture over the quad through "BumpmapDistortLow2", replacing what is drawn; the
  // effect lets go of the texture afterwards. Nothing without an effect.
  void Draw(DS_2D_Light& layer, IDirect3DTexture9* scene);

  // The values "stenght", "Offset" and "bump_scale" get at the current phase. Without a bump
  // picture the unbound bump reads as black, which would move every pixel by the strength
  // alike: the strength is then 0, and the scene is drawn unmoved.
  float Strength() const { return bumpTexture ? strength.Derived() * 0.05f : 0.0f; }
  void Offset(float (&offset)[2]) const;
  void BumpScale(float (&scale)[2]) const;

  DS_TexturedQuad quad;  // picture space, the scene texture's unit square
  DS_ComHolder<ID3DXEffect> effect;
  DS_ComHolder<IDirect3DTexture9> bumpTexture;
  float aspect = 1.0f;
};
