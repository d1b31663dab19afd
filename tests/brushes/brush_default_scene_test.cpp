// The default scene's brush slides as the scene viewer plays them (its own loading and frame
// code, in this process): with every brush drawing only the part of the picture quad its mask
// can change, each frame is the one the whole quads draw, pixel for pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "brushes/base_fx/ds_fx_device.h"
#include "core/render/render_context.h"
#include "core/resources/resource_record.h"
#include "tests/support/default_scene_frames.h"

namespace {

// Two times inside the display time of each slide with a brush that has a mask.
std::vector<float> BrushSlideTimes(const std::vector<uint8_t>& document) {
  DS_ResourceRecordTables tables;
  const auto show = ReadSceneDocument(document.data(), document.size(), [&](DS_IOF_Virtual& in, uint32_t version) {
    ReadResourceRecordTables(in, version, tables);
  });
  std::vector<float> times;
  float start = 0.0f;
  for (const auto& slide : show->Slides()) {
    const DS_SlideTimes slideTimes = slide->Times();
    for (const auto& object : slide->ParameterSets1()) {
      const auto* brush = dynamic_cast<const DS_FX_Constructor*>(object.get());
      const auto sameKey = [&](const DS_MaskEntry& mask) {
        return !DS_MaskKeyLess()(mask, brush->maskKey) && !DS_MaskKeyLess()(brush->maskKey, mask);
      };
      if (!brush || std::none_of(tables.pendingMasks.begin(), tables.pendingMasks.end(), sameKey)) continue;
      times.push_back(start + slideTimes.fadeIn + 1.0f);
      times.push_back(start + slideTimes.fadeIn + 3.5f);
      break;
    }
    start += slideTimes.fadeIn + slideTimes.display + slideTimes.fadeOut;
  }
  return times;
}

class BrushSlides : public DefaultSceneFrames {
 protected:
  static void SetUpTestSuite() {
    const std::vector<uint8_t> bytes = OpenDeviceWithDefaultScene();
    if (bytes.empty()) return;
    s_Times = BrushSlideTimes(bytes);
    ASSERT_GE(s_Times.size(), 6u) << "the default scene has three slides of brushes with masks";
    CurrentRenderContext().brushesDrawWholeQuad = true;
    Play(bytes, s_Times);
    CurrentRenderContext().brushesDrawWholeQuad = false;
    s_WholeQuads = s_Frames;
    Play(bytes, s_Times);
  }

  static inline std::vector<float> s_Times;
  static inline std::map<float, DS_PixelReadback> s_WholeQuads;
};

TEST_F(BrushSlides, EveryFrameIsTheOneTheWholeQuadsDraw) {
  for (float t : s_Times) {
    const DS_PixelReadback& part = s_Frames.at(t);
    const DS_PixelReadback& whole = s_WholeQuads.at(t);
    int differing = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) differing += part.At(x, y) != whole.At(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0) << "at " << t << " s";
  }
}

}  // namespace
