// An effect told of a device loss and reset (OnLostDevice, Reset, OnResetDevice) keeps its
// parameters and draws as before.
#include <gtest/gtest.h>

#include "tests/effects/effect_test_device.h"

namespace effect_test {
namespace {

Pixels DrawNormalBlend(TestDevice& device, ID3DXEffect* effect) {
  RenderTarget target = device.MakeRenderTarget(2, 1);
  if (!target.surface) return {};
  device.Bind(target);
  device.Device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
  device.DrawScreenQuad(effect, 2, 1);
  return device.ReadBack(target);
}

TEST(EffectLoss, ResetAroundTheEffectLeavesItUsable) {
  TestDevice device;
  ASSERT_TRUE(device.Ok());
  DS_ComHolder<ID3DXEffect> effect;
  ASSERT_HRESULT_SUCCEEDED(device.CreateEffect(ReadFileBytes(VQ_EFFECT_DIR "/97.fxo"), effect));

  // T1 red, T2 white: the result is a mix of red and the tint by 0.5.
  DS_ComHolder<IDirect3DTexture9> red = device.MakeTexture({2, 1, {0xFFFF0000, 0xFFFF0000}});
  DS_ComHolder<IDirect3DTexture9> white = device.MakeTexture({2, 1, {0xFFFFFFFF, 0xFFFFFFFF}});
  const float blendColor[4] = {0.0f, 1.0f, 0.0f, 0.5f};
  ASSERT_HRESULT_SUCCEEDED(effect->SetTechnique("Blend_Normal"));
  ASSERT_HRESULT_SUCCEEDED(effect->SetFloatArray("BlendColor", blendColor, 4));
  ASSERT_HRESULT_SUCCEEDED(effect->SetTexture("Texture1", red.Get()));
  ASSERT_HRESULT_SUCCEEDED(effect->SetTexture("Texture2", white.Get()));
  const Pixels before = DrawNormalBlend(device, effect.Get());
  ASSERT_EQ(before.argb.size(), 2u);
  EXPECT_NEAR(Channel(before.argb[0], 2), 128, 2);
  EXPECT_NEAR(Channel(before.argb[0], 1), 128, 2);

  // The render target of the first draw is gone; the device must accept a Reset now.
  device.Device()->SetRenderTarget(0, nullptr);
  ASSERT_HRESULT_SUCCEEDED(effect->OnLostDevice());
  ASSERT_HRESULT_SUCCEEDED(device.Reset());
  // Wine 8's OnResetDevice is a stub that answers E_NOTIMPL; the effect must work all the same.
  const HRESULT reset = effect->OnResetDevice();
  EXPECT_TRUE(reset == S_OK || reset == E_NOTIMPL) << std::hex << reset;

  const Pixels after = DrawNormalBlend(device, effect.Get());
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
