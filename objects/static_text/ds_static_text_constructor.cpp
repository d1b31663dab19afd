#include "objects/static_text/ds_static_text_constructor.h"

#include "core/data/class_registry.h"
#ifdef _WIN32
#include "core/layer/ds_2d_light.h"
#include "core/render/device_globals.h"
#include "core/resources/wide_path.h"
#endif

DS_StaticTextConstructor::DS_StaticTextConstructor() { colour.SetDefault(0x000000FFu); }

void DS_StaticTextConstructor::UpdateParticle(DS_Particle& p) {
  const DS_Vector3 c = centre.Get();
  p.position = DS_Vec3{c.x, c.y, c.z};
  p.halfWidth = static_cast<float>(boxWidth.Get()) * 0.5f;
  p.halfHeight = static_cast<float>(boxHeight.Get()) * 0.5f;
  elapsed += FrameTime() * 1000.0f;
  // The sums in double: four stored times may add up beyond 32 bits.
  const double e = elapsed, d = delay.Get(), in = fadeIn.Get(), h = hold.Get(), out = fadeOut.Get();
  if (e < d) {
    alpha = 0.0f;
  } else if (e < d + in) {
    alpha = static_cast<float>((e - d) / in);
  } else if (e < d + in + h) {
    alpha = 1.0f;
  } else if (e < d + in + h + out) {
    alpha = static_cast<float>(1.0 - (e - d - in - h) / out);
  } else {
    elapsed = 0.0f;  // a new cycle; the opacity stays as it was for this frame
  }
  p.UpdateColour(*this);
}

uint32_t DS_StaticTextConstructor::AlphaByte(float opacity) {
  if (opacity >= 1.0f) return 255u;
  if (!(opacity > 0.0f)) return 0u;  // NaN as well
  return static_cast<uint32_t>(opacity * 255.0f + 0.5f);
}

int32_t DS_StaticTextConstructor::AlignmentFlags() const {
  int32_t flags = 0;
  switch (horizontalAlign.Get()) {
    case 1:
      flags = kCentre;
      break;
    case 2:
      flags = kRight;
      break;
    default:
      flags = kLeft;
  }
  if (verticalAlign.Get() == 1) flags |= kVerticalCentre;
  if (verticalAlign.Get() == 2) flags |= kBottom;
  return flags;
}

#ifdef _WIN32
void DS_StaticTextConstructor::CreateDeviceObjects() {
  DS_StatBaseFXCtrl::CreateDeviceObjects();
  drawFlags = AlignmentFlags();
}

// Device objects: the target and the font, released and made again side by side.
void DS_StaticTextConstructor::OnDeviceLost() {
  target.Release();
  d3dFont.Reset();
}

void DS_StaticTextConstructor::OnDeviceReset() {
  // A box of 0 pixels (or beyond the device's texture size) gets no target: nothing is drawn.
  if (!target.Create(static_cast<int>(boxWidth.Get()), static_cast<int>(boxHeight.Get())))
    target.Release();
  CreateTextFont();
}

void DS_StaticTextConstructor::CreateTextFont() {
  d3dFont.Reset();
  if (!g_Device) return;
  if (FAILED(D3DXCreateFontW(g_Device, font.height, 0, font.weight, 1, font.italic != 0, DEFAULT_CHARSET, 0, 0, 0,
                             WidePath(font.faceName), d3dFont.Receive())))
    d3dFont.Reset();
}

bool DS_StaticTextConstructor::PrepareRender(DS_2D_Light& layer) {
  if (!target.current || !effect) return false;
  effect->SetTechnique("Common");
  effect->SetTexture("Texture1", clearTexture.Get());
  if (target.Begin(target.current)) {
    layer.BeginNestedRender(target, 3);
    g_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
    // Without a font the target stays cleared: the sprite shows nothing.
    if (d3dFont) {
      RECT box;
      SetRect(&box, 0, 0, target.width, target.height);
      d3dFont->DrawTextW(nullptr, WidePath(text.Get()), -1, &box, static_cast<DWORD>(drawFlags),
                         (AlphaByte(alpha) << 24) | 0xFFFFFFu);
    }
    target.End();
    layer.EndNestedRender();
  }
  effect->SetTechnique("Common");
  effect->SetTexture("Texture1", target.current.Get());
  return true;
}
#endif

DS_REGISTER_CONSTRUCTOR(DS_StaticTextConstructor);
