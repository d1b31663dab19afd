// The shader instructions the brush effects rely on, run on the device under Wine and read back:
// sincos with its constants, frc, pow, nrm, rsq, rcp, cmp, dp2add, a length as rcp (rsq (x)) and
// a dependent texture read, each against the value computed here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "tests/support/effect_test_support.h"

namespace effect_test {
namespace {

constexpr uint32_t kSize = 16;
constexpr int kTolerance = 2;  // of 255: 8-bit target rounding, and sincos's series error
constexpr double kPi = 3.14159265358979323846;

// The pixel's texture coordinate u on the 16 x 1 target.
double U(uint32_t i) { return (i + 0.5) / kSize; }

// One channel in 0..1 per colour: red, green, blue, alpha.
using Expected = std::function<void(double t, double rgba[4])>;

void Trig(double t, double rgba[4]) {
  const double a = 2 * kPi * t - kPi;
  rgba[0] = std::cos(a) * 0.5 + 0.5;
  rgba[1] = std::sin(a) * 0.5 + 0.5;
  rgba[2] = 3.7 * t - std::floor(3.7 * t);
  rgba[3] = std::pow(t, 2.5);
}

void Vector(double t, double rgba[4]) {
  const double length = std::sqrt(t * t + (1 - t) * (1 - t) + 0.25);
  rgba[0] = t / length * 0.5 + 0.5;
  rgba[1] = (1 - t) / length * 0.5 + 0.5;
  rgba[2] = 0.5 / std::sqrt(t + 0.25);
  rgba[3] = 1 / (t + 1);
}

void Select(double t, double rgba[4]) {
  const double d = t - 0.5;
  rgba[0] = d >= 0 ? 1 : 0;
  rgba[1] = 0.3 * t + 0.6 * (1 - t) + 0.1;
  rgba[2] = std::min(1.0, std::fabs(d) * 2);
  rgba[3] = d > 0 ? 1 : 0;
}

struct ProbeCase {
  const char* technique;
  Expected expected;
};

class ShaderProbe : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenEffectTestDevice(m_TestDevice)) << "no Direct3D device";
    m_Device = m_TestDevice.Device();
    ASSERT_HRESULT_SUCCEEDED(CreateEffect(m_Device, ReadFileBytes(VQ_PROBE_EFFECT), m_Effect));
    m_Target = MakeRenderTarget(m_Device, kSize, 1);
    ASSERT_TRUE(m_Target.surface);
  }

  Pixels Draw(const char* technique) {
    EXPECT_HRESULT_SUCCEEDED(m_Effect->SetTechnique(technique));
    Bind(m_Device, m_Target);
    m_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
    DrawScreenQuad(m_Device, m_Effect.Get(), kSize, 1);
    return ReadBack(m_Device, m_Target);
  }

  DS_WindowDevice m_TestDevice;
  IDirect3DDevice9* m_Device = nullptr;
  DS_ComHolder<ID3DXEffect> m_Effect;
  RenderTarget m_Target;
};

TEST_F(ShaderProbe, ArithmeticInstructionsGiveTheValuesComputedOnTheCpu) {
  const ProbeCase cases[] = {{"Trig", Trig}, {"Vector", Vector}, {"Select", Select}};
  for (const ProbeCase& c : cases) {
    SCOPED_TRACE(c.technique);
    const Pixels result = Draw(c.technique);
    ASSERT_EQ(result.argb.size(), kSize);
    for (uint32_t i = 0; i < kSize; ++i) {
      double rgba[4];
      c.expected(U(i), rgba);
      const int got[4] = {Channel(result.argb[i], 2), Channel(result.argb[i], 1), Channel(result.argb[i], 0),
                          Channel(result.argb[i], 3)};
      for (int ch = 0; ch < 4; ++ch) {
        EXPECT_NEAR(got[ch], std::lround(rgba[ch] * 255), kTolerance)
            << "pixel " << i << " channel " << "rgba"[ch] << " at t = " << U(i);
      }
    }
  }
}

TEST_F(ShaderProbe, ADependentReadSamplesWhereTheFirstReadPoints) {
  // Lookup texel i points at Values texel (5 i + 3) mod 16; Values texel j has red 16 j, green
  // 255 - 16 j and blue j x j.
  Pixels lookup{kSize, 1, {}}, values{kSize, 1, {}};
  for (uint32_t i = 0; i < kSize; ++i) {
    const uint32_t j = (5 * i + 3) % kSize;
    const uint32_t red = static_cast<uint32_t>(std::lround(255.0 * (j + 0.5) / kSize));
    lookup.argb.push_back(0xFF000000u | red << 16);
    values.argb.push_back(0xFF000000u | (16 * i) << 16 | (255 - 16 * i) << 8 | (i * i));
  }
  DS_ComHolder<IDirect3DTexture9> lookupTexture = MakeTexture(m_Device, lookup);
  DS_ComHolder<IDirect3DTexture9> valuesTexture = MakeTexture(m_Device, values);
  ASSERT_HRESULT_SUCCEEDED(m_Effect->SetTexture("Lookup", lookupTexture.Get()));
  ASSERT_HRESULT_SUCCEEDED(m_Effect->SetTexture("Values", valuesTexture.Get()));
  const Pixels result = Draw("Dependent");
  ASSERT_EQ(result.argb.size(), kSize);
  for (uint32_t i = 0; i < kSize; ++i) {
    const uint32_t j = (5 * i + 3) % kSize;
    EXPECT_EQ(result.argb[i] & 0x00FFFFFFu, values.argb[j] & 0x00FFFFFFu) << "pixel " << i;
  }
}

}  // namespace
}  // namespace effect_test
