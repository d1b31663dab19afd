#include "brushes/water_fx/ds_water_fx.h"

#include <d3dx9.h>

#include <cmath>

#include "core/data/class_registry.h"
#include "core/resources/doc_res_manager.h"

DS_WaterFX::DS_WaterFX() : colour(0xFFFFFF), bumpLink(DS_FileLink3(kBumpPictureId, u"common_res.dll")) {
  InitScaled(shapeFactor, 0.0001f, 0.0f, 20);
  InitScaled(bumpScale, 0.001f, 0.0f, 20);
  InitScaled(amplitude, 0.00025f, 0.0f, 20);
  InitScaled(wavelength, 0.0005f, 0.001f, 20);
  InitScaled(shadows, 0.01f, 0.0f, 0);
  InitScaled(halfVectorZ, 0.1f, 0.0f, 0);
  InitKind(kEffectId, 0.02f, 50);
  scaleFactor.Set(30);
  AttachListener();
}

DS_WaterFX::DS_WaterFX(const DS_WaterFX& source)
    : DS_FX_Constructor(source),
      shapeFactor(source.shapeFactor),
      bumpScale(source.bumpScale),
      amplitude(source.amplitude),
      wavelength(source.wavelength),
      angle(source.angle),
      shadows(source.shadows),
      halfVectorZ(source.halfVectorZ),
      colour(source.colour),
      bumpLink(source.bumpLink) {
  // The copy binds its own bump picture; its transform follows its first Advance.
  AttachListener();
}

DS_WaterFX::~DS_WaterFX() = default;

void DS_WaterFX::AttachListener() {
  listeners.SetOwner(this, false);
  DS_AttachListener2(listeners, angle, this, &DS_WaterFX::UpdateDirection);
  UpdateDirection();
}

void DS_WaterFX::UpdateDirection() {
  D3DXMATRIX r;
  D3DXMatrixRotationZ(&r, static_cast<float>(angle.Get()) * D3DX_PI / 180.0f);
  const D3DXVECTOR4 x(1.0f, 0.0f, 0.0f, 0.0f);
  D3DXVECTOR4 d;
  D3DXVec4Transform(&d, &x, &r);
  direction = DS_Vector4{d.x, d.y, d.z, d.w};
}

void DS_WaterFX::LoadEffect(TextureSlot& slot) {
  // A bump picture that resolved to nothing leaves the water without bump texture.
  if (g_DocResManager)
    bumpTexture.Share(g_DocResManager->GetImageSet(bumpLink).FirstTexture());
  else
    bumpTexture.Reset();
  DS_FX_Constructor::LoadEffect(slot);
}

void DS_WaterFX::Advance(float t) {
  speed.Update(t);
  const float h = speed.Phase() * 0.5f;
  const float beta = 9.0f * h;
  const float w = bumpScale.Derived();
  bumpTransform[0] = w * std::cos(beta);
  bumpTransform[1] = -w * std::sin(beta);
  bumpTransform[2] = w * std::sin(beta);
  bumpTransform[3] = w * std::cos(beta);
}

float DS_WaterFX::ShapeSlope(float u) {
  const float q = 2.0f / u - 1.0f;
  if (!(q > 0.0f) || q == 1.0f) return 1.0f;
  const float s = (std::sqrt(q) + q) / (q - 1.0f);
  return std::isfinite(s) ? s : 1.0f;
}

void DS_WaterFX::SetEffectParameters(ID3DXEffect& e, DS_2D_Light&) {
  const float u = shapeFactor.Derived();
  const float a = wavelength.Derived();
  const float c = amplitude.Derived();
  const float p1[3] = {u - 1.0f, -1.0f, u - 1.0f};
  const float p2[3] = {1.0f, ShapeSlope(u), 1.0f};
  const float direction1[2] = {-0.5f * direction.x / a, -0.5f * direction.y / a};
  const float direction2[2] = {-0.5f * c * direction.x, -0.5f * c * direction.y};
  D3DXVECTOR3 half(1.0f, 2.0f, halfVectorZ.Derived());
  D3DXVec3Normalize(&half, &half);
  const uint32_t rgb = colour.Get();
  const float tint[3] = {static_cast<float>(rgb & 0xFF) / 255.0f, static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
                         static_cast<float>((rgb >> 16) & 0xFF) / 255.0f};
  e.SetTexture("BumpMap", bumpTexture.Get());
  e.SetFloatArray("BampTrans", bumpTransform, 4);
  e.SetFloatArray("P1", p1, 3);
  e.SetFloatArray("P2", p2, 3);
  e.SetFloat("Time", 2.0f * speed.Phase());
  e.SetFloatArray("Direction1", direction1, 2);
  e.SetFloatArray("Direction2", direction2, 2);
  e.SetFloat("Shadows", shadows.Derived());
  e.SetFloatArray("Vhalf", &half.x, 3);
  e.SetFloatArray("Color", tint, 3);
}

void DS_WaterFX::Write(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_WaterFX", kVersion);
  for (const UINTSclaleTo<float>* value : {&shapeFactor, &bumpScale, &amplitude, &wavelength}) value->WriteValue(out);
  out.WriteUInt(angle.Get());
  shadows.WriteValue(out);
  halfVectorZ.WriteValue(out);
  colour.WriteValue(out);
  if (g_DocResManager) g_DocResManager->PrepareLinkForSave(bumpLink);
  WriteFileLink(bumpLink, out);
  WriteObject(out);
}

void DS_WaterFX::ReadFields(DS_IOF_Virtual& in, uint32_t) {
  for (UINTSclaleTo<float>* value : {&shapeFactor, &bumpScale, &amplitude, &wavelength}) value->ReadValue(in);
  ReadParamValue(in, angle);
  shadows.ReadValue(in);
  halfVectorZ.ReadValue(in);
  colour.ReadValue(in);
  ReadFileLink(in, bumpLink);
  ReadBase(in);
}

DS_REGISTER_CONSTRUCTOR(DS_WaterFX);
