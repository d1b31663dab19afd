#include "brushes/base_fx/ds_fx_device.h"

#include <utility>

#include "core/layer/ds_2d_light.h"
#include "core/render/device_globals.h"
#include "core/render/device_utils.h"
#include "core/render/render_context.h"
#include "core/resources/doc_res_manager.h"

namespace {

// The size of the mask copy that a written brush leaves in the document's mask table.
constexpr UINT kStoredMaskSize = 512;

}  // namespace

DS_FX_DeviceRefs* DS_FX_Constructor::NewDeviceRefs(const DS_FX_DeviceRefs* source) {
  return source ? new DS_FX_DeviceRefs(*source) : new DS_FX_DeviceRefs();
}

void DS_FX_Constructor::DeviceRefsDeleter::operator()(DS_FX_DeviceRefs* refs) const { delete refs; }

std::unique_ptr<DS_ABObj> DS_FX_Constructor::CreateObject() const { return std::make_unique<DS_BrushObj>(Clone()); }

// Binding -------------------------------------------------------------------------------------------------

void DS_FX_Constructor::LoadEffect(IDirect3DTexture9* mask) {
  DS_FX_DeviceRefs& refs = DeviceRefs();
  refs.effect = g_DocResManager ? g_DocResManager->GetEffect(effectLink) : DS_ComHolder<ID3DXEffect>();
  // A picture that resolved to nothing binds no texture.
  const std::vector<DS_ResourceKey> pictures = Pictures();
  refs.pictures.assign(pictures.size(), DS_ComHolder<IDirect3DTexture9>());
  for (size_t i = 0; i < pictures.size() && g_DocResManager; ++i)
    refs.pictures[i].Share(g_DocResManager->GetImageSet(pictures[i]).FirstTexture());
  SetMaskTexture(mask);
}

void DS_FX_Constructor::SetMaskTexture(IDirect3DTexture9* mask) {
  if (mask != DeviceRefs().maskTexture.Get()) DeviceRefs().maskTexture.Share(mask);
}

bool DS_FX_Constructor::WillDraw() const { return static_cast<bool>(DeviceRefs().effect); }

// Frame ---------------------------------------------------------------------------------------------------

void DS_FX_Constructor::Render(DS_2D_Light& layer) {
  if (!WillDraw()) return;
  DS_FX_Parameters parameters;
  CollectParameters(parameters, layer.PictureWidth(), layer.PictureHeight());
  SetEffectParameters(parameters);
  ApplyEffect(layer);
}

void DS_FX_Constructor::SetEffectParameters(const DS_FX_Parameters& parameters) {
  DS_FX_DeviceRefs& refs = DeviceRefs();
  ID3DXEffect* e = refs.effect.Get();
  if (!e) return;
  for (const DS_FX_Parameters::Value& value : parameters.values) {
    if (value.count == 1)
      e->SetFloat(value.name, value.v[0]);
    else
      e->SetFloatArray(value.name, value.v, value.count);
  }
  for (const DS_FX_Parameters::Picture& picture : parameters.pictures)
    e->SetTexture(picture.name, picture.index < refs.pictures.size() ? refs.pictures[picture.index].Get() : nullptr);
}

void DS_FX_Constructor::ApplyEffect(DS_2D_Light& layer) {
  ID3DXEffect* e = DeviceRefs().effect.Get();
  if (!e) return;
  float scale[2];
  ScaleFor(layer.PictureWidth(), layer.PictureHeight(), scale);
  e->SetTechnique(techniqueFlag.Get() != 0 ? "MainFX" : "Main");
  e->SetFloatArray("Scale", scale, 2);
  e->SetTexture("Mask", DeviceRefs().maskTexture.Get());
  e->SetTexture("Background", layer.SceneTexture().Get());
  layer.DrawPicturePart(e, CurrentRenderContext().brushesDrawWholeQuad ? DS_MaskBounds{} : DeviceRefs().maskBounds,
                        techniqueFlag.Get() != 0);
}

// Record ---------------------------------------------------------------------------------------------------

void DS_FX_Constructor::RegisterMaskForWrite() const {
  // The document being written carries the brush's current mask under its key.
  if (!g_DocResManager) return;
  DS_ComHolder<IDirect3DTexture9> copy;
  const DS_ComHolder<IDirect3DTexture9>& mask = DeviceRefs().maskTexture;
  if (mask && g_Device) copy = CopyTexture(mask, kStoredMaskSize, kStoredMaskSize, D3DFMT_UNKNOWN);
  g_DocResManager->Store().maskTextures[maskKey] = DS_MaskTexture{std::move(copy), {}};
}

// Live brush ---------------------------------------------------------------------------------------------

DS_BrushObj::DS_BrushObj(std::unique_ptr<DS_FX_Constructor> clone)
    : DS_ABObj(std::move(clone)), m_Brush(static_cast<DS_FX_Constructor*>(Control())) {
  const DS_MaskTexture* mask = g_DocResManager ? &g_DocResManager->Store().maskTextures[m_Brush->maskKey] : nullptr;
  m_Brush->LoadEffect(mask ? mask->texture.Get() : nullptr);
  m_Brush->DeviceRefs().maskBounds = mask ? mask->bounds : DS_MaskBounds{};
}
