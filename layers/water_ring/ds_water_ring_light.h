// The water-ring layer: the picture as the floor of a pool seen from straight above through
// rippling water. Rings spread from random drops and bend the picture below; one directional
// light with a specular material glints on the waves. In render mode 1 the whole slide scene
// (picture and objects) goes through the layer's render target first and the water shows that;
// otherwise the water shows the layer picture and the objects are drawn over it, unlit.
//
// Record "DS_WaterRingLight" version 2: u32 wave speed, row density, resolution, drop strength,
// damping, depth, drop rate, specular and shininess; int32 render mode; the nested base layer.
// Version 1 holds only the render mode before the base layer.
#pragma once

#include <d3dx9.h>

#include <cstdint>
#include <memory>

#include "core/data/media_kinds.h"
#include "core/layer/ds_2d_light.h"
#include "layers/water_ring/ds_ripple_surface.h"
#include "layers/water_ring/ds_water_ring_light_params.h"

// The part first, so that it outlives the base layer (whose listeners go first).
class DS_WaterRingLight final : public DS_WaterRingLightParams, public DS_2D_Light {
 public:
  using DS_WaterRingLightParams::kVersion;
  using DS_WaterRingLightParams::kMinVersion;
  // The eye above the water: the camera's position and the eye of every ripple step.
  static constexpr float kEyeHeight = 120.0f;

  DS_WaterRingLight();
  ~DS_WaterRingLight() override;

  // Record -------------------------------------------------------------------------------------
  template <class R>
  void Record(R& r) {
    DS_WalkRecord(static_cast<DS_WaterRingLightParams&>(*this), r);
    r.Base("DS_2D_Light", static_cast<DS_2D_Light&>(*this));
  }
  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_WaterRingLight"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }

  // Objects are drawn unlit over the lit water: the base draws, whose states turn lighting off.

  // Device objects: the surface's buffers live in the default pool, released on a loss and made
  // again (with still water and one drop) on every reset, beside the base layer's target pair.
  // The first creation sizes the surface and so makes them already: their first lock costs a
  // wait on the renderer, which the scene start takes rather than the slide's first showing.
  void CreateDeviceObjects() override;
  void OnDeviceLost() override;
  void OnDeviceReset() override;

  // Frame --------------------------------------------------------------------------------------
  void PostRender() override;
  void RenderBackground(bool flag) override;
  void Update(float time) override;
  void Layout(int width, int height) override;
  void SetPicturePosition(int mode) override;
  bool HasDistortion() override { return renderMode.Get() == 1; }

  // Draws the water with `texture` under it.
  void DrawWater(IDirect3DTexture9* texture);
  // Sizes the surface for the layer picture (still water) and lets one drop fall at random.
  void SetupSurface();
  void SetMaterial();
  void SetDamping();

  DS_RippleSurface& Surface() { return *m_Surface; }
  const D3DXMATRIX& Projection() const { return m_Projection; }

 private:
  // The light and material on the device, set by the draw of the water each time.
  void ApplyLight() const;

  std::unique_ptr<DS_RippleSurface> m_Surface = std::make_unique<DS_RippleSurface>();
  D3DXVECTOR3 m_LightDirection{0.5f, -1.0f, 1.0f};
  D3DXCOLOR m_LightColour{1.0f, 1.0f, 1.0f, 1.0f};
  D3DMATERIAL9 m_Material{};
  D3DXMATRIX m_World, m_View, m_CameraMatrix, m_Projection;
  float m_LastDropTime = 0.0f;
  int m_LayoutWidth = 0, m_LayoutHeight = 0;
};
