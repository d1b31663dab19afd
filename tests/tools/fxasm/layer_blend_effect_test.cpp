// Effect 97 (layer blend) drawn on the device: every technique's read-back pixels equal the
// blend it names, computed here from the same textures and BlendColor.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "tests/support/effect_test_support.h"

namespace effect_test {
namespace {

constexpr int kTolerance = 3;  // of 255: the rasteriser rounds blends and texture modulation

// Four-by-four textures with varied colours and alphas (0, 255 and values between).
Pixels Texture1Pixels() {
  return {4, 4, {0xFF000000, 0xFFFFFFFF, 0x80FF0000, 0x4000FF00, 0x000000FF, 0xC0406080, 0xFF102030, 0x20F0E0D0,
                 0x80808080, 0xFF336699, 0x11AA5500, 0xEE00AA55, 0x7F7F3F1F, 0x01FEFDFC, 0xA0204080, 0x5F9F6F3F}};
}
Pixels Texture2Pixels() {
  return {4, 4, {0xFFFFFFFF, 0x00000000, 0xFF00FF00, 0x80FF00FF, 0xFF123456, 0x40F0F0F0, 0x00808080, 0xFFAA0000,
                 0xC0C0C0C0, 0x30102030, 0xFF0000FF, 0x90706050, 0x00FFFFFF, 0xFF000000, 0x6060A0E0, 0xE0E0A060}};
}

struct Color {
  double c[4];  // b, g, r, a in 0..1, the channel order of D3DCOLOR
};

Color ToColor(uint32_t argb) {
  Color color;
  for (int i = 0; i < 4; ++i) color.c[i] = Channel(argb, i) / 255.0;
  return color;
}

// BlendColor as the effect takes it: (r, g, b, strength).
const float kBlendColor[4] = {0.2f, 0.6f, 1.0f, 0.75f};
double BlendChannel(int channel) { return channel == 3 ? kBlendColor[3] : kBlendColor[2 - channel]; }

using Expected = std::function<Color(uint32_t t1, uint32_t t2, uint32_t target)>;

Color NormalBlend(uint32_t t1Argb, uint32_t t2Argb, uint32_t) {
  const Color t1 = ToColor(t1Argb), t2 = ToColor(t2Argb);
  const double a = t2.c[3] * kBlendColor[3];
  Color out;
  for (int i = 0; i < 4; ++i) out.c[i] = t1.c[i] * (1 - a) + t2.c[i] * BlendChannel(i) * a;
  return out;
}

Color ScreenBlend(uint32_t t1Argb, uint32_t t2Argb, uint32_t) {
  const Color t1 = ToColor(t1Argb), t2 = ToColor(t2Argb);
  const double a = t2.c[3] * kBlendColor[3];
  Color out;
  for (int i = 0; i < 3; ++i) {
    const double screen = 1 - (1 - t1.c[i]) * (1 - t2.c[i] * BlendChannel(i));
    out.c[i] = t1.c[i] * (1 - a) + screen * a;
  }
  out.c[3] = t1.c[3] * (1 - a) + a * a;
  return out;
}

Color MaxBlend(uint32_t t1Argb, uint32_t, uint32_t targetArgb) {
  const Color t1 = ToColor(t1Argb), target = ToColor(targetArgb);
  Color out;
  for (int i = 0; i < 4; ++i) out.c[i] = std::max(t1.c[i], target.c[i]);
  return out;
}

constexpr uint32_t kDiffuse = 0xFF80C040;

// Texture x vertex colour, blended by the texture's alpha over the target (alpha too).
Color CommonBlend(uint32_t t1Argb, uint32_t, uint32_t targetArgb) {
  const Color t1 = ToColor(t1Argb), target = ToColor(targetArgb), diffuse = ToColor(kDiffuse);
  const double a = t1.c[3];
  Color out;
  for (int i = 0; i < 3; ++i) out.c[i] = t1.c[i] * diffuse.c[i] * a + target.c[i] * (1 - a);
  out.c[3] = a * a + target.c[3] * (1 - a);
  return out;
}

struct TechniqueCase {
  const char* technique;
  Expected expected;
};

class LayerBlendEffect : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenEffectTestDevice(m_TestDevice)) << "no Direct3D device";
    m_Device = m_TestDevice.Device();
    ASSERT_HRESULT_SUCCEEDED(CreateEffect(m_Device, ReadFileBytes(VQ_EFFECT_DIR "/97.fxo"), m_Effect));
    m_Texture1 = MakeTexture(m_Device, Texture1Pixels());
    m_Texture2 = MakeTexture(m_Device, Texture2Pixels());
    m_Target = MakeRenderTarget(m_Device, 4, 4);
    ASSERT_TRUE(m_Texture1 && m_Texture2 && m_Target.surface);
  }

  // Draws the technique over a target cleared to `clear` and compares every pixel.
  void CheckTechnique(const TechniqueCase& c, uint32_t clear) {
    SCOPED_TRACE(c.technique);
    ASSERT_HRESULT_SUCCEEDED(m_Effect->SetTechnique(c.technique));
    ASSERT_HRESULT_SUCCEEDED(m_Effect->SetFloatArray("BlendColor", kBlendColor, 4));
    ASSERT_HRESULT_SUCCEEDED(m_Effect->SetTexture("Texture1", m_Texture1.Get()));
    ASSERT_HRESULT_SUCCEEDED(m_Effect->SetTexture("Texture2", m_Texture2.Get()));
    Bind(m_Device, m_Target);
    m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, clear, 1.0f, 0);
    DrawScreenQuad(m_Device, m_Effect.Get(), 4, 4, kDiffuse);
    const Pixels result = ReadBack(m_Device, m_Target);
    ASSERT_EQ(result.argb.size(), 16u);
    const Pixels t1 = Texture1Pixels(), t2 = Texture2Pixels();
    for (uint32_t i = 0; i < 16; ++i) {
      const Color expected = c.expected(t1.argb[i], t2.argb[i], clear);
      for (int ch = 0; ch < 4; ++ch) {
        EXPECT_NEAR(Channel(result.argb[i], ch), std::lround(expected.c[ch] * 255), kTolerance)
            << "pixel " << i << " channel " << "bgra"[ch] << ": got " << std::hex << result.argb[i];
      }
    }
  }

  DS_WindowDevice m_TestDevice;
  IDirect3DDevice9* m_Device = nullptr;
  DS_ComHolder<ID3DXEffect> m_Effect;
  DS_ComHolder<IDirect3DTexture9> m_Texture1, m_Texture2;
  RenderTarget m_Target;
};

TEST_F(LayerBlendEffect, DeclaresTheParametersAndTechniquesItsUsersSetByName) {
  D3DXEFFECT_DESC desc;
  ASSERT_HRESULT_SUCCEEDED(m_Effect->GetDesc(&desc));
  EXPECT_EQ(desc.Techniques, 4u);
  for (const char* technique : {"Blend_Max", "Blend_Screen", "Blend_Normal", "Common"}) {
    EXPECT_NE(m_Effect->GetTechniqueByName(technique), nullptr) << technique;
  }
  D3DXPARAMETER_DESC parameter;
  ASSERT_HRESULT_SUCCEEDED(m_Effect->GetParameterDesc(m_Effect->GetParameterByName(nullptr, "BlendColor"), &parameter));
  EXPECT_EQ(parameter.Class, D3DXPC_VECTOR);
  EXPECT_EQ(parameter.Type, D3DXPT_FLOAT);
  EXPECT_EQ(parameter.Columns, 4u);
  float defaults[4] = {};
  ASSERT_HRESULT_SUCCEEDED(m_Effect->GetFloatArray("BlendColor", defaults, 4));
  EXPECT_FLOAT_EQ(defaults[1], 0.6f);  // the discharge's default glow colour 0xff9900
  for (const char* texture : {"Texture1", "Texture2"}) {
    ASSERT_HRESULT_SUCCEEDED(m_Effect->GetParameterDesc(m_Effect->GetParameterByName(nullptr, texture), &parameter));
    EXPECT_EQ(parameter.Type, D3DXPT_TEXTURE) << texture;
  }
}

TEST_F(LayerBlendEffect, EveryTechniqueDrawsTheBlendItNames) {
  const TechniqueCase cases[] = {
      {"Blend_Normal", NormalBlend},
      {"Blend_Screen", ScreenBlend},
      {"Blend_Max", MaxBlend},
      {"Common", CommonBlend},
  };
  for (const TechniqueCase& c : cases) CheckTechnique(c, 0x80402060);
}

TEST_F(LayerBlendEffect, GlowSequenceLeavesNoBlendStateForTheNextDraw) {
  // Blend_Max sets BLENDOP MAX; a following Common draw must still blend normally.
  CheckTechnique({"Blend_Max", MaxBlend}, 0x80402060);
  CheckTechnique({"Common", CommonBlend}, 0xFF204060);
}

}  // namespace
}  // namespace effect_test
