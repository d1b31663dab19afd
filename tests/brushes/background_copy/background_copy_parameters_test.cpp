// The background copy's offset in its effect: its shift as fractions of the picture.
#include <gtest/gtest.h>

#include <vector>

#include "brushes/background_copy/ds_background_copy.h"
#include "tests/brushes/brush_parameters_fixture.h"

namespace brush_test {
namespace {

TEST_F(BrushParameters, BackgroundCopiesShiftByTheirOffsetAsFractionsOfThePicture) {
  struct {
    unsigned w, h;
    int32_t dx, dy, shiftX, shiftY;
    std::vector<float> offset;
  } const cases[] = {
      {1024, 768, 512, 0, 0, 0, {0.5f, 0.0f}},
      {1024, 768, 512, 0, 1, 0, {1.5f, 0.0f}},
      {1024, 768, 0, 384, 0, -2, {0.0f, 1.5f}},
      {1024, 768, -256, 192, 0, 0, {-0.25f, 0.25f}},
      {0, 0, 512, 100, 0, 0, {0.0f, 0.0f}},  // a picture that resolved to nothing: no pixel shift
      {0, 0, 512, 100, 1, 1, {1.0f, 1.0f}},  // but the whole-picture shifts stay
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.w);
    SCOPED_TRACE(c.dx);
    UsePicture(c.w, c.h);
    DS_BackgroundCopy copy;
    copy.sourceRect.further1.Set(c.dx);
    copy.sourceRect.further2.Set(c.dy);
    copy.sourceRect.right.Set(999);  // carried, not drawn with
    copy.shiftX.Set(c.shiftX);
    copy.shiftY.Set(c.shiftY);
    const auto live = Live(copy);
    RunUntil(*live, 0.1f);
    ID3DXEffect* e = EffectOf(*live);
    ASSERT_NE(e, nullptr);
    ExpectFloats(FloatsOf(e, "offset", 2), c.offset, 1e-6f);
    EXPECT_EQ(TextureOf(e, "Background"), m_Picture.Get());
  }
}

}  // namespace
}  // namespace brush_test
