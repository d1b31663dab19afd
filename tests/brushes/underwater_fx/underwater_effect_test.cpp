// The underwater effect's own side, without a device: the parameters it sends to its effect for
// a picture at a time, its nested record laid out byte by byte (with a base part of either
// version, and cut short), and the copy by which the underwater layer takes a freshly read one.
#include <gtest/gtest.h>

#include <vector>

#include "brushes/underwater_fx/ds_underwater_fx.h"
#include "core/data/ds_stream.h"
#include "core/data/file_links.h"
#include "tests/support/test_bytes.h"

namespace {

// What the effect sends for a picture of width x height, by name.
struct Sent {
  float frequency[2] = {-1.0f, -1.0f};
  float amplitude = -1.0f;
  float time = -1.0f;
  int count = 0;
};

Sent SentFor(const DS_UnderwaterFX& effect, unsigned width, unsigned height) {
  DS_FX_Parameters parameters;
  effect.CollectParameters(parameters, width, height);
  Sent sent;
  for (const DS_FX_Parameters::Value& v : parameters.values) {
    const std::string name = v.name;
    ++sent.count;
    if (name == "frequency" && v.count == 2) {
      sent.frequency[0] = v.v[0];
      sent.frequency[1] = v.v[1];
    } else if (name == "amplitude" && v.count == 1) {
      sent.amplitude = v.v[0];
    } else if (name == "time" && v.count == 1) {
      sent.time = v.v[0];
    } else {
      ADD_FAILURE() << "unexpected parameter " << name << " of " << v.count << " floats";
    }
  }
  EXPECT_TRUE(parameters.pictures.empty());
  return sent;
}

// Frames every 0.1 s up to `seconds` (steps below the 0.2 s cap).
void RunFor(DS_UnderwaterFX& effect, float seconds) {
  for (int i = 1; i <= static_cast<int>(seconds * 10.0f + 0.5f); ++i) effect.Advance(0.1f * static_cast<float>(i));
}

TEST(UnderwaterEffect, SendsTheFrequencyScaledByTheAspectTheAmplitudeAndTheTime) {
  const struct {
    const char* what;
    unsigned width, height;
    uint32_t amplitude, wavelength, speed;
    float seconds;
    float frequency[2], sentAmplitude, time;
  } cases[] = {
      {"defaults, 4:3", 1024, 768, 50, 50, 25, 2.0f, {13.2013f, 9.90099f}, 0.00625f, 4.0f},
      {"no amplitude", 1024, 768, 0, 50, 25, 1.0f, {13.2013f, 9.90099f}, 0.0f, 2.0f},
      {"upright picture", 600, 800, 50, 50, 25, 0.0f, {7.42574f, 9.90099f}, 0.00625f, 0.0f},
      {"shortest wavelength", 800, 400, 80, 0, 50, 0.5f, {2000.0f, 1000.0f}, 0.01f, 2.0f},
      // A picture that resolved to nothing is 0 x 0: its aspect counts as 1.
      {"no picture", 0, 0, 50, 100, 10, 1.0f, {4.97512f, 4.97512f}, 0.00625f, 0.8f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DS_UnderwaterFX effect;
    effect.amplitude.Set(c.amplitude);
    effect.wavelength.Set(c.wavelength);
    effect.speed.Set(c.speed);
    RunFor(effect, c.seconds);
    const Sent sent = SentFor(effect, c.width, c.height);
    EXPECT_EQ(sent.count, 3);
    EXPECT_NEAR(sent.frequency[0], c.frequency[0], c.frequency[0] * 1e-4f);
    EXPECT_NEAR(sent.frequency[1], c.frequency[1], c.frequency[1] * 1e-4f);
    EXPECT_FLOAT_EQ(sent.amplitude, c.sentAmplitude);
    EXPECT_NEAR(sent.time, c.time, 1e-4f);
  }
}

const DS_Guid kGuid = [] {
  DS_Guid guid;
  guid.data1 = 0x756E6465;
  guid.data4[7] = 0x52;
  return guid;
}();

// A nested underwater record as another writer lays it out, with a base part of `fxVersion`.
std::vector<uint8_t> UnderwaterRecord(uint32_t fxVersion) {
  TestBytes bytes;
  bytes.Str(u"DS_UnderwaterFX").U32(1).U32(80).U32(30);
  bytes.Str(u"DS_FX_Constructor").U32(fxVersion).U32(40).I32(1).Str(DS_GuidToString(kGuid)).Str(u"none").U8(0);
  bytes.Str(u"other.dll").I64(12);
  if (fxVersion > 1) bytes.U32(100);
  bytes.Str(u"DS_ABObj_Constructor").U32(1).Str(u"wobble");
  return bytes.bytes;
}

std::unique_ptr<DS_UnderwaterFX> Read(const std::vector<uint8_t>& bytes, size_t* left) {
  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader reader(&buffer);
  std::unique_ptr<DS_UnderwaterFX> effect = ReadUnderwaterFXObject(reader);
  *left = buffer.Remaining();
  return effect;
}

std::vector<uint8_t> Written(const DS_UnderwaterFX& effect) {
  DS_IOF_ByteWriter out;
  effect.Write(out);
  return out.TakeBytes();
}

void ExpectReadValues(const DS_UnderwaterFX& effect, float scaleFactor) {
  EXPECT_FLOAT_EQ(effect.amplitude.Derived(), 0.01f);
  EXPECT_FLOAT_EQ(effect.wavelength.Derived(), 0.061f);
  EXPECT_FLOAT_EQ(effect.speed.Derived(), 40.0f);
  EXPECT_EQ(effect.techniqueFlag.Get(), 1);
  EXPECT_EQ(effect.maskKey.id, kGuid);
  EXPECT_EQ(effect.maskKey.name, u"none");
  EXPECT_FALSE(effect.maskKey.flag);
  EXPECT_EQ(effect.effectLink.Key(), (DS_ResourceKey{u"other.dll", 12}));
  EXPECT_FLOAT_EQ(effect.scaleFactor.Derived(), scaleFactor);
  EXPECT_EQ(effect.objectName, u"wobble");
}

TEST(UnderwaterEffect, ItsRecordReadsWithABasePartOfEitherVersionAndWritesTheNewerOne) {
  // A base part of version 1 has no scale factor: it keeps its default (k = 1).
  const struct {
    uint32_t fxVersion;
    float scaleFactor;
  } cases[] = {{1, 1.0f}, {2, 2.0f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fxVersion);
    size_t left = 99;
    const std::unique_ptr<DS_UnderwaterFX> effect = Read(UnderwaterRecord(c.fxVersion), &left);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(left, 0u);
    ExpectReadValues(*effect, c.scaleFactor);
  }
  size_t left = 99;
  EXPECT_EQ(Written(*Read(UnderwaterRecord(2), &left)), UnderwaterRecord(2));
}

TEST(UnderwaterEffect, EveryCutShortRecordStopsWithTheDocumentError) {
  const std::vector<uint8_t> record = UnderwaterRecord(2);
  for (size_t size = 0; size < record.size(); ++size) {
    const std::vector<uint8_t> prefix(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(size));
    size_t left = 0;
    EXPECT_THROW(Read(prefix, &left), DS_DocumentError) << size << " of " << record.size() << " bytes";
  }
}

TEST(UnderwaterEffect, AssigningAReadEffectTakesItsValuesScalesIncluded) {
  size_t left = 0;
  const std::unique_ptr<DS_UnderwaterFX> read = Read(UnderwaterRecord(2), &left);
  ASSERT_NE(read, nullptr);
  read->amplitude.SetScale(0.001f, 0.5f);  // the derived value follows the new scale
  DS_UnderwaterFX embedded;
  embedded = *read;
  EXPECT_FLOAT_EQ(embedded.amplitude.Derived(), 0.5f + 0.001f * 80.0f);
  EXPECT_FLOAT_EQ(embedded.wavelength.Derived(), 0.061f);
  EXPECT_FLOAT_EQ(embedded.speed.Derived(), 40.0f);
  EXPECT_EQ(embedded.effectLink.Key(), (DS_ResourceKey{u"other.dll", 12}));
  EXPECT_EQ(embedded.maskKey.id, kGuid);
  EXPECT_EQ(embedded.objectName, u"wobble");
  // The copy is a value of its own: changing the source later leaves it.
  read->wavelength.Set(0);
  EXPECT_FLOAT_EQ(embedded.wavelength.Derived(), 0.061f);
  // A copy made by the copy constructor, as Clone makes one, writes the same record.
  const std::unique_ptr<DS_FX_Constructor> clone = embedded.Clone();
  EXPECT_EQ(Written(static_cast<const DS_UnderwaterFX&>(*clone)), Written(embedded));
}

}  // namespace
