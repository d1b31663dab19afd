#include "layers/lake/fake_lake_2d.h"

#include "core/data/class_registry.h"
#include "core/data/file_links.h"
#include "core/layer/layer_drawing.h"
#include "core/render/device_globals.h"
#include "core/render/draw_states.h"
#include "core/render/layout_maths.h"
#include "core/render/mesh_ops.h"
#include "core/resources/doc_res_manager.h"

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

FakeLake2D::FakeLake2D() : bumpAmplitude(25u), horizonStrip(7u), copySize(1), colour(0x408000u) {
  speed.SetDefault(50);
  speed.SetScale(0.02f, 0.0f);
  waveTiling.SetDefault(100);
  waveTiling.SetScale(0.01f, 0.0f);
  reflectionShare.SetDefault(25);
  reflectionShare.SetScale(-0.005f, 0.5f);
  bumpFade.SetDefault(100);
  bumpFade.SetScale(0.01f, 0.0f);
  tintAlpha.SetDefault(31);
  tintAlpha.SetScale(0.008f, 0.0f);
  tintFade.SetDefault(58);
  tintFade.SetScale(0.01f, 0.0f);
  static_cast<DS_MaskKey&>(maskKey) = MakeNewMaskEntry();
}

FakeLake2D::~FakeLake2D() = default;

// Record ---------------------------------------------------------------------------------------------

void FakeLake2D::Write(DS_IOF_Virtual& out) const {
  // The bump map travels with the document as the mask of the layer's key.
  if (g_DocResManager && m_Bump) g_DocResManager->Store().maskTextures[maskKey] = DS_MaskTexture{m_Bump, {}};
  DS_WriteHeader(out, u"FakeLake2D", kVersion);
  waveTiling.WriteValue(out);
  speed.WriteValue(out);
  reflectionShare.WriteValue(out);
  bumpFade.WriteValue(out);
  tintAlpha.WriteValue(out);
  tintFade.WriteValue(out);
  WriteParamValue(out, bumpAmplitude);
  WriteParamValue(out, horizonStrip);
  WriteParamValue(out, copySize);
  colour.WriteValue(out);
  WriteGuid(out, maskKey.id);
  out.WriteString(maskKey.name);
  out.WriteBool(maskKey.flag);
  WriteObject(out);
}

void FakeLake2D::ReadFields(DS_IOF_Virtual& in, uint32_t version) {
  if (version >= 2) {
    waveTiling.ReadValue(in);
    speed.ReadValue(in);
    reflectionShare.ReadValue(in);
    bumpFade.ReadValue(in);
    tintAlpha.ReadValue(in);
    tintFade.ReadValue(in);
    ReadParamValue(in, bumpAmplitude);
    ReadParamValue(in, horizonStrip);
    ReadParamValue(in, copySize);
    colour.ReadValue(in);
  }
  ReadGuid(in, maskKey.id);
  in.ReadString(maskKey.name);
  in.ReadBool(maskKey.flag);
  ReadBase(in, *this);
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
  OnPictureChanged();  // picture, layout, square copy, lake layout
  SetWaveTiling(waveTiling.Derived(), m_WaveVertices);
  WriteWaveVertices(m_WaveVertices);
  SetQuadColourPC(m_Tint, tint);
  SetQuadColourPC(m_Strip, tint);
  // The bump map is the document's mask for the layer's key; without one the wave pass has no
  // stage-0 texture and the reflection is not displaced.
  m_Bump.Share(g_DocResManager ? g_DocResManager->GetMaskTexture(maskKey) : nullptr);
}

void FakeLake2D::OnDeviceReset() {
  DS_2D_Light::OnDeviceReset();  // the layer's defaults and the target pair
  IDirect3DDevice9* d = g_Device;
  if (!d) return;
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  d->SetTransform(D3DTS_WORLD, &identity);
  d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  d->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);
  d->SetRenderState(D3DRS_DITHERENABLE, TRUE);
  d->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
  d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  for (DWORD s = 0; s < 2; ++s) {
    d->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(s, D3DSAMP_ADDRESSU, D3DTADDRESS_MIRROR);
    d->SetSamplerState(s, D3DSAMP_ADDRESSV, D3DTADDRESS_MIRROR);
  }
  d->SetTextureStageState(1, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
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
