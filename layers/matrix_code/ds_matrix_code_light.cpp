#include "core/layer/layer_registry.h"
#include "layers/matrix_code/ds_matrix_code_light.h"

#include <algorithm>

#include "core/data/class_registry.h"
#include "core/render/device_globals.h"
#include "core/render/device_utils.h"
#include "core/render/draw_states.h"
#include "core/render/image_set_frames.h"
#include "core/render/render_context.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"

DS_REGISTER_LAYER(DS_MatrixCodeLight);

namespace {

// The largest cell edge taken from the record; larger edges give a one-cell grid all the same.
constexpr uint32_t kMaxCellSize = 1u << 20;

}  // namespace

DS_MatrixCodeLight::DS_MatrixCodeLight() = default;

DS_MatrixCodeLight::~DS_MatrixCodeLight() = default;

// Nested renders --------------------------------------------------------------------------------------

void DS_MatrixCodeLight::BeginNestedRender(const DS_RenderTargetPair& target, int mode) {
  DS_2D_Light::BeginNestedRender(target, mode);
  D3DSURFACE_DESC desc;
  GetBackBufferDesc(desc);
  m_NestScaleX = desc.Width ? static_cast<float>(target.width) / static_cast<float>(desc.Width) : 1.0f;
  m_NestScaleY = desc.Height ? static_cast<float>(target.height) / static_cast<float>(desc.Height) : 1.0f;
}

void DS_MatrixCodeLight::EndNestedRender() {
  DS_2D_Light::EndNestedRender();
  m_NestScaleX = m_NestScaleY = 1.0f;
}

// Device objects ------------------------------------------------------------------------------------

void DS_MatrixCodeLight::CreateDeviceObjects() {
  DS_2D_Light::CreateDeviceObjects();
  DS_2D_Light::Layout(1, 1);
  // N bands of the strip; a strip that failed to load (no width) leaves N = 2 and no texture,
  // and the layer then draws only its background.
  int32_t glyphs = 2;
  m_GlyphTexture.Reset();
  if (g_DocResManager) {
    const DS_ImageSet& strip = g_DocResManager->GetImageSet(glyphPicture);
    if (strip.width != 0) glyphs = static_cast<int32_t>(std::min(strip.height / strip.width + 2, 255u));
    m_GlyphTexture = FirstTextureOf(strip);
  }
  m_Sprites.SetTexture(m_GlyphTexture);
  m_Settings.glyphCount = glyphs;
  // The grid is made over again as each parameter is copied into the settings, the first time
  // from the settings as they were: six grids, each picking its flicker cells from rand(), so
  // that a seeded run draws the sequence documents were made with.
  RebuildGrid();
  m_Settings.cellSize = static_cast<int32_t>(std::clamp(cellSize.Get(), 1u, kMaxCellSize));
  RebuildGrid();
  ResizeSprites();
  m_Settings.density = static_cast<int32_t>(std::clamp(density.Get(), 1u, 100u));
  RebuildGrid();
  m_Settings.flickerCount = static_cast<int32_t>(std::min(flickerCount.Get(), 0x7FFFFFFFu));
  RebuildGrid();
  m_Settings.glitter = glitter.Get();
  RebuildGrid();
  m_Settings.columnMode = columnMode.Get();
  RebuildGrid();
  ResizeSprites();
  BuildLuminanceMap();
}

void DS_MatrixCodeLight::RebuildGrid() {
  const DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
  m_Cursor =
      std::make_unique<DS_MatrixCursor>(DS_MatrixGrid::Create(m_Settings, mapping.pictureWidth, mapping.pictureHeight));
}

void DS_MatrixCodeLight::ResizeSprites() {
  const DS_MatrixGrid& grid = m_Cursor->Grid();
  m_Sprites.Resize(grid.columnCount * grid.rowCount);
}

void DS_MatrixCodeLight::BuildLuminanceMap() {
  if (pictureMode.Get() == 0) {
    m_Luminance.clear();
    m_Luminance.shrink_to_fit();
    return;
  }
  if (pictureMode.Get() != 1) return;
  // A layer without a picture texture keeps the map black: no glyph shows.
  m_Luminance.assign(kMapSize * kMapSize, 0.0f);
  const DS_ComHolder<IDirect3DTexture9> copy =
      CopyTexture(m_Background.picture.texture, kMapSize, kMapSize, D3DFMT_X8R8G8B8);
  if (!copy) return;
  D3DLOCKED_RECT locked;
  if (FAILED(copy->LockRect(0, &locked, nullptr, D3DLOCK_READONLY))) return;
  for (int y = 0; y < kMapSize; ++y) {
    const auto* row = static_cast<const uint8_t*>(locked.pBits) + static_cast<ptrdiff_t>(y) * locked.Pitch;
    for (int x = 0; x < kMapSize; ++x) {
      const uint8_t* texel = row + 4 * x;  // blue, green, red, unused
      m_Luminance[y * kMapSize + x] =
          texel[0] / 255.0f * 0.114f + texel[1] / 255.0f * 0.587f + texel[2] / 255.0f * 0.299f;
    }
  }
  copy->UnlockRect(0);
}

// Frame ----------------------------------------------------------------------------------------------

void DS_MatrixCodeLight::Update(float time) { m_FrameTime = time; }

void DS_MatrixCodeLight::SetPicturePosition(int mode) {
  m_PicturePosition = mode;
  g_ViewState.Configure(m_Background.picture, m_LayerWidth, m_LayerHeight, mode, false);
  DS_2D_Light::Layout(m_LayerWidth, m_LayerHeight);
  RebuildGrid();
  ResizeSprites();
}

void DS_MatrixCodeLight::OnPictureChanged() {
  DS_2D_Light::OnPictureChanged();
  BuildLuminanceMap();
  RebuildGrid();
  ResizeSprites();
}

uint32_t DS_MatrixCodeLight::SpriteColour(const DS_MatrixSprite& sprite) const {
  float a = transparency.Derived();
  if (sprite.state == 0) a *= 0.5f;
  if (pictureMode.Get() == 1 && sprite.state != 2 && !m_Luminance.empty()) {
    const DS_MatrixGrid& grid = m_Cursor->Grid();
    const int y = static_cast<int>(static_cast<float>(sprite.row) / static_cast<float>(grid.rowCount) * kMapSize);
    const int x = static_cast<int>(static_cast<float>(sprite.column) / static_cast<float>(grid.columnCount) * kMapSize);
    a = m_Luminance[std::clamp(y, 0, kMapSize - 1) * kMapSize + std::clamp(x, 0, kMapSize - 1)] *
        transparency.Derived();
  }
  const uint32_t colour = sprite.state == 2 ? headColour.Get() : glyphColour.Get();
  const uint32_t argb = static_cast<uint32_t>(DS_FloatToLowByte(a * 255.0f)) << 24 | (colour & 0xFF) << 16 |
                        (colour & 0xFF00) | (colour >> 16 & 0xFF);
  return argb & sprite.colourMask;
}

void DS_MatrixCodeLight::StepAndFillSprites(float time) {
  m_Camera.Update(time);
  if (!m_Cursor) return;
  const DS_MatrixGrid& grid = m_Cursor->Grid();
  const DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
  const float left = mapping.mappedQuad.corners[0].x, right = mapping.mappedQuad.corners[3].x;
  const float top = mapping.mappedQuad.corners[1].y, bottom = mapping.mappedQuad.corners[2].y;
  // Back-buffer pixels per picture pixel; a picture without a size counts as one pixel.
  const float unitX = (right - left) * 0.5f / static_cast<float>(std::max(mapping.pictureWidth, 1));
  const float unitY = (bottom - top) * 0.5f / static_cast<float>(std::max(mapping.pictureHeight, 1));
  const float cell = static_cast<float>(grid.cellSize);
  const float halfW = cell * unitX * m_NestScaleX, halfH = cell * unitY * m_NestScaleY;

  m_Cursor->StepGrid(m_Sprites.SpriteCount());
  m_Sprites.Lock();
  // The camera's zoom and pan over the picture.
  float zx, zy, ox, oy;
  if (g_ViewState.mode == kPicturePositionWholeTarget) {
    zx = 1.0f / g_ViewState.inverseScaleX;
    zy = 1.0f / g_ViewState.inverseScaleY;
    ox = g_ViewState.offsetX;
    oy = g_ViewState.offsetY;
  } else {
    const D3DXMATRIX m =
        g_ViewState.secondCameraMatrix * g_ViewState.cameraMatrix * g_ViewState.picturePositionMatrix;
    zx = m._11;
    zy = m._22;
    ox = zx != 0.0f ? m._41 / zx : 0.0f;
    oy = zy != 0.0f ? m._42 / zy : 0.0f;
  }
  const float offsetX = 2.0f * ox * unitX * zx, offsetY = 2.0f * oy * unitY * zy;
  DS_MatrixSprite sprite;
  for (int i = 0; i < m_Sprites.SpriteCount(); ++i) {
    m_Cursor->NextVisibleCell(sprite, left, top, halfW, halfH);
    const D3DXVECTOR3 centre(left + (sprite.x - left) * zx + offsetX, top + (sprite.y - top) * zy + offsetY, sprite.z);
    m_Sprites.SetSpriteCorners(i, centre, D3DXVECTOR3(halfW * zx, 0.0f, 0.0f), D3DXVECTOR3(0.0f, halfH * zy, 0.0f));
    m_Sprites.SetSpriteColour(i, SpriteColour(sprite));
    m_Sprites.SetSpriteTexCoords(i, 0.0f, 1.0f, sprite.v0, sprite.v1);
  }
  m_Sprites.Unlock();
}

void DS_MatrixCodeLight::RenderBackground(bool flag) {
  StepAndFillSprites(m_FrameTime);
  if (!g_Device) return;
  if (pictureMode.Get() == 0) {
    DS_2D_Light::RenderBackground(flag);
  } else if (pictureMode.Get() == 1) {
    g_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
  }
  if (!m_GlyphTexture) return;
  SetSpriteArrayStates(false, D3DBLEND_INVSRCALPHA);  // glyph x colour, blended over the picture
  m_Sprites.Draw();
}
