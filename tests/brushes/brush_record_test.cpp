// The records of the brush base and of the kinds: non-default values come back through the
// registry byte for byte, the nested base part reads both its versions, the radial wave's first
// version keeps its own defaults, the pattern brush's second name nests the first's record and
// runs as the first, values read from a document reach the direction vectors through
// the live brush's clone, and the listeners keep the vectors in step with later changes.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <string>
#include <typeinfo>

#include "brushes/background_copy/ds_background_copy.h"
#include "brushes/expand_fx/ds_expand_fx.h"
#include "brushes/light_fx/ds_light_fx.h"
#include "brushes/move_fx/ds_move_fx.h"
#include "brushes/pattern_brush_c/ds_pattern_brush_c.h"
#include "brushes/radial_wave_fx/ds_radial_wave_fx.h"
#include "brushes/rotation_fx/ds_rotation_fx.h"
#include "brushes/water_fx/ds_water_fx.h"
#include "brushes/waves_fx/ds_waves_fx.h"
#include "core/data/class_registry.h"
#include "core/data/file_links.h"
#include "tests/support/brush_test_support.h"
#include "tests/support/test_bytes.h"

namespace brush_test {
namespace {

constexpr float kNear = 1e-5f;

struct KindCase {
  const char* name;
  std::function<std::unique_ptr<DS_FX_Constructor>()> make;  // a kind with every field changed
};

void ChangeBase(DS_FX_Constructor& brush) {
  brush.speed.Set(77);
  brush.techniqueFlag.Set(1);
  brush.scaleFactor.Set(100);
  brush.maskKey.name = u"mask A";
  brush.maskKey.flag = false;
  brush.effectLink.StoreKey(DS_ResourceKey{u"other.dll", 12});
  brush.objectName = u"brush";
}

std::unique_ptr<DS_FX_Constructor> ChangedPattern(std::unique_ptr<DS_PatternBrush> pattern) {
  pattern->patternLink.SetKey(DS_ResourceKey{u"patterns.dll", 242});
  pattern->flipY.Set(1);
  pattern->flipX.Set(2);
  pattern->angle.Set(33);
  pattern->zoom.Set(250);
  pattern->offsetX.Set(40);
  pattern->offsetY.Set(60);
  ChangeBase(*pattern);
  return pattern;
}

const KindCase kKinds[] = {
    {"waves",
     [] {
       auto waves = std::make_unique<DS_WavesFX>();
       waves->amplitude.Set(80);
       waves->wavelength.Set(10);
       waves->angle.Set(135);
       waves->secondDirection.Set(1);
       ChangeBase(*waves);
       return std::unique_ptr<DS_FX_Constructor>(std::move(waves));
     }},
    {"light",
     [] {
       auto light = std::make_unique<DS_LightFX>();
       light->intensity.Set(90);
       light->mode.Set(2);
       ChangeBase(*light);
       return std::unique_ptr<DS_FX_Constructor>(std::move(light));
     }},
    {"water",
     [] {
       auto water = std::make_unique<DS_WaterFX>();
       for (auto* value : {&water->shapeFactor, &water->bumpScale, &water->amplitude, &water->wavelength,
                           &water->shadows, &water->halfVectorZ})
         value->Set(value->Get() + 7);
       water->angle.Set(300);
       water->colour.Set(0x123456);
       water->bumpLink.SetKey(DS_ResourceKey{u"bump.png", 5});
       ChangeBase(*water);
       return std::unique_ptr<DS_FX_Constructor>(std::move(water));
     }},
    {"move",
     [] {
       auto move = std::make_unique<DS_MoveFX>();
       move->strength.Set(123);
       move->angle.Set(200);
       move->mode.Set(DS_MoveFX::kNoise);
       ChangeBase(*move);
       return std::unique_ptr<DS_FX_Constructor>(std::move(move));
     }},
    {"expand",
     [] {
       auto expand = std::make_unique<DS_ExpandFX>();
       expand->outward.Set(71);
       expand->inward.Set(72);
       expand->mode.Set(DS_ExpandFX::kSine);
       expand->centre.Set(DS_Vector3{1.0f, 2.0f, 3.0f});
       ChangeBase(*expand);
       return std::unique_ptr<DS_FX_Constructor>(std::move(expand));
     }},
    {"radial wave",
     [] {
       auto radial = std::make_unique<DS_RadialWaveFX>();
       radial->amplitude.Set(81);
       radial->wavelength.Set(82);
       radial->zoom.Set(83);
       radial->mode.Set(1);
       radial->centre.Set(DS_Vector3{10.5f, -3.25f, 2.0f});
       ChangeBase(*radial);
       return std::unique_ptr<DS_FX_Constructor>(std::move(radial));
     }},
    {"rotation",
     [] {
       auto rotation = std::make_unique<DS_RotationFX>();
       rotation->aspect.Set(1500);
       rotation->axisAngle.Set(30);
       rotation->mode.Set(-2);
       rotation->centre.Set(DS_Vector3{200.0f, 100.0f, 0.0f});
       ChangeBase(*rotation);
       return std::unique_ptr<DS_FX_Constructor>(std::move(rotation));
     }},
    {"pattern", [] { return ChangedPattern(std::make_unique<DS_PatternBrush>()); }},
    {"pattern C", [] { return ChangedPattern(std::make_unique<DS_PatternBrushC>()); }},
    {"background copy",
     [] {
       auto copy = std::make_unique<DS_BackgroundCopy>();
       MediaRectangle& rect = copy->sourceRect;
       int32_t value = -3;
       for (MediaParamTB<int32_t>* edge : std::initializer_list<MediaParamTB<int32_t>*>{
                &rect.left, &rect.right, &rect.top, &rect.bottom, &rect.further1, &rect.further2})
         edge->Set(value += 11);
       copy->shiftY.Set(1);
       copy->shiftX.Set(-4);
       ChangeBase(*copy);
       return std::unique_ptr<DS_FX_Constructor>(std::move(copy));
     }},
};

TEST(BrushRecord, EveryKindReadsItsChangedFieldsBackByteForByte) {
  for (const KindCase& c : kKinds) {
    SCOPED_TRACE(c.name);
    const std::unique_ptr<DS_FX_Constructor> original = c.make();
    const std::vector<uint8_t> bytes = Written(*original);
    size_t left = 99;
    const std::unique_ptr<DS_ABObj_Constructor> read = ReadConstructor(bytes, &left);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(Written(*read), bytes);
    auto* brush = dynamic_cast<DS_FX_Constructor*>(read.get());
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->maskKey.id, original->maskKey.id);
    EXPECT_EQ(brush->maskKey.name, u"mask A");
    EXPECT_FALSE(brush->maskKey.flag);
    EXPECT_EQ(brush->techniqueFlag.Get(), 1);
    EXPECT_EQ(brush->effectLink.Key(), (DS_ResourceKey{u"other.dll", 12}));
    EXPECT_FLOAT_EQ(brush->scaleFactor.Derived(), 2.0f);
    EXPECT_FLOAT_EQ(brush->speed.Derived(), original->speed.Derived());  // the derived speed follows
    EXPECT_EQ(brush->objectName, u"brush");
  }
}

// A light record whose nested base part is written by hand in the given version.
std::vector<uint8_t> LightRecord(uint32_t fxVersion, const DS_Guid& guid) {
  TestBytes bytes;
  bytes.Str(u"DS_LightFX").U32(1).U32(70).I32(1);
  bytes.Str(u"DS_FX_Constructor").U32(fxVersion).U32(40).I32(3).Str(DS_GuidToString(guid)).Str(u"named").U8(1);
  bytes.Str(u"common_res.dll").I64(76);
  if (fxVersion > 1) bytes.U32(100);
  bytes.Str(u"DS_ABObj_Constructor").U32(1).Str(u"pulse");
  return bytes.bytes;
}

TEST(BrushRecord, TheNestedBasePartReadsTheScaleFactorOnlyFromVersionTwo) {
  DS_Guid guid;
  guid.data1 = 0x01020304;
  guid.data4[7] = 0x99;
  struct {
    uint32_t version;
    float k;
  } const cases[] = {{1, 1.0f}, {2, 2.0f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    size_t left = 99;
    const auto read = ReadConstructor(LightRecord(c.version, guid), &left);
    auto* light = dynamic_cast<DS_LightFX*>(read.get());
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(left, 0u);
    EXPECT_FLOAT_EQ(light->scaleFactor.Derived(), c.k);
    EXPECT_FLOAT_EQ(light->intensity.Derived(), 0.7f);
    EXPECT_EQ(light->mode.Get(), 1);
    EXPECT_EQ(light->techniqueFlag.Get(), 3);
    EXPECT_EQ(light->maskKey.id, guid);
    EXPECT_EQ(light->maskKey.name, u"named");
    EXPECT_EQ(light->objectName, u"pulse");
  }
}

TEST(BrushRecord, ARadialWaveOfVersionOneHoldsOnlyItsCentreAndBase) {
  TestBytes bytes;
  bytes.Str(u"DS_RadialWaveFX").U32(1);
  bytes.Str(u"DS_CentralBased").U32(1).F32(30.0f).F32(40.0f).F32(0.0f);
  bytes.Str(u"DS_FX_Constructor").U32(2).U32(60).I32(0).Str(DS_GuidToString(DS_Guid{})).Str(u"").U8(1);
  bytes.Str(u"common_res.dll").I64(103).U32(50);
  bytes.Str(u"DS_ABObj_Constructor").U32(1).Str(u"ripple");
  size_t left = 99;
  const auto read = ReadConstructor(bytes.bytes, &left);
  auto* radial = dynamic_cast<DS_RadialWaveFX*>(read.get());
  ASSERT_NE(radial, nullptr);
  EXPECT_EQ(left, 0u);
  const DS_RadialWaveFX defaults;
  EXPECT_EQ(radial->amplitude.Get(), defaults.amplitude.Get());
  EXPECT_EQ(radial->wavelength.Get(), defaults.wavelength.Get());
  EXPECT_EQ(radial->zoom.Get(), defaults.zoom.Get());
  EXPECT_FLOAT_EQ(radial->zoom.Derived(), 75.0f);
  EXPECT_EQ(radial->mode.Get(), 0);
  EXPECT_EQ(radial->centre.Get(), (DS_Vector3{30.0f, 40.0f, 0.0f}));
  EXPECT_FLOAT_EQ(radial->speed.Derived(), 60.0f);
  EXPECT_EQ(radial->objectName, u"ripple");
  // Written again, it is a record of the current version.
  EXPECT_GT(Written(*radial).size(), bytes.bytes.size());
}

TEST(BrushRecord, ThePatternBrushsSecondNameNestsTheFirstsRecordAndRunsAsTheFirst) {
  DS_PatternBrushC second;
  second.zoom.Set(300);
  second.patternLink.SetKey(DS_ResourceKey{u"lace.png", 4});
  DS_PatternBrush first;
  first.zoom.Set(300);
  first.patternLink.SetKey(DS_ResourceKey{u"lace.png", 4});
  first.maskKey = second.maskKey;
  // "DS_PatternBrushC" version 1, then the whole "DS_PatternBrush" record.
  TestBytes header;
  header.Str(u"DS_PatternBrushC").U32(1);
  std::vector<uint8_t> expected = header.bytes;
  const std::vector<uint8_t> nested = Written(first);
  expected.insert(expected.end(), nested.begin(), nested.end());
  EXPECT_EQ(Written(second), expected);

  // The nested header is read and not used, whatever version it names.
  std::vector<uint8_t> otherVersion = expected;
  otherVersion[header.bytes.size() + 34] = 7;  // after the nested name (4 + 15 x 2 bytes)
  size_t left = 99;
  const auto read = ReadConstructor(otherVersion, &left);
  ASSERT_NE(dynamic_cast<DS_PatternBrushC*>(read.get()), nullptr);
  EXPECT_EQ(left, 0u);
  EXPECT_EQ(Written(*read), expected);
  EXPECT_FLOAT_EQ(static_cast<DS_PatternBrushC&>(*read).zoom.Derived(), 3.0f);

  // Its live brush runs a plain pattern brush of the same values.
  const std::unique_ptr<DS_ABObj> live = read->CreateObject();
  const DS_FX_Constructor& clone = static_cast<DS_BrushObj&>(*live).Brush();
  EXPECT_EQ(typeid(clone), typeid(DS_PatternBrush));
  EXPECT_EQ(Written(clone), nested);
}

TEST(BrushRecord, DirectionsReadFromTheDocumentReachTheLiveBrushThroughItsClone) {
  DS_WavesFX stored;
  stored.angle.Store(90);  // as the reader stores it: nobody told
  stored.secondDirection.Store(1);
  const auto read = ReadConstructor(Written(stored));
  auto* waves = dynamic_cast<DS_WavesFX*>(read.get());
  ASSERT_NE(waves, nullptr);
  // The parameter set keeps its constructor's vectors (angle 0 runs at 360 degrees).
  EXPECT_NEAR(waves->direction.x, 1.0f, kNear);
  EXPECT_NEAR(waves->directionN.y, 1.0f, kNear);

  const std::unique_ptr<DS_ABObj> live = waves->CreateObject();
  auto& clone = static_cast<const DS_WavesFX&>(static_cast<DS_BrushObj&>(*live).Brush());
  EXPECT_NEAR(clone.direction.x, 0.0f, kNear);
  EXPECT_NEAR(clone.direction.y, -1.0f, kNear);
  EXPECT_NEAR(clone.directionN.x, 0.0f, kNear);  // the opposite of the direction
  EXPECT_NEAR(clone.directionN.y, 1.0f, kNear);
}

TEST(BrushRecord, ListenersKeepTheDirectionsInStepWithChangedAngles) {
  DS_WavesFX waves;
  waves.angle.Set(90);
  EXPECT_NEAR(waves.direction.y, -1.0f, kNear);
  EXPECT_NEAR(waves.directionN.x, 1.0f, kNear);  // turned by a right angle
  waves.secondDirection.Set(1);
  EXPECT_NEAR(waves.directionN.x, 0.0f, kNear);
  EXPECT_NEAR(waves.directionN.y, 1.0f, kNear);

  DS_WaterFX water;  // the angle used directly: 40 degrees at first
  EXPECT_NEAR(water.direction.x, std::cos(40 * D3DX_PI / 180), kNear);
  EXPECT_NEAR(water.direction.y, std::sin(40 * D3DX_PI / 180), kNear);
  water.angle.Set(90);
  EXPECT_NEAR(water.direction.x, 0.0f, kNear);
  EXPECT_NEAR(water.direction.y, 1.0f, kNear);

  DS_MoveFX move;  // along the angle turned back: 90 degrees points up
  EXPECT_NEAR(move.direction.x, 1.0f, kNear);
  move.angle.Set(90);
  EXPECT_NEAR(move.direction.x, 0.0f, kNear);
  EXPECT_NEAR(move.direction.y, -1.0f, kNear);
  const DS_MoveFX moveCopy(move);
  move.angle.Set(0);
  EXPECT_NEAR(moveCopy.direction.y, -1.0f, kNear);

  // A copy listens to its own parameters, not to the source's.
  DS_WaterFX copy(water);
  water.angle.Set(180);
  EXPECT_NEAR(copy.direction.y, 1.0f, kNear);
  copy.angle.Set(0);
  EXPECT_NEAR(copy.direction.x, 1.0f, kNear);
  EXPECT_NEAR(water.direction.x, -1.0f, kNear);
}

TEST(BrushRecord, NewIdentityGivesAFreshMaskKey) {
  DS_LightFX light;
  light.maskKey.name = u"old";
  light.maskKey.flag = false;
  const DS_Guid before = light.maskKey.id;
  light.NewIdentity();
  EXPECT_NE(light.maskKey.id, before);
  EXPECT_TRUE(light.maskKey.name.empty());
  EXPECT_TRUE(light.maskKey.flag);
  EXPECT_FALSE(light.DeviceRefs().maskTexture);
  // Two new brushes never share a mask.
  EXPECT_NE(DS_WavesFX().maskKey.id, DS_WavesFX().maskKey.id);
}

// The effect link is stored as two fields; an empty library read over a kind's own link empties
// it, as reading the whole link did (the stream keeps a string's old value for an empty one).
TEST(BrushRecord, AStoredEmptyEffectLinkReplacesTheKindsOwn) {
  DS_LightFX light;
  light.effectLink.StoreKey(DS_ResourceKey{});
  const auto read = ReadConstructor(Written(light));
  auto* brush = dynamic_cast<DS_LightFX*>(read.get());
  ASSERT_NE(brush, nullptr);
  EXPECT_EQ(brush->effectLink.Key(), DS_ResourceKey{});
}

// The declared records carry each kind's own defaults into its nested parts; a mask GUID, fresh
// for every brush, carries none.
TEST(BrushRecord, TheDeclaredNestedPartsHaveTheKindsDefaults) {
  struct {
    const char16_t* kind;
    const char* part;
    const char* field;
    const char* value;
  } const cases[] = {
      {u"DS_LightFX", "DS_LightFX/DS_FX_Constructor", "speed", "40"},
      {u"DS_LightFX", "DS_LightFX/DS_FX_Constructor", "effect_id", "76"},
      {u"DS_LightFX", "DS_LightFX/DS_FX_Constructor", "mask_guid", ""},
      {u"DS_WaterFX", "DS_WaterFX/DS_FX_Constructor", "scale", "30"},
      {u"DS_MoveFX", "DS_MoveFX/DS_DirectionBased", "strength", "50"},
      {u"DS_RotationFX", "DS_RotationFX/DS_CentralBased/DS_FX_Constructor", "effect_library", "\"\""},
      {u"DS_PatternBrushC", "DS_PatternBrushC/DS_PatternBrush/DS_FX_Constructor", "effect_id", "78"},
      {u"DS_BackgroundCopy", "DS_BackgroundCopy/DS_FX_Constructor", "speed", "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.part) + "." + c.field);
    const DS_DeclaredRecords records = GetConstructorReaderMap().at(c.kind)->Describe();
    const auto part = records.find(c.part);
    ASSERT_NE(part, records.end());
    const DS_DeclaredField* found = nullptr;
    for (const DS_DeclaredField& field : part->second.fields)
      if (field.name == c.field) found = &field;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->value, c.value);
  }
}

}  // namespace
}  // namespace brush_test
