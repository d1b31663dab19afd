// Every picture link of every kind, written and read again: the record keeps the link, and the
// document written beside it carries the picture's frames and frame times among its pictures, so
// that the manager that reads it again decodes them (a picture carried only among the other
// saved resources would be kept but never shown).
#include <gtest/gtest.h>

#include <d3dx9.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "brushes/fire_fx/ds_fire_fx.h"
#include "brushes/pattern_brush/ds_pattern_brush.h"
#include "brushes/pattern_brush_c/ds_pattern_brush_c.h"
#include "brushes/water_fx/ds_water_fx.h"
#include "core/data/class_registry.h"
#include "core/layer/ds_2d_light.h"
#include "core/layer/layer_registry.h"
#include "core/resources/doc_res_manager.h"
#include "layers/flame/ds_flame_light.h"
#include "layers/glass_ball/ds_glass_ball_light.h"
#include "layers/matrix_code/ds_matrix_code_light.h"
#include "objects/butterfly/ds_butterfly_constructor.h"
#include "objects/clock/ds_clock_constructor.h"
#include "objects/sparkle/ds_sparkle_constructor.h"
#include "objects/stat_obj/ds_stat_obj_constructor.h"
#include "tools/device/window_device.h"

namespace {

// One picture link of one kind: a new object of the kind, and the link within it.
struct LinkCase {
  const char* what;
  bool layer;  // read through the layer registry, else through the constructor registry
  std::function<std::unique_ptr<DS_IOF_Item>()> make;
  std::function<DS_FileLink3&(DS_IOF_Item&)> link;
};

template <class Kind>
LinkCase Layer(const char* what, DS_FileLink3& (*link)(Kind&)) {
  return {what, true, [] { return std::make_unique<Kind>(); },
          [link](DS_IOF_Item& item) -> DS_FileLink3& { return link(dynamic_cast<Kind&>(item)); }};
}
template <class Kind>
LinkCase Object(const char* what, DS_FileLink3& (*link)(Kind&)) {
  LinkCase c = Layer<Kind>(what, link);
  c.layer = false;
  return c;
}

std::vector<LinkCase> Cases() {
  return {
      Layer<DS_2D_Light>("layer picture", [](DS_2D_Light& l) -> DS_FileLink3& { return l.PictureLink(); }),
      Layer<DS_2D_Light>("camera border", [](DS_2D_Light& l) -> DS_FileLink3& { return l.Camera().borderImage; }),
      Layer<DS_FlameLight>("flame bump", [](DS_FlameLight& l) -> DS_FileLink3& { return l.distortion.bumpLink; }),
      Layer<DS_FlameLight>("flame pattern", [](DS_FlameLight& l) -> DS_FileLink3& { return l.fire.patternLink; }),
      Layer<DS_GlassBallLight>("glass ball overlay A", [](DS_GlassBallLight& l) -> DS_FileLink3& { return l.overlayA; }),
      Layer<DS_GlassBallLight>("glass ball overlay B", [](DS_GlassBallLight& l) -> DS_FileLink3& { return l.overlayB; }),
      Layer<DS_GlassBallLight>("glass ball stand", [](DS_GlassBallLight& l) -> DS_FileLink3& { return l.stand; }),
      Layer<DS_GlassBallLight>("glass ball picture",
                               [](DS_GlassBallLight& l) -> DS_FileLink3& { return l.ballPicture; }),
      Layer<DS_MatrixCodeLight>("falling-code glyphs",
                                [](DS_MatrixCodeLight& l) -> DS_FileLink3& { return l.glyphPicture; }),
      Object<DS_SparkleConstructor>("sprite picture", [](DS_SparkleConstructor& o) -> DS_FileLink3& { return o.image; }),
      Object<DS_SparkleConstructor>("sprite overlay",
                                    [](DS_SparkleConstructor& o) -> DS_FileLink3& { return o.overlayImage; }),
      Object<DS_StatObjConstructor>("static object picture",
                                    [](DS_StatObjConstructor& o) -> DS_FileLink3& { return o.image; }),
      Object<DS_PatternBrush>("pattern brush", [](DS_PatternBrush& o) -> DS_FileLink3& { return o.patternLink; }),
      Object<DS_PatternBrushC>("pattern brush C", [](DS_PatternBrushC& o) -> DS_FileLink3& { return o.patternLink; }),
      Object<DS_FireFX>("fire pattern", [](DS_FireFX& o) -> DS_FileLink3& { return o.patternLink; }),
      Object<DS_FireFX>("fire noise", [](DS_FireFX& o) -> DS_FileLink3& { return o.noiseLink; }),
      Object<DS_WaterFX>("water bump", [](DS_WaterFX& o) -> DS_FileLink3& { return o.bumpLink; }),
      Object<DS_ClockConstructor>("clock hands", [](DS_ClockConstructor& o) -> DS_FileLink3& { return o.handImage; }),
      Object<DS_ClockConstructor>("clock face", [](DS_ClockConstructor& o) -> DS_FileLink3& { return o.image; }),
      Object<DS_ButterflyConstructor>("butterfly body",
                                      [](DS_ButterflyConstructor& o) -> DS_FileLink3& { return o.bodyImage; }),
      Object<DS_ButterflyConstructor>("butterfly wings",
                                      [](DS_ButterflyConstructor& o) -> DS_FileLink3& { return o.image; }),
  };
}

std::vector<uint8_t> Png(IDirect3DDevice9* device, int size, uint32_t colour) {
  DS_ComHolder<IDirect3DTexture9> texture = MakeSolidTexture(device, colour, size);
  DS_ComHolder<ID3DXBuffer> file;
  EXPECT_EQ(D3DXSaveTextureToFileInMemory(file.Receive(), D3DXIFF_PNG, texture.Get(), nullptr), D3D_OK);
  const auto* p = static_cast<const uint8_t*>(file->GetBufferPointer());
  return std::vector<uint8_t>(p, p + file->GetBufferSize());
}

DS_ResourceEntry Embedded(const ds_string& name, const std::vector<uint8_t>& bytes) {
  DS_ResourceEntry entry(name);
  entry.SetData(static_cast<uint32_t>(bytes.size()), bytes.data());
  return entry;
}

template <class Item>
std::vector<uint8_t> Written(const Item& item) {
  DS_IOF_ByteWriter out;
  item.Write(out);
  return out.TakeBytes();
}

class PictureLinks : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_Device = new DS_WindowDevice;
    ASSERT_TRUE(s_Device->Open(64, 64, L"picture link test"));
  }
  static void TearDownTestSuite() {
    delete s_Device;
    s_Device = nullptr;
  }
  void TearDown() override { g_DocResManager = nullptr; }

  static DS_WindowDevice* s_Device;
};
DS_WindowDevice* PictureLinks::s_Device = nullptr;

TEST_F(PictureLinks, EveryKindCarriesItsPictureIntoTheDocumentItIsWrittenWith) {
  s_Device->MakeCurrent();
  // A picture of two frames (4 x 4 red, 8 x 8 blue) held by the document under a key of its own.
  const DS_ResourceKey key{u"frames.png", 41};
  DS_ResourceRecordTables held;
  held.pictureEntries[key] = {Embedded(u"red.png", Png(s_Device->Device(), 4, 0xFFFF0000)),
                              Embedded(u"blue.png", Png(s_Device->Device(), 8, 0xFF0000FF))};
  held.frameTimes[key] = {0.5f, 0.25f};

  // Each case stops at its own first broken step and the next one still runs.
  auto check = [&](const LinkCase& c) {
    std::vector<uint8_t> record, document;
    {
      auto written = std::make_unique<DS_DocResManager>();
      g_DocResManager = written.get();
      DS_ResourceRecordTables tables = held;
      written->BuildFromTables(std::move(tables), 3);
      ASSERT_TRUE(written->GetImageSet(key).HasTexture());
      std::unique_ptr<DS_IOF_Item> object = c.make();
      c.link(*object).StoreKey(key);
      record = Written(*object);
      document = Written(*written);
      g_DocResManager = nullptr;
    }

    // The record reads back through its registry with the link in its place.
    ResourceBuffer recordBuffer(record.data(), record.size());
    DS_DocumentReader recordReader(&recordBuffer);
    std::unique_ptr<DS_IOF_Item> read;
    if (c.layer)
      read = ReadLightObject(recordReader);
    else
      read = ReadConstructorObject(recordReader);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(recordBuffer.Remaining(), 0u);
    EXPECT_EQ(c.link(*read).Key(), key);

    // A new manager reads the document written beside it and shows both frames at their times.
    ResourceBuffer buffer(document.data(), document.size());
    DS_DocumentReader reader(&buffer);
    const DS_ObjectHeader header = DS_ReadHeader(reader);
    auto again = std::make_unique<DS_DocResManager>();
    g_DocResManager = again.get();
    ASSERT_TRUE(again->ReadFields(reader, header.version));
    const DS_ImageSet& set = again->GetImageSet(key);
    ASSERT_EQ(set.textures.size(), 2u);
    EXPECT_TRUE(set.textures[0] && set.textures[1]);
    EXPECT_EQ(set.width, 8u);  // the last frame's size
    EXPECT_EQ(set.frameTimes, (std::vector<float>{0.5f, 0.25f}));
    // The picture is carried once, among the pictures, not a second time among the other resources.
    EXPECT_EQ(again->Store().savedResources.count(key), 0u);
    read.reset();
    again.reset();
  };
  for (const LinkCase& c : Cases()) {
    SCOPED_TRACE(c.what);
    check(c);
    g_DocResManager = nullptr;
  }
}

}  // namespace
