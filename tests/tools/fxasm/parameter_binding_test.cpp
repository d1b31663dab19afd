// Parameters reach the registers their shaders read them from, through the constant tables
// the tool writes: a float4x4 in a vertex shader; a float, a float4, two textures and their
// sampler states in a pixel shader. Both with the file's defaults and after Set* calls.
#include <gtest/gtest.h>

#include <d3dx9math.h>

#include <algorithm>
#include <cmath>

#include "tests/support/effect_test_support.h"

namespace effect_test {
namespace {

TEST(ParameterBinding, MatrixPlacesTheQuadWhereTheMatrixSays) {
  DS_WindowDevice testDevice;
  ASSERT_TRUE(OpenEffectTestDevice(testDevice));
  IDirect3DDevice9* const device = testDevice.Device();
  DS_ComHolder<ID3DXEffect> effect;
  ASSERT_HRESULT_SUCCEEDED(CreateEffect(device, ReadFileBytes(VQ_TEST_EFFECT_DIR "/transform-test.fxo"), effect));

  // The unit square, scaled to 0.5 x 0.25 and moved to (-0.75, 0.5) in clip space: pixels
  // x 8..23 and y 8..15 of a 64 x 64 target. A transposed upload would put the move into w.
  D3DXMATRIX scale, move, matrix;
  D3DXMatrixScaling(&scale, 0.5f, 0.25f, 1.0f);
  D3DXMatrixTranslation(&move, -0.75f, 0.5f, 0.0f);
  D3DXMatrixMultiply(&matrix, &scale, &move);
  ASSERT_HRESULT_SUCCEEDED(effect->SetMatrix("WorldViewProj", &matrix));
  const D3DXVECTOR4 color(0.25f, 0.5f, 1.0f, 1.0f);
  ASSERT_HRESULT_SUCCEEDED(effect->SetVector("Color", &color));

  RenderTarget target = MakeRenderTarget(device, 64, 64);
  ASSERT_TRUE(target.surface);
  Bind(device, target);
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
  const float square[4][3] = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}};
  device->SetFVF(D3DFVF_XYZ);
  device->BeginScene();
  UINT passes = 0;
  ASSERT_HRESULT_SUCCEEDED(effect->Begin(&passes, 0));
  ASSERT_EQ(passes, 1u);
  ASSERT_HRESULT_SUCCEEDED(effect->BeginPass(0));
  device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, square, sizeof square[0]);
  effect->EndPass();
  effect->End();
  device->EndScene();

  const Pixels pixels = ReadBack(device, target);
  ASSERT_EQ(pixels.argb.size(), 64u * 64u);
  int wrong = 0;
  for (uint32_t y = 0; y < 64; ++y) {
    for (uint32_t x = 0; x < 64; ++x) {
      const bool inside = x >= 8 && x < 24 && y >= 8 && y < 16;
      const uint32_t expected = inside ? 0xFF4080FF : 0x00000000;
      const uint32_t got = pixels.At(x, y);
      bool matches = true;
      for (int ch = 0; ch < 4; ++ch) matches = matches && std::abs(Channel(got, ch) - Channel(expected, ch)) <= 1;
      if (!matches && ++wrong <= 5) ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << got;
    }
  }
  EXPECT_EQ(wrong, 0);
}

// Sampling rules of the two samplers of pixel-parameters-test.fx, for a texture coordinate u.
uint32_t PointClamp(const Pixels& texture, double u) {
  const long texel = std::lround(std::floor(u * texture.width));
  return texture.argb[static_cast<size_t>(std::max(0L, std::min<long>(texel, texture.width - 1)))];
}
double LinearWrapBlue(const Pixels& texture, double u) {
  const double t = u * texture.width - 0.5;
  const double base = std::floor(t), f = t - base;
  const long n = static_cast<long>(texture.width);
  const long i0 = ((static_cast<long>(base) % n) + n) % n, i1 = (i0 + 1) % n;
  return (Channel(texture.argb[static_cast<size_t>(i0)], 0) * (1 - f) + Channel(texture.argb[static_cast<size_t>(i1)], 0) * f) / 255.0;
}

TEST(ParameterBinding, FloatFloat4TexturesAndSamplerStatesReachThePixelShader) {
  DS_WindowDevice testDevice;
  ASSERT_TRUE(OpenEffectTestDevice(testDevice));
  IDirect3DDevice9* const device = testDevice.Device();
  DS_ComHolder<ID3DXEffect> effect;
  ASSERT_HRESULT_SUCCEEDED(
      CreateEffect(device, ReadFileBytes(VQ_TEST_EFFECT_DIR "/pixel-parameters-test.fxo"), effect));

  const Pixels texA{4, 1, {0xFFFF8000, 0xFF80FF00, 0xFF40C000, 0xFFFFFF00}};
  const Pixels texB{2, 1, {0xFF000000, 0xFF0000FF}};
  DS_ComHolder<IDirect3DTexture9> a = MakeTexture(device, texA), b = MakeTexture(device, texB);
  ASSERT_HRESULT_SUCCEEDED(effect->SetTexture("TexA", a.Get()));
  ASSERT_HRESULT_SUCCEEDED(effect->SetTexture("TexB", b.Get()));
  RenderTarget target = MakeRenderTarget(device, 12, 1);
  ASSERT_TRUE(target.surface);

  struct Step {
    const char* what;
    bool set;
    float gain;
    float tint[4];
  };
  const Step steps[] = {
      {"the file's defaults", false, 0.5f, {1.0f, 0.5f, 0.25f, 1.0f}},
      {"values set by name", true, 1.0f, {0.5f, 1.0f, 0.0f, 0.5f}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    if (step.set) {
      ASSERT_HRESULT_SUCCEEDED(effect->SetFloat("Gain", step.gain));
      ASSERT_HRESULT_SUCCEEDED(effect->SetFloatArray("Tint", step.tint, 4));
    }
    Bind(device, target);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
    // u from -1 to 2: SampA clamps to its edge texels, SampB repeats and filters between texels.
    DrawScreenQuad(device, effect.Get(), 12, 1, 0xFFFFFFFF, -1.0f, 2.0f);
    const Pixels pixels = ReadBack(device, target);
    ASSERT_EQ(pixels.argb.size(), 12u);
    for (uint32_t x = 0; x < 12; ++x) {
      const double u = -1.0 + (x + 0.5) * 3.0 / 12.0;
      const uint32_t aTexel = PointClamp(texA, u);
      const double red = Channel(aTexel, 2) / 255.0 * step.tint[0] * step.gain;
      const double green = Channel(aTexel, 1) / 255.0 * step.tint[1] * step.gain;
      const double blue = LinearWrapBlue(texB, u);
      const double alpha = step.tint[3] * step.gain;
      const uint32_t got = pixels.argb[x];
      EXPECT_NEAR(Channel(got, 2), std::lround(red * 255), 2) << "red at " << x;
      EXPECT_NEAR(Channel(got, 1), std::lround(green * 255), 2) << "green at " << x;
      EXPECT_NEAR(Channel(got, 0), std::lround(blue * 255), 3) << "blue at " << x;
      EXPECT_NEAR(Channel(got, 3), std::lround(alpha * 255), 2) << "alpha at " << x;
    }
  }
}

TEST(ParameterBinding, SamplerPassStateAppliesTheWholeSamplerToAFixedFunctionStage) {
  DS_WindowDevice testDevice;
  ASSERT_TRUE(OpenEffectTestDevice(testDevice));
  IDirect3DDevice9* const device = testDevice.Device();
  DS_ComHolder<ID3DXEffect> effect;
  ASSERT_HRESULT_SUCCEEDED(CreateEffect(device, ReadFileBytes(VQ_TEST_EFFECT_DIR "/fixed-function-test.fxo"), effect));
  const Pixels texture{4, 1, {0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0}};
  DS_ComHolder<IDirect3DTexture9> tex = MakeTexture(device, texture);
  ASSERT_HRESULT_SUCCEEDED(effect->SetTexture("Tex", tex.Get()));
  // The device's own sampler 0 wraps and filters linearly: only the sampler block can clamp.
  device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  RenderTarget target = MakeRenderTarget(device, 12, 1);
  ASSERT_TRUE(target.surface);
  Bind(device, target);
  DrawScreenQuad(device, effect.Get(), 12, 1, 0xFFFFFFFF, -1.0f, 2.0f);
  const Pixels pixels = ReadBack(device, target);
  ASSERT_EQ(pixels.argb.size(), 12u);
  for (uint32_t x = 0; x < 12; ++x) {
    const uint32_t expected = PointClamp(texture, -1.0 + (x + 0.5) * 3.0 / 12.0);
    for (int ch = 0; ch < 4; ++ch) {
      EXPECT_NEAR(Channel(pixels.argb[x], ch), Channel(expected, ch), 1) << "pixel " << x << " channel " << ch;
    }
  }
}

}  // namespace
}  // namespace effect_test
