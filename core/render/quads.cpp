#include "core/render/quads.h"

#include "core/render/device_globals.h"
#include "core/render/device_utils.h"
#include "core/render/layout_maths.h"
#include "core/render/mesh_ops.h"

// Screen quads ----------------------------------------------------------------------------------

void DS_ScreenQuad::Init() {
  for (int i = 0; i < 4; ++i) corners[i] = {0.0f, 0.0f, 1.0f, kUnitQuadTexCoords[i].x, kUnitQuadTexCoords[i].y};
}

void DS_ScreenQuad::SetRectangle(float left, float top, float width, float height) {
  DS_QuadCorners2 c;
  RectangleCorners(left, top, width, height, c);
  for (int i = 0; i < 4; ++i) {
    corners[i].x = c[i].x;
    corners[i].y = c[i].y;
  }
}

void DS_ScreenQuad::SetBackBuffer() {
  D3DSURFACE_DESC desc;
  GetBackBufferDesc(desc);
  Init();
  SetRectangle(0.0f, 0.0f, static_cast<float>(desc.Width), static_cast<float>(desc.Height));
}

void DS_ScreenQuad::FitPicture(const DS_TextureInfo& picture, float a, float b) {
  Init();
  const DS_FittedRect r = FitPictureRect(picture.width, picture.height, a, b);
  SetRectangle(r.left, r.top, r.width, r.height);
}

void DS_ScreenQuad::ScaleToSize(float a, float b, float width, float height) {
  const float sx = width / LayoutDimension(a);
  const float sy = height / LayoutDimension(b);
  for (Corner& c : corners) {
    c.x *= sx;
    c.y *= sy;
  }
}

void DS_ScreenQuad::ScaleToBackBuffer(float a, float b) {
  D3DSURFACE_DESC desc;
  GetBackBufferDesc(desc);
  ScaleToSize(a, b, static_cast<float>(desc.Width), static_cast<float>(desc.Height));
}

// Pre-transformed textured quads ----------------------------------------------------------------

void CopyScreenQuadTPCT(const DS_ScreenQuad& screen, DS_TexturedQuad& quad) {
  if (auto* v = static_cast<DX_V::TPCT*>(LockVertexBuffer(quad))) {
    for (int i = 0; i < 4; ++i) {
      const DS_ScreenQuad::Corner& c = screen.corners[i];
      v[i].x = c.x;
      v[i].y = c.y;
      v[i].z = 0.0f;
      v[i].rhw = c.z;
      v[i].u = c.u;
      v[i].v = c.v;
    }
  }
  UnlockVertexBuffer(quad);
}

namespace {
void SetColoursTPCT(DS_TexturedQuad& quad, DWORD colour) {
  if (auto* v = static_cast<DX_V::TPCT*>(LockVertexBuffer(quad)))
    for (int i = 0; i < 4; ++i) v[i].colour = colour;
  UnlockVertexBuffer(quad);
}
}  // namespace

void DS_TexturedQuad::SetFromScreenQuad(const DS_ComHolder<IDirect3DTexture9>& from, const DS_ScreenQuad& screen) {
  texture = from;
  CreateQuadBufferTPCT(*this);
  CopyScreenQuadTPCT(screen, *this);
  SetColoursTPCT(*this, 0xFFFFFFFF);
}

void DS_TexturedQuad::ResetFromScreenQuad(const DS_ScreenQuad& screen) {
  SetFromScreenQuad(DS_ComHolder<IDirect3DTexture9>(), screen);
}

void DS_TexturedQuad::SetPositions(const DS_ScreenQuad& screen) { CopyScreenQuadTPCT(screen, *this); }

void DS_TexturedQuad::SetAlpha(float a, float factor) {
  const DWORD alpha = TruncateToLowByte(factor * a);
  if (auto* v = static_cast<DX_V::TPCT*>(LockVertexBuffer(*this)))
    for (int i = 0; i < 4; ++i) v[i].colour = (v[i].colour & 0x00FFFFFFu) | (alpha << 24);
  UnlockVertexBuffer(*this);
}

void CenteredSquare(float width, float height, DS_ScreenQuad& out) {
  const float w = static_cast<float>(static_cast<int>(width));
  const float h = static_cast<float>(static_cast<int>(height));
  const float s = h * 2.0f / 3.0f;
  out.Init();
  out.SetRectangle((w - s) / 2.0f, (h - s) / 2.0f, s, s);
}

void MakeCenteredQuadFromResource(DS_TexturedQuad& quad, const DS_ComHolder<IDirect3DTexture9>& texture) {
  D3DSURFACE_DESC desc;
  GetBackBufferDesc(desc);
  DS_ScreenQuad square;
  CenteredSquare(static_cast<float>(desc.Width), static_cast<float>(desc.Height), square);
  quad.SetFromScreenQuad(texture, square);
}

// Picture-space quads ---------------------------------------------------------------------------

void SetQuadTexCoordsPT(DS_TexturedQuad& quad) {
  CreateQuadBufferPT(quad);
  if (auto* v = static_cast<DX_V::PT*>(LockVertexBuffer(quad))) {
    for (int i = 0; i < 4; ++i) {
      v[i].u = kUnitQuadTexCoords[i].x;
      v[i].v = kUnitQuadTexCoords[i].y;
    }
  }
  UnlockVertexBuffer(quad);
}

void SetQuadSizePT(DS_TexturedQuad& quad, float w, float h) {
  DS_QuadCorners2 c;
  RectangleCorners(0.0f, 0.0f, w, h, c);
  if (auto* v = static_cast<DX_V::PT*>(LockVertexBuffer(quad))) {
    for (int i = 0; i < 4; ++i) {
      v[i].x = c[i].x;
      v[i].y = c[i].y;
      v[i].z = 0.0f;
    }
  }
  UnlockVertexBuffer(quad);
}

void FillQuadPT(DS_TexturedQuad& quad, const float (&vertices)[20]) {
  CreateQuadBufferPT(quad);
  if (auto* v = static_cast<DX_V::PT*>(LockVertexBuffer(quad)))
    for (int i = 0; i < 4; ++i)
      v[i] = {vertices[5 * i], vertices[5 * i + 1], vertices[5 * i + 2], vertices[5 * i + 3], vertices[5 * i + 4]};
  UnlockVertexBuffer(quad);
}

void SetQuadPositionsPT(DS_TexturedQuad& quad, const float (&positions)[12]) {
  if (auto* v = static_cast<DX_V::PT*>(LockVertexBuffer(quad))) {
    for (int i = 0; i < 4; ++i) {
      v[i].x = positions[3 * i];
      v[i].y = positions[3 * i + 1];
      v[i].z = positions[3 * i + 2];
    }
  }
  UnlockVertexBuffer(quad);
}

void DS_PictureQuad::SetPicture(const DS_TextureInfo& info) {
  texture = info.texture;
  SetQuadSizePT(*this, static_cast<float>(info.width), static_cast<float>(info.height));
}

void DS_PictureQuad::LoadPicture(const DS_TextureInfo& resolved) {
  picture.Assign(resolved.width, resolved.height, resolved.texture);
  SetPicture(picture);
}

void CreateSquareTextureCopy(int n, DS_PictureQuad& quad, const DS_ComHolder<IDirect3DTexture9>& source) {
  const UINT side = 128u << n;
  quad.picture.texture = CopyTexture(source, side, side, D3DFMT_UNKNOWN);
}

// Coloured quads --------------------------------------------------------------------------------

namespace {

void CopyQuadPositionsTPC(const DS_ScreenQuad& screen, DX_V::TPC* v) {
  for (int i = 0; i < 4; ++i) {
    v[i].x = screen.corners[i].x;
    v[i].y = screen.corners[i].y;
    v[i].z = 0.0f;
    v[i].rhw = screen.corners[i].z;
  }
}

void CopyQuadPositionsPC(const DS_ScreenQuad& screen, DX_V::PC* v) {
  for (int i = 0; i < 4; ++i) {
    v[i].x = screen.corners[i].x;
    v[i].y = screen.corners[i].y;
    v[i].z = 0.0f;
  }
}

// Corner 0 := a, 1 := c, 2 := b, 3 := d: a and b are the bottom edge, c and d the top edge.
template <class V>
void SetQuadAlphas(DS_MeshBase& quad, float a, float b, float c, float d) {
  const float byCorner[4] = {a, c, b, d};
  if (auto* v = static_cast<V*>(LockVertexBuffer(quad))) {
    for (int i = 0; i < 4; ++i) {
      const DWORD alpha = TruncateToLowByte(byCorner[i] * 255.0f);
      v[i].colour = (v[i].colour & 0x00FFFFFFu) | (alpha << 24);
    }
  }
  UnlockVertexBuffer(quad);
}

}  // namespace

void MakeColouredQuadTPC(DS_MeshBase& quad, DWORD colour, const DS_ScreenQuad& screen) {
  CreateQuadBufferTPC(quad);
  if (auto* v = static_cast<DX_V::TPC*>(LockVertexBuffer(quad))) {
    CopyQuadPositionsTPC(screen, v);
    for (int i = 0; i < 4; ++i) v[i].colour = colour;
  }
  UnlockVertexBuffer(quad);
}

void MakeColouredQuadPC(DS_MeshBase& quad, DWORD colour, const DS_ScreenQuad& screen) {
  CreateQuadBufferPC(quad);
  if (auto* v = static_cast<DX_V::PC*>(LockVertexBuffer(quad))) {
    CopyQuadPositionsPC(screen, v);
    for (int i = 0; i < 4; ++i) v[i].colour = colour;
  }
  UnlockVertexBuffer(quad);
}

void SetQuadAlphasTPC(DS_MeshBase& quad, float a, float b, float c, float d) {
  SetQuadAlphas<DX_V::TPC>(quad, a, b, c, d);
}
void SetQuadAlphasPC(DS_MeshBase& quad, float a, float b, float c, float d) {
  SetQuadAlphas<DX_V::PC>(quad, a, b, c, d);
}

void SetQuadColourPC(DS_MeshBase& quad, DWORD colour) {
  if (auto* v = static_cast<DX_V::PC*>(LockVertexBuffer(quad)))
    for (int i = 0; i < 4; ++i) v[i].colour = (v[i].colour & 0xFF000000u) | (colour & 0x00FFFFFFu);
  UnlockVertexBuffer(quad);
}
