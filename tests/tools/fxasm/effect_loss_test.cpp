// An effect around a device Reset (OnLostDevice, Reset, OnResetDevice) keeps its parameters and
// draws as before. The glow systems set a default-pool render target as "Texture2"; the effect
// holds a reference to it, so it is set to none before the Reset.
#include <gtest/gtest.h>

#include "tests/support/effect_test_support.h"

namespace effect_test {
namespace {

// Blend_Normal of a red Texture1 with a white glow target (cleared to white) as Texture2.
Pixels DrawWithGlowTarget(IDirect3DDevice9* device, ID3DXEffect* effect, IDirect3DTexture9* red, RenderTarget& glow) {
  glow = MakeRenderTarget(device, 2, 1);
  RenderTarget target = MakeRenderTarget(device, 2, 1);
  if (!glow.surface || !target.surface) return {};
  Bind(device, glow);
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
  effect->SetTexture("Texture1", red);
  effect->SetTexture("Texture2", glow.texture.Get());
  Bind(device, target);
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
  DrawScreenQuad(device, effect, 2, 1);
  return ReadBack(device, target);
}

TEST(EffectLoss, ResetAroundTheEffectLeavesItUsable) {
  DS_WindowDevice testDevice;
  ASSERT_TRUE(OpenEffectTestDevice(testDevice));
  IDirect3DDevice9* const device = testDevice.Device();
  DS_ComHolder<IDirect3DSurface9> backBuffer;
  ASSERT_HRESULT_SUCCEEDED(device->GetRenderTarget(0, backBuffer.Receive()));
  DS_ComHolder<ID3DXEffect> effect;
  ASSERT_HRESULT_SUCCEEDED(CreateEffect(device, ReadFileBytes(VQ_EFFECT_DIR "/97.fxo"), effect));
  DS_ComHolder<IDirect3DTexture9> red = MakeTexture(device, {2, 1, {0xFFFF0000, 0xFFFF0000}});
  const float blendColor[4] = {0.0f, 1.0f, 0.0f, 0.5f};
  ASSERT_HRESULT_SUCCEEDED(effect->SetTechnique("Blend_Normal"));
  ASSERT_HRESULT_SUCCEEDED(effect->SetFloatArray("BlendColor", blendColor, 4));

  RenderTarget glow;
  const Pixels before = DrawWithGlowTarget(device, effect.Get(), red.Get(), glow);
  ASSERT_EQ(before.argb.size(), 2u);
  EXPECT_NEAR(Channel(before.argb[0], 2), 128, 2);  // half red, half the green tint
  EXPECT_NEAR(Channel(before.argb[0], 1), 128, 2);

  // Device loss: the owner releases its render targets and tells the effect.
  device->SetRenderTarget(0, backBuffer.Get());
  backBuffer.Reset();
  glow = RenderTarget();
  ASSERT_HRESULT_SUCCEEDED(effect->OnLostDevice());
  // The effect still holds the glow target as Texture2: Direct3D refuses a Reset while a
  // default-pool texture lives (Wine 8 does not check), so the owner sets both to none first.
  ASSERT_HRESULT_SUCCEEDED(effect->SetTexture("Texture1", nullptr));
  ASSERT_HRESULT_SUCCEEDED(effect->SetTexture("Texture2", nullptr));
  ASSERT_HRESULT_SUCCEEDED(device->Reset(&testDevice.PresentParameters()));
  // Wine 8's OnResetDevice is a stub that answers E_NOTIMPL; the effect must work all the same.
  const HRESULT reset = effect->OnResetDevice();
  EXPECT_TRUE(reset == S_OK || reset == E_NOTIMPL) << std::hex << reset;

  const Pixels after = DrawWithGlowTarget(device, effect.Get(), red.Get(), glow);
  ASSERT_EQ(after.argb.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    for (int ch = 0; ch < 4; ++ch) EXPECT_NEAR(Channel(after.argb[i], ch), Channel(before.argb[i], ch), 1);
  }
  float kept[4] = {};
  ASSERT_HRESULT_SUCCEEDED(effect->GetFloatArray("BlendColor", kept, 4));
  EXPECT_FLOAT_EQ(kept[3], 0.5f);
}

}  // namespace
}  // namespace effect_test
