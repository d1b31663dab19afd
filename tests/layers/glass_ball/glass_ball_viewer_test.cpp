// The glass ball in a preview-sized window, played by the scene viewer's own code: the backdrop
// is minified there, and is drawn through every level of its gradient's mip chain. The levels
// below the top are marked with a colour the gradient does not hold, so that a frame drawn from
// the chain tells itself from one drawn from the top level alone.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "layers/glass_ball/ds_glass_ball_light.h"
#include "tests/support/test_bytes.h"
#include "tools/device/window_device.h"
#include "tools/scene-viewer/viewed_scene.h"
#include "tools/scene-viewer/viewer_options.h"

namespace {

constexpr int kWidth = 152, kHeight = 112;  // the size of the control panel's preview

// A still glass ball without highlights or stand over a red gradient (red to red: every row of
// the top level is the same red), on the library's picture.
std::vector<uint8_t> BallDocument() {
  TestBytes doc;
  doc.Header(u"DS_GlassBallLight", DS_GlassBallLight::kVersion);
  for (int id : {58, 59, 60, 5}) doc.Key(u"common_res.dll", id);
  doc.U32(0).I32(0).I32(0).U32(50).U32(0);  // scroll speed, position, size, lens
  doc.I32(0).I32(0).I32(0).I32(0).I32(0);   // overlays, stand, backdrop mode, scroll mode
  doc.U32(0x000000FFu).U32(0x000000FFu);    // gradient top and bottom (red is the low byte)
  AppendBaseLayer(doc, u"common_res.dll", 5);
  return doc.bytes;
}

// Fills every level of `texture` below the top with `argb`.
void MarkLowerLevels(IDirect3DTexture9* texture, std::uint32_t argb) {
  for (UINT level = 1; level < texture->GetLevelCount(); ++level) {
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT r;
    ASSERT_EQ(texture->GetLevelDesc(level, &desc), D3D_OK);
    ASSERT_EQ(texture->LockRect(level, &r, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < desc.Height; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(r.pBits) + y * r.Pitch);
      for (UINT x = 0; x < desc.Width; ++x) row[x] = argb;
    }
    texture->UnlockRect(level);
  }
}

TEST(GlassBallPreview, TheMinifiedBackdropIsDrawnThroughTheGradientsMipChain) {
  DS_WindowDevice device;
  ASSERT_TRUE(device.Open(kWidth, kHeight, L"glass ball preview"));
  ViewerOptions options;
  options.width = kWidth;
  options.height = kHeight;
  options.times = {1.0f};
  options.step = 0.25f;
  std::srand(1);
  std::wstring error;
  std::unique_ptr<ViewedScene> scene = LoadViewedScene(BallDocument(), options, error);
  ASSERT_NE(scene, nullptr) << std::string(error.begin(), error.end());
  auto* ball = dynamic_cast<DS_GlassBallLight*>(scene->TracedLayer());
  ASSERT_NE(ball, nullptr);
  ASSERT_TRUE(ball->GradientTexture());
  ASSERT_GT(ball->GradientTexture()->GetLevelCount(), 2u);
  MarkLowerLevels(ball->GradientTexture().Get(), 0xFF00FF00u);

  IDirect3DDevice9* d = device.Device();
  DS_PixelReadback frame;
  for (float t : FrameSchedule(options.times, options.step)) {
    ASSERT_EQ(d->BeginScene(), D3D_OK);
    scene->Frame(t);
    d->EndScene();
  }
  ASSERT_TRUE(frame.ReadBackBuffer(d));
  // Outside the ball (half the size here), in the four corners: the 256 x 256 gradient shrunk to
  // 152 x 112 is read mostly from its smaller levels, the green ones.
  const int corners[][2] = {{3, 3}, {kWidth - 4, 3}, {3, kHeight - 4}, {kWidth - 4, kHeight - 4}};
  for (const auto& p : corners) {
    const std::uint32_t c = frame.At(p[0], p[1]);
    const int red = static_cast<int>(c >> 16 & 0xFF), green = static_cast<int>(c >> 8 & 0xFF);
    EXPECT_GT(green, red) << p[0] << ", " << p[1] << ": " << std::hex << c;
    EXPECT_GT(green, 100) << p[0] << ", " << p[1] << ": " << std::hex << c;
  }
}

}  // namespace
