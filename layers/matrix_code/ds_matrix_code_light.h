// The falling-code layer: columns of glyphs fall down a grid of square cells over the picture,
// one cell per rendered frame. Each cell shows one band of the glyph strip as a screen sprite,
// tinted by the glyph colour (the head colour for bright cells). In picture mode 1 the background
// is black and each glyph is as opaque as the picture is bright under it, so the picture shows
// through the code. The grid (matrix_grid.h) lives in the picture's pixels and follows the
// layer camera's zoom and pan.
//
// Record "DS_MatrixCodeLight" version 2: u32 cell size, density, flicker count; int32 glitter,
// picture mode, column mode; u32 glyph colour, head colour, transparency; the glyph picture link
// (from version 2 on); the nested base layer.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/data/file_links.h"
#include "core/data/media_kinds.h"
#include "core/layer/ds_2d_light.h"
#include "core/render/screen_sprite_batch.h"
#include "layers/matrix_code/ds_matrix_code_light_params.h"
#include "layers/matrix_code/matrix_grid.h"

// The part first, so that it outlives the base layer (whose listeners go first).
class DS_MatrixCodeLight final : public DS_MatrixCodeLightParams, public DS_2D_Light {
 public:
  using DS_MatrixCodeLightParams::kVersion;
  using DS_MatrixCodeLightParams::kMinVersion;
  using DS_MatrixCodeLightParams::kGlyphStripId;
  static constexpr int kMapSize = 256;  // the luminance map is kMapSize x kMapSize

  DS_MatrixCodeLight();
  ~DS_MatrixCodeLight() override;

  // Record -------------------------------------------------------------------------------------
  template <class R>
  void Record(R& r) {
    DS_WalkRecord(static_cast<DS_MatrixCodeLightParams&>(*this), r);
    r.Base("DS_2D_Light", static_cast<DS_2D_Light&>(*this));
  }
  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_MatrixCodeLight"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }

  void BeginNestedRender(const DS_RenderTargetPair& target, int mode) override;
  void EndNestedRender() override;

  // Device objects: the glyph strip and the sprites are managed and survive a reset; the grid and
  // the luminance map are plain memory. The loss and the reset are the base's (the target pair).
  void CreateDeviceObjects() override;

  // Frame --------------------------------------------------------------------------------------
  void RenderBackground(bool flag) override;
  void Update(float time) override;
  void SetPicturePosition(int mode) override;
  void OnPictureChanged() override;

  // A new empty grid for the current picture and settings (new random state).
  void RebuildGrid();
  // One sprite per cell of the grid.
  void ResizeSprites();
  // Picture mode 1: the picture's brightness, kMapSize x kMapSize; mode 0: none.
  void BuildLuminanceMap();
  // One frame of the grid, written into the sprites.
  void StepAndFillSprites(float time);

  const DS_MatrixCursor* Cursor() const { return m_Cursor.get(); }
  const DS_MatrixSettings& Settings() const { return m_Settings; }
  const std::vector<float>& LuminanceMap() const { return m_Luminance; }
  const DS_ScreenSpriteBatch& Sprites() const { return m_Sprites; }

 private:
  // The ARGB colour of a sprite in `state` over the cell at (row, column).
  uint32_t SpriteColour(const DS_MatrixSprite& sprite) const;

  DS_ScreenSpriteBatch m_Sprites;
  DS_ComHolder<IDirect3DTexture9> m_GlyphTexture;
  std::unique_ptr<DS_MatrixCursor> m_Cursor;
  DS_MatrixSettings m_Settings;
  std::vector<float> m_Luminance;  // empty: no map
  float m_FrameTime = 0.0f;
  float m_NestScaleX = 1.0f, m_NestScaleY = 1.0f;
};
