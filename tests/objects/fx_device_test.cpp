// The effect objects on a device: an object whose effect cannot be found, or whose text box is
// empty, draws nothing and leaves the picture as it was; a static text gives up its target and
// font on a device loss, so that the device can be reset, and shows its text again afterwards.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "objects/explosion/ds_explosion_constructor.h"
#include "objects/base_fx_objects/ds_fx_obj.h"
#include "objects/static_text/ds_static_text_constructor.h"
#include "tests/support/layer_fixture.h"

namespace {

class FXObjectsOnDevice : public ObjectLayerFixture {
 protected:
  static std::unique_ptr<DS_FXObj> Make(const DS_StatBaseFXCtrl& set) {
    std::unique_ptr<DS_ABObj> object = set.CreateObject();
    auto* fx = dynamic_cast<DS_FXObj*>(object.get());
    if (!fx) return nullptr;
    object.release();
    return std::unique_ptr<DS_FXObj>(fx);
  }

  // The back buffer after frames at the given times with the object (or none) drawn.
  DS_PixelReadback Play(DS_FXObj* object, std::initializer_list<float> times) {
    DS_PixelReadback pixels;
    for (float t : times) {
      m_Layer->Update(t);
      if (object) object->Update(t);
      DS_ABObj* objects[1] = {object};
      EXPECT_EQ(Device()->BeginScene(), D3D_OK);
      m_Layer->RenderScene(objects, object ? 1 : 0);
      m_Layer->PostRender();
      EXPECT_EQ(Device()->EndScene(), D3D_OK);
    }
    EXPECT_TRUE(pixels.ReadBackBuffer(Device()));
    return pixels;
  }

  static int Differing(const DS_PixelReadback& a, const DS_PixelReadback& b) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) n += SameColour(a.At(x, y), b.At(x, y), 2) ? 0 : 1;
    return n;
  }
};

DS_StaticTextConstructor Text(int64_t effectId, uint32_t width, uint32_t height) {
  DS_StaticTextConstructor text;
  text.effectLink.StoreKey(DS_ResourceKey{u"common_res.dll", effectId});
  text.text.Set(u"HHHH");
  text.colour.Set(0xFFFFFFu);
  text.boxWidth.Set(width);
  text.boxHeight.Set(height);
  text.hold.Set(100000);  // shown at once and held
  text.placed = false;    // centred on the picture
  return text;
}

DS_ExplosionConstructor Explosion(int64_t effectId) {
  DS_ExplosionConstructor blast;
  blast.effectLink.StoreKey(DS_ResourceKey{u"common_res.dll", effectId});
  blast.image.StoreKey(DS_ResourceKey{u"common_res.dll", 201});
  blast.overlayImage.StoreKey(DS_ResourceKey{u"common_res.dll", 8});
  blast.holdTime.Set(100000);
  blast.baseSize.Set(100);
  blast.placed = false;
  return blast;
}

TEST_F(FXObjectsOnDevice, AnObjectWithoutEffectOrTargetDrawsNothing) {
  const struct {
    const char* what;
    std::function<std::unique_ptr<DS_FXObj>()> make;
    bool hasEffect;
  } cases[] = {
      {"explosion, effect missing", [] { return Make(Explosion(9999)); }, false},
      {"text, effect missing", [] { return Make(Text(9999, 200, 60)); }, false},
      {"text, empty box", [] { return Make(Text(97, 0, 0)); }, true},
  };
  const DS_PixelReadback picture = Play(nullptr, {0.1f, 0.2f});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<DS_FXObj> object = c.make();
    ASSERT_TRUE(object);
    EXPECT_EQ(object->FXControl().effect.Get() != nullptr, c.hasEffect);
    EXPECT_EQ(Differing(Play(object.get(), {0.1f, 0.2f, 0.3f}), picture), 0);
  }
}

TEST_F(FXObjectsOnDevice, TheExplosionAndTheTextDrawAtTheCentreWithTheirEffects) {
  const DS_PixelReadback picture = Play(nullptr, {0.1f});
  const std::unique_ptr<DS_StatBaseFXCtrl> sets[] = {std::make_unique<DS_ExplosionConstructor>(Explosion(200)),
                                                      std::make_unique<DS_StaticTextConstructor>(Text(97, 200, 60))};
  for (const auto& set : sets) {
    SCOPED_TRACE(&set == &sets[0] ? "explosion" : "text");
    std::unique_ptr<DS_FXObj> object = Make(*set);
    ASSERT_TRUE(object);
    const DS_PixelReadback frame = Play(object.get(), {0.1f, 0.2f});
    EXPECT_GT(Differing(frame, picture), 40);
    // Centred on the picture, which fills the 320 x 240 output: nothing in the corners.
    for (int corner = 0; corner < 4; ++corner) {
      const int x = corner % 2 ? kWidth - 2 : 1, y = corner / 2 ? kHeight - 2 : 1;
      EXPECT_TRUE(SameColour(frame.At(x, y), picture.At(x, y), 2)) << x << ", " << y;
    }
  }
}

TEST_F(FXObjectsOnDevice, TheTextsTargetAndFontFollowTheDeviceThroughAReset) {
  std::unique_ptr<DS_FXObj> object = Make(Text(97, 200, 60));
  ASSERT_TRUE(object);
  auto& text = static_cast<DS_StaticTextConstructor&>(object->FXControl());
  ASSERT_TRUE(text.Target().current);
  ASSERT_TRUE(text.HasFont());
  const DS_PixelReadback picture = Play(nullptr, {0.1f});
  const DS_PixelReadback before = Play(object.get(), {0.1f, 0.2f});
  EXPECT_GT(Differing(before, picture), 40);

  // As the slide show does: the objects and the layer, then the manager's effects.
  object->OnDeviceLost();
  m_Layer->OnDeviceLost();
  m_Manager->OnDeviceLost();
  EXPECT_FALSE(text.Target().current);
  EXPECT_FALSE(text.HasFont());

  ASSERT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
  s_Device->SetDefaultStates();
  m_Manager->OnDeviceReset();
  m_Layer->OnDeviceReset();
  object->OnDeviceReset();
  EXPECT_TRUE(text.Target().current);
  EXPECT_TRUE(text.HasFont());
  EXPECT_EQ(Differing(Play(object.get(), {0.4f, 0.5f}), before), 0);
}

}  // namespace
