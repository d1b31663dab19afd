#include "core/layer/layer_registry.h"
#include "layers/lake/fake_lake_2d.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/data/class_registry.h"
#include "core/data/file_links.h"
#include "core/layer/layer_drawing.h"
#include "core/render/device_globals.h"
#include "core/render/draw_states.h"
#include "core/render/layout_maths.h"
#include "core/render/mesh_ops.h"
#include "core/render/render_target_pair.h"
#include "core/resources/doc_res_manager.h"
#include "core/resources/resource_cache.h"

DS_REGISTER_LAYER(FakeLake2D);

namespace {

void ToLakeQuad(const DS_ScreenQuad& screen, DS_LakeQuad& out) {
  for (int i = 0; i < 4; ++i) {
    const DS_ScreenQuad::Corner& c = screen.corners[i];
    out[i] = {c.x, c.y, c.z, c.u, c.v};
  }
}

void FromLakeQuad(const DS_LakeQuad& quad, DS_ScreenQuad& out) {
  for (int i = 0; i < 4; ++i) out.corners[i] = {quad[i].x, quad[i].y, quad[i].z, quad[i].u, quad[i].v};
}

// Positions (z 0) of a coloured picture-space quad; colours kept.
void SetPositionsPC(DS_MeshBase& quad, const DS_Corner2 (&corners)[4]) {
  if (auto* v = static_cast<DX_V::PC*>(LockVertexBuffer(quad))) {
    for (int i = 0; i < 4; ++i) {
      v[i].x = corners[i].x;
      v[i].y = corners[i].y;
      v[i].z = 0.0f;
    }
  }
  UnlockVertexBuffer(quad);
}

}  // namespace

FakeLake2D::FakeLake2D() { static_cast<DS_MaskKey&>(maskKey) = MakeNewMaskEntry(); }

FakeLake2D::~FakeLake2D() = default;

// Record ---------------------------------------------------------------------------------------------

void FakeLake2D::Write(DS_IOF_Virtual& out) const {
  // The bump map travels with the document as the mask of the layer's key.
  if (g_DocResManager && m_Bump) g_DocResManager->Store().maskTextures[maskKey] = DS_MaskTexture{m_Bump, {}};
  DS_WriteRecord(out, *this, "FakeLake2D");
}

// Device objects ------------------------------------------------------------------------------------

void FakeLake2D::CreateDeviceObjects() {
  DS_2D_Light::CreateDeviceObjects();
  DS_ScreenQuad screen;
  screen.SetBackBuffer();
  DS_LakeQuad mirrored;
  ToLakeQuad(screen, mirrored);
  MirrorQuad(mirrored, reflectionShare.Derived());
  FromLakeQuad(mirrored, screen);
  CreateWaveMesh();
  const DWORD tint = LakeTintColour(colour.Get());
  MakeColouredQuadPC(m_Tint, tint, screen);
  MakeColouredQuadPC(m_Strip, tint, screen);
  SetLakeAlphas();
  // The document's bump map is kept on the first creation; a lake made again computes its own,
  // and so does one whose document holds none (there is nothing to keep), so that it ripples.
  IDirect3DTexture9* const mask = g_DocResManager ? g_DocResManager->GetMaskTexture(maskKey) : nullptr;
  if (keepBumpMap == 0 || !mask) m_Bump = ComputeLakeBumpMap();
  OnPictureChanged();  // picture, layout, square copy, lake layout
  SetWaveTiling(waveTiling.Derived(), m_WaveVertices);
  WriteWaveVertices(m_WaveVertices);
  SetQuadColourPC(m_Tint, tint);
  SetQuadColourPC(m_Strip, tint);
  // The document's mask for the layer's key is the bump map; where it holds none the computed
  // one stays (none either when the wave heights could not be had: the reflection is then drawn
  // undisplaced).
  if (mask) m_Bump.Share(mask);
  keepBumpMap = 0;
}

FakeLake2D::Texture FakeLake2D::ComputeLakeBumpMap() const {
  Texture bump;
  IDirect3DDevice9* const d = g_Device;
  if (!d || !g_ResourceCache || !g_ResourceCache->cache) return bump;
  const Texture waves = g_ResourceCache->cache->GetResourceTexture(kWaveHeightsId);
  D3DSURFACE_DESC desc{};
  if (!waves || FAILED(waves->GetLevelDesc(0, &desc))) return bump;
  const UINT w = desc.Width, h = desc.Height;
  // The heights drawn into a target of their size: the wave picture, and over it a grey that
  // fades from the bump fade at the top edge (the horizon's side) to nothing at the bottom.
  DS_RenderTargetPair offScreen;  // only saves the device's targets and puts them back
  Texture target;
  if (FAILED(d->CreateTexture(w, h, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, target.Receive(),
                              nullptr)) ||
      !offScreen.Begin(target))
    return bump;
  const bool began = SUCCEEDED(d->BeginScene());  // inside a frame already, the frame's scene serves
  const float right = static_cast<float>(w) - 0.5f, bottom = static_cast<float>(h) - 0.5f;
  const DX_V::TPCT picture[4] = {{-0.5f, bottom, 0.0f, 1.0f, 0xFFFFFFFFu, 0.0f, 1.0f},
                                 {-0.5f, -0.5f, 0.0f, 1.0f, 0xFFFFFFFFu, 0.0f, 0.0f},
                                 {right, bottom, 0.0f, 1.0f, 0xFFFFFFFFu, 1.0f, 1.0f},
                                 {right, -0.5f, 0.0f, 1.0f, 0xFFFFFFFFu, 1.0f, 0.0f}};
  SetPictureStates();
  d->SetTexture(0, waves.Get());
  d->SetFVF(DX_V::TPCT::kFormat);
  d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, picture, DX_V::TPCT::kStride);
  // A fade beyond the whole (only a damaged document has one) is the whole.
  const float fade = std::min(std::max(bumpFade.Derived(), 0.0f), 1.0f);
  const DWORD top = static_cast<DWORD>(DS_FloatToInt32(fade * 255.0f)) << 24 | 0x808080u;
  const DX_V::TPC grey[4] = {{-0.5f, bottom, 0.0f, 1.0f, 0x00808080u},
                             {-0.5f, -0.5f, 0.0f, 1.0f, top},
                             {right, bottom, 0.0f, 1.0f, 0x00808080u},
                             {right, -0.5f, 0.0f, 1.0f, top}};
  SetColouredQuadStates();
  d->SetTexture(0, nullptr);
  d->SetFVF(DX_V::TPC::kFormat);
  d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, grey, DX_V::TPC::kStride);
  if (began) d->EndScene();
  offScreen.End();

  // The heights read back (red), and the bump map made from them in V8U8.
  DS_ComHolder<IDirect3DSurface9> level, copy;
  D3DLOCKED_RECT locked;
  if (FAILED(target->GetSurfaceLevel(0, level.Receive())) ||
      FAILED(d->CreateOffscreenPlainSurface(w, h, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, copy.Receive(), nullptr)) ||
      FAILED(d->GetRenderTargetData(level.Get(), copy.Get())) ||
      FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY)))
    return bump;
  std::vector<std::uint8_t> heights(static_cast<size_t>(w) * h);
  for (UINT y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(locked.pBits) +
                                                             static_cast<size_t>(y) * locked.Pitch);
    for (UINT x = 0; x < w; ++x) heights[static_cast<size_t>(y) * w + x] = static_cast<std::uint8_t>(row[x] >> 16);
  }
  copy->UnlockRect();
  std::vector<std::int8_t> duDv;
  LakeBumpFromHeights(heights.data(), static_cast<int>(w), static_cast<int>(h),
                      static_cast<float>(bumpAmplitude.Get()), duDv);
  if (FAILED(d->CreateTexture(w, h, 1, 0, D3DFMT_V8U8, D3DPOOL_MANAGED, bump.Receive(), nullptr)) || !bump ||
      FAILED(bump->LockRect(0, &locked, nullptr, 0))) {
    bump.Reset();
    return bump;
  }
  for (UINT y = 0; y < h; ++y)
    std::memcpy(static_cast<std::uint8_t*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch,
                &duDv[static_cast<size_t>(y) * w * 2], static_cast<size_t>(w) * 2);
  bump->UnlockRect(0);
  return bump;
}

void FakeLake2D::CreateWaveMesh() {
  InitialWaveVertices(m_WaveVertices);
  if (!CreateVertexBufferOf<DS_WaveVertex>(6, m_Wave, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED)) return;
  m_Wave.primitiveType = D3DPT_TRIANGLELIST;
  m_Wave.primitiveCount = 2;
  WriteWaveVertices(m_WaveVertices);
}

void FakeLake2D::WriteWaveVertices(const DS_WaveVertex (&vertices)[6]) {
  if (auto* v = static_cast<DS_WaveVertex*>(LockVertexBuffer(m_Wave)))
    for (int i = 0; i < 6; ++i) v[i] = vertices[i];
  UnlockVertexBuffer(m_Wave);
}

void FakeLake2D::SetLakeAlphas() {
  const DS_LakeAlphas alphas = LakeAlphas(tintAlpha.Derived(), tintFade.Derived());
  // Corner 0 and 2 are the tint's bottom and the strip's top; 1 and 3 lie on the horizon.
  SetQuadAlphasPC(m_Tint, alphas.bottom, alphas.bottom, alphas.horizon, alphas.horizon);
  SetQuadAlphasPC(m_Strip, 0.0f, 0.0f, alphas.horizon, alphas.horizon);
}

void FakeLake2D::CopySquarePicture() {
  // A copy size beyond the limit (only a damaged document has one) is drawn at the limit.
  int n = copySize.Get();
  if (n < 0) n = 0;
  if (n > kCopySizeLimit) n = kCopySizeLimit;
  CreateSquareTextureCopy(n, m_PictureCopy, m_Background.picture.texture);
}

void FakeLake2D::LayoutLake() {
  const float w = static_cast<float>(PictureWidth()), h = static_cast<float>(PictureHeight());
  const float s = reflectionShare.Derived();
  DS_LakeQuad quad;
  LakePictureQuad(w, h, quad);
  MirrorQuad(quad, s);
  SetWaveMeshFromQuad(quad, m_WaveVertices);
  WriteWaveVertices(m_WaveVertices);
  const DS_Corner2 tint[4] = {{quad[0].x, quad[0].y}, {quad[1].x, quad[1].y}, {quad[2].x, quad[2].y}, {quad[3].x, quad[3].y}};
  SetPositionsPC(m_Tint, tint);
  const float strip = static_cast<float>(LakeStripHeight(horizonStrip.Get(), quad, h, s));
  const float x0 = quad[0].x, width = static_cast<float>(DS_FloatToInt32(quad[2].x - quad[0].x));
  const float horizon = quad[1].y;
  const DS_Corner2 corners[4] = {{x0, horizon - strip}, {x0, horizon}, {x0 + width, horizon - strip}, {x0 + width, horizon}};
  SetPositionsPC(m_Strip, corners);
}

// Frame ----------------------------------------------------------------------------------------------

void FakeLake2D::Update(float time) {
  DS_2D_Light::Update(time);
  speed.Update(time);
  LakeBumpMatrix(speed.Phase(), m_BumpMatrix);
}

void FakeLake2D::RenderBackground(bool flag) {
  (void)flag;
  if (!g_Device) return;
  DS_ComHolder<IDirect3DSurface9> depth;
  if (SUCCEEDED(g_Device->GetDepthStencilSurface(depth.Receive())) && depth)
    g_Device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
  DS_2D_Light::RenderBackground(false);  // the picture, with the picture world set
  if (CanDraw(m_Wave)) {
    SetBumpEnvironmentStates(m_BumpMatrix, D3DTADDRESS_CLAMP, D3DTADDRESS_MIRROR, false);
    g_Device->SetTexture(0, m_Bump.Get());
    g_Device->SetTexture(1, m_PictureCopy.picture.texture.Get());
    g_Device->SetFVF(DS_WaveVertex::kFormat);
    g_Device->SetStreamSource(0, m_Wave.vertexBuffer.Get(), 0, DS_WaveVertex::kStride);
    DrawBoundPrimitives(m_Wave);
    g_Device->SetTexture(0, nullptr);
    g_Device->SetTexture(1, nullptr);
  }
  DrawColouredQuadPC(m_Tint);
  DrawColouredQuadPC(m_Strip);
}

void FakeLake2D::OnPictureChanged() {
  m_Background.LoadPicture(ResolvePicture());
  Layout(LayerWidth(), LayerHeight());
  CopySquarePicture();
  LayoutLake();
}
