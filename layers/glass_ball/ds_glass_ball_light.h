// The glass-ball layer: the slide's finished scene (the picture and every object over it) seen
// through a glass sphere that floats over a backdrop. The sphere is a flat square in a small
// perspective view; a generated hemisphere bump map displaces the lookup into the scene texture
// (stage 1, its coordinates made from the camera-space position through a texture matrix), so
// the ball shows the scene magnified and bent. Two highlight overlays lie over the square, a rim
// mask repaints the square's corners with the backdrop so that a disc remains, and a stand may
// stand below it. The backdrop is a vertical gradient or a picture of its own; the scene inside
// the ball scrolls sideways without end or sways.
#pragma once

#include <d3dx9.h>

#include <cstdint>

#include "core/data/media_kinds.h"
#include "core/layer/ds_2d_light.h"
#include "layers/glass_ball/ds_glass_ball_light_params.h"
#include "layers/glass_ball/glass_ball_maths.h"

// The part first, so that it outlives the base layer (whose listeners go first).
class DS_GlassBallLight : public DS_GlassBallLightParams, public DS_2D_Light {
 public:
  using DS_GlassBallLightParams::kVersion;

  DS_GlassBallLight();
  ~DS_GlassBallLight() override;

  // Record ---------------------------------------------------------------------------------------
  // "DS_GlassBallLight" version 1: the four links, scroll speed, ball position, size, lens, the
  // five switches, the two gradient colours, then the base part. The plain flag is not stored.
  template <class R>
  void Record(R& r) {
    DS_WalkRecord(static_cast<DS_GlassBallLightParams&>(*this), r);
    r.Base("DS_2D_Light", static_cast<DS_2D_Light&>(*this));
  }
  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_GlassBallLight"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }

  // Device objects: the textures, buffers and quads are managed and made once; the scroll quads
  // hold a render-target texture, which the loss lets go of with the base's target pair. The
  // reset is the base's: each pass of the post render sets its own transforms and states.
  void CreateDeviceObjects() override;
  void OnDeviceLost() override;

  // Frame ----------------------------------------------------------------------------------------
  void BeginNestedRender(const DS_RenderTargetPair& target, int mode) override;
  void EndNestedRender() override;
  void PostRender() override;
  void RenderBackground(bool flag) override;
  void Update(float time) override;
  void Layout(int width, int height) override;
  void SetPicturePosition(int mode) override;
  bool HasDistortion() override { return plain.Get() == 0; }

  // Parameters, in record order.
  MediaParamT<int32_t> plain{0};  // not stored: while 0 the layer renders into its target

  // What the tests look at.
  const Texture& BumpTexture() const { return m_Bump; }
  const Texture& RimMask() const { return m_RimMask; }
  const Texture& GradientTexture() const { return m_Gradient; }
  const DS_LensConstants& Lens() const { return m_Lens; }
  float SwayValueNow() const { return m_Sway; }
  float PictureScaleX() const { return m_Kx; }
  float PictureScaleY() const { return m_Ky; }

 private:
  HRESULT MakeBumpTexture();
  HRESULT MakeRimMask();
  void MakeGradientTexture();
  void ComputeLensConstants();
  void SetBallTransforms(bool refraction);
  void UseGradientBackdrop();
  void ChooseBackdrop();
  void LoadBallPicture();
  bool MakeStrip(DS_SimpleMesh<DX_V::PT2>& strip, const DX_V::PT2 (&vertices)[4]);
  void DrawStrip(const DS_SimpleMesh<DX_V::PT2>& strip);
  // The back buffer's size, or the layer's while nested; never 0.
  void TargetSize(float& width, float& height) const;

  Texture m_Bump, m_RimMask, m_Gradient;
  DS_TextureInfo m_BallPicture;
  Texture m_OverlayA, m_OverlayB, m_Stand;
  DS_SimpleMesh<DX_V::PT2> m_Ball, m_StandStrip;
  DS_SimpleMesh<DX_V::TPC> m_Bars[4];
  DS_TexturedQuad m_Backdrop, m_Scroll[2];

  DS_LensConstants m_Lens = {-600.0f, 1.0f, 0.0f};
  float m_Sway = 0.0f;
  float m_Kx = 1.0f, m_Ky = 1.0f;
  int m_EffectiveMode = 1, m_SavedMode = 1;
  float m_Sx = 1.0f, m_Sy = 1.0f, m_Ox = 0.0f, m_Oy = 0.0f;
  bool m_Nested = false;
  int m_SavedWidth = 0, m_SavedHeight = 0;
  D3DXMATRIX m_TextureMatrix;
};
