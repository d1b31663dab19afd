#include "layers/flame/ds_heat_distortion.h"

#include "core/layer/ds_2d_light.h"
#include "core/render/image_set_frames.h"
#include "core/resources/doc_res_manager.h"

bool DS_HeatDistortion::CreateDeviceObjects() {
  const float vertices[20] = {0.0f,   600.0f, 0.0f, 0.0f, 1.0f, 0.0f,   0.0f, 0.0f, 0.0f, 0.0f,
                              800.0f, 600.0f, 0.0f, 1.0f, 1.0f, 800.0f, 0.0f, 0.0f, 1.0f, 0.0f};
  FillQuadPT(quad, vertices);
  effect.Reset();
  bumpTexture.Reset();
  if (g_DocResManager) {
    // A bump picture that resolved to nothing leaves the bump unbound (and the strength 0).
    bumpTexture = FirstTextureOf(g_DocResManager->GetImageSet(bumpLink));
    effect = g_DocResManager->GetEffect(effectLink);
  }
  return static_cast<bool>(effect);
}

void DS_HeatDistortion::SetSize(unsigned width, unsigned height) {
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  const float positions[12] = {0.0f, h, 0.0f, 0.0f, 0.0f, 0.0f, w, h, 0.0f, w, 0.0f, 0.0f};
  SetQuadPositionsPT(quad, positions);
  aspect = width == 0 || height == 0 ? 1.0f : h / w;
}

void DS_HeatDistortion::Offset(float (&offset)[2]) const {
  offset[0] = speed.Phase();
  offset[1] = -speed.Phase();
}

void DS_HeatDistortion::BumpScale(float (&scale)[2]) const {
  const float b = bumpScale.Derived();
  scale[0] = b;
  scale[1] = b * aspect;
}

void DS_HeatDistortion::Update(float time) {
  if (!effect) return;
  speed.Update(time);
  float offset[2], scale[2];
  Offset(offset);
  BumpScale(scale);
  effect->SetFloat("stenght", Strength());
  effect->SetFloatArray("Offset", offset, 2);
  effect->SetFloatArray("bump_scale", scale, 2);
}

void DS_HeatDistortion::Draw(DS_2D_Light& layer, IDirect3DTexture9* scene) {
  if (!effect) return;
  ID3DXEffect* e = effect.Get();
  e->SetTexture("SceneTex", scene);
  e->SetTexture("Bumpmap", bumpTexture.Get());
  e->SetTechnique("BumpmapDistortLow2");
  layer.DrawMeshPT(quad, e);
  // The target texture belongs to the layer's pair, which a device loss or a slide change
  // releases; the shared effect must not keep it alive.
  e->SetTexture("SceneTex", nullptr);
}
