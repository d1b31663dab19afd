// What a D3DX font leaves in a render target cleared to transparent black: the static text draws
// its line into such a target and then blends the target over the picture by its alpha, so the
// glyphs must carry alpha there. They do: the font's sprite blends every channel by the text
// colour's alpha a (source alpha, inverse source alpha), the alpha channel included, so over
// transparent black a glyph's core holds colour a x white and alpha a x a. Full opacity reaches
// the target whole; half opacity leaves colour 128 and alpha 64.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "core/render/render_target_pair.h"
#include "tools/device/window_device.h"

namespace {

struct GlyphSample {
  int lit = 0;            // pixels whose colour is at least half white
  unsigned maxAlpha = 0;  // the largest alpha among them
  unsigned maxRed = 0;
};

// Draws "HHHH" in white with the given alpha byte into a fresh transparent 128 x 64 target.
GlyphSample DrawTextInto(IDirect3DDevice9* device, ID3DXFont* font, unsigned alpha) {
  GlyphSample sample;
  DS_RenderTargetPair target;
  if (!target.Create(128, 64) || !target.Begin(target.current)) return sample;
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
  device->BeginScene();
  RECT box;
  SetRect(&box, 0, 0, 128, 64);
  font->DrawTextW(nullptr, L"HHHH", -1, &box, DT_CENTER | DT_VCENTER, (alpha << 24) | 0xFFFFFFu);
  device->EndScene();
  target.End();
  DS_PixelReadback pixels;
  if (!pixels.ReadTexture(device, target.current.Get())) return sample;
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x) {
      const uint32_t argb = pixels.Argb(x, y);
      sample.maxRed = std::max(sample.maxRed, (argb >> 16) & 0xFFu);
      if (((argb >> 16) & 0xFFu) < 0x80u) continue;
      ++sample.lit;
      sample.maxAlpha = std::max(sample.maxAlpha, argb >> 24);
    }
  return sample;
}

TEST(TextIntoTransparentTarget, TheGlyphsCarryAlphaBlendedByTheTextColoursAlpha) {
  DS_WindowDevice device;
  ASSERT_TRUE(device.Open(320, 240, L"text alpha probe"));
  DS_ComHolder<ID3DXFont> font;
  ASSERT_EQ(D3DXCreateFontW(device.Device(), 32, 0, 700, 1, FALSE, DEFAULT_CHARSET, 0, 0, 0, L"Arial", font.Receive()),
            D3D_OK);
  const struct {
    unsigned alpha;  // of the text colour
    unsigned red, coverAlpha;  // what the glyphs' cores hold: a x 255 and a x a x 255
  } cases[] = {{255, 255, 255}, {128, 128, 64}};
  for (const auto& c : cases) {
    // Lit pixels: at least half white, which a half-opaque text reaches only at its cores.
    const GlyphSample s = DrawTextInto(device.Device(), font.Get(), c.alpha);
    std::printf("text alpha %u: largest red %u, largest alpha %u among %d lit pixels\n", c.alpha, s.maxRed,
                s.maxAlpha, s.lit);
    EXPECT_GT(s.lit, 50) << c.alpha;
    EXPECT_NEAR(static_cast<int>(s.maxRed), static_cast<int>(c.red), 3) << c.alpha;
    EXPECT_NEAR(static_cast<int>(s.maxAlpha), static_cast<int>(c.coverAlpha), 3) << c.alpha;
  }
}

}  // namespace
