#include "layers/flame/ds_flame_light.h"

#include "brushes/fx_base/ds_fx_device.h"
#include "core/data/class_registry.h"
#include "core/data/file_links.h"
#include "core/render/device_globals.h"
#include "core/render/view_state.h"

DS_REGISTER_LAYER(DS_FlameLight);

DS_FlameLight::DS_FlameLight() {
  fire.patternLink.StoreKey(DS_ResourceKey{u"common_res.dll", kPatternPictureId});
  // The band is drawn without a mask, so its key names none: the empty key, the same in every
  // layer, rather than a new GUID that every record would carry.
  fire.maskKey = DS_MaskKey{};
}

DS_FlameLight::~DS_FlameLight() = default;

// Record ---------------------------------------------------------------------------------------------

void DS_FlameLight::Write(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_FlameLight", kVersion);
  WriteParamValue(out, fireOn);
  WriteParamValue(out, distortionOn);
  WriteParamValue(out, fireOffset);
  WritePictureLink(distortion.bumpLink, out);
  WriteFileLink(distortion.effectLink, out);
  distortion.speed.WriteValue(out);
  distortion.strength.WriteValue(out);
  distortion.bumpScale.WriteValue(out);
  fire.Write(out);
  WriteObject(out);
}

void DS_FlameLight::ReadFields(DS_IOF_Virtual& in, uint32_t version) {
  ReadParamValue(in, fireOn);
  ReadParamValue(in, distortionOn);
  ReadParamValue(in, fireOffset);
  if (version == 1) fire.speed.ReadValue(in);
  ReadFileLink(in, distortion.bumpLink);
  ReadFileLink(in, distortion.effectLink);
  distortion.speed.ReadValue(in);
  distortion.strength.ReadValue(in);
  distortion.bumpScale.ReadValue(in);
  if (version > 1) {
    fire = *ReadFireFXObject(in);
  } else {
    DS_FileLink3 dropped;
    ReadFileLink(in, dropped);
    ReadFileLink(in, dropped);
  }
  ReadBase(in, *this);
}

// Device objects ------------------------------------------------------------------------------------

void DS_FlameLight::CreateDeviceObjects() {
  DS_2D_Light::CreateDeviceObjects();
  // The texture coordinates stay; OnPictureChanged places the band on the picture.
  const float band[20] = {0.0f, 0.0f,   0.0f, 0.0f, 0.0f,  800.0f, 0.0f,   0.0f, 1.0f, 0.0f,
                          0.0f, 600.0f, 0.0f, 0.0f, 0.95f, 800.0f, 600.0f, 0.0f, 1.0f, 0.95f};
  FillQuadPT(m_FireQuad, band);
  // Without its effect the distortion stays off for good: no target render is asked for.
  if (!distortion.CreateDeviceObjects()) distortionOn.SetDefault(0);
  OnPictureChanged();
  fire.LoadEffect(nullptr);  // the band has no mask
}

void DS_FlameLight::OnDeviceReset() {
  DS_2D_Light::OnDeviceReset();  // the layer's defaults and the target pair
  // Every pass sets its own states (the band and the distortion through the effect states, the
  // borders through the picture's): the reset only lays the layer out again.
  Layout(LayerWidth(), LayerHeight());
}

// Frame ----------------------------------------------------------------------------------------------

void DS_FlameLight::Update(float time) {
  fire.Advance(time);
  DS_2D_Light::Update(time);
  distortion.Update(time);
}

void DS_FlameLight::RenderBackground(bool flag) {
  (void)flag;
  DS_2D_Light::RenderBackground(false);
  ID3DXEffect* e = fire.DeviceRefs().effect.Get();
  if (fireOn.Get() == 0 || !e) return;
  fire.SetNoiseParameters(m_FireQuad);
  e->SetTechnique("AsEffect");
  DrawMeshPT(m_FireQuad, e);
}

void DS_FlameLight::PostRender() {
  // Only a target render that the slide began (HasDistortion) is ended here; without its
  // textures the scene went straight to the back buffer and stays as drawn.
  if (HasDistortion() && InTargetRender()) {
    const DS_RenderTargetPair& targets = EndTargetRender(false);
    distortion.Draw(*this, targets.current.Get());
  }
  g_ViewState.DrawBorders();
}

void DS_FlameLight::BandEdges(float height, uint32_t offset, float (&edges)[2]) {
  const float bottom = height * (1.0f + kOffsetStep * static_cast<float>(offset));
  edges[0] = bottom - kBandShare * height;
  edges[1] = bottom;
}

void DS_FlameLight::OnPictureChanged() {
  m_Background.LoadPicture(ResolvePicture());
  Layout(LayerWidth(), LayerHeight());
  const unsigned width = PictureWidth(), height = PictureHeight();
  distortion.SetSize(width, height);
  const float w = static_cast<float>(width);
  float edges[2];
  BandEdges(static_cast<float>(height), fireOffset.Get(), edges);
  const float positions[12] = {0.0f, edges[0], 0.0f, w, edges[0], 0.0f, 0.0f, edges[1], 0.0f, w, edges[1], 0.0f};
  SetQuadPositionsPT(m_FireQuad, positions);
}
