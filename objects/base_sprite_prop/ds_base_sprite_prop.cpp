#include "objects/base_sprite_prop/ds_base_sprite_prop.h"

#include "core/resources/resource_record.h"
#ifdef _WIN32
#include "core/resources/doc_res_manager.h"
#endif

namespace {
void ReadFloatList(DS_IOF_Virtual& in, std::vector<float>& values) {
  const uint32_t n = DS_ReadCount(in, 4);
  values.assign(n, 0.0f);
  for (float& v : values) in.ReadFloat(v);
}
}  // namespace

DS_BaseSpriteProp::DS_BaseSpriteProp() { transparency.SetScale(-2.55f, 255.0f); }

DS_BaseSpriteProp::DS_BaseSpriteProp(const DS_BaseSpriteProp& source)
    : DS_ViewObjCtrl(source),
      count(source.count),
      baseSize(source.baseSize),
      transparency(source.transparency),
      blendMode(source.blendMode),
      colour(source.colour.Get()),
      fadeRate(source.fadeRate),
      fadeMin(source.fadeMin),
      fadeMax(source.fadeMax),
      sizeMin(source.sizeMin),
      sizeMax(source.sizeMax),
      image(source.image),
      overlayImage(source.overlayImage),
      storedValue1(source.storedValue1),
      storedValue2(source.storedValue2),
      sheetFrameCount(source.sheetFrameCount),
      sheetFrameRate(source.sheetFrameRate),
      sheetAnimation(source.sheetAnimation),
      imageSource(source.imageSource),
      flipVertical(source.flipVertical),
      flipHorizontal(source.flipHorizontal),
      staticGeometry(source.staticGeometry),
      legacyFrameTimes(source.legacyFrameTimes),
      legacyImages(source.legacyImages),
      legacyOverlay(source.legacyOverlay) {}

DS_BaseSpriteProp::~DS_BaseSpriteProp() = default;

uint32_t DS_BaseSpriteProp::NextFrame(uint32_t frame) { return (frame + 1) % SheetFrames(); }

void DS_BaseSpriteProp::WriteObject(DS_IOF_Virtual& out) const { DS_WriteRecord(out, *this, "DS_BaseSpriteProp"); }

void DS_BaseSpriteProp::WriteFields(DS_IOF_Virtual& out) const {
  DS_RecordWriter writer(out, kVersion);
  DS_WalkRecord(const_cast<DS_BaseSpriteProp&>(*this), writer);
}

void DS_BaseSpriteProp::ReadObject(DS_IOF_Virtual& in) { DS_ReadNestedRecord(in, *this); }

void DS_BaseSpriteProp::ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }

DS_Step DS_BaseSpriteProp::LegacyPictures() {
  return {"the pictures version 1 embedded: the sprite frames and the overlay picture", DS_Only(1),
          [this](DS_IOF_Virtual& in, uint32_t) {
            std::vector<DS_ResourceEntry> entries;
            ReadEntryList(in, entries);
            legacyImages = std::move(entries);
            legacyOverlay = DS_ResourceEntry();
            in.ReadResourceEntry(legacyOverlay);
          },
          [this](DS_IOF_Virtual& out, uint32_t) {
            WriteEntryList(out, legacyImages);
            out.WriteResourceEntry(legacyOverlay);
          }};
}

DS_Step DS_BaseSpriteProp::LegacyFrameTimes() {
  return {"the frame times of the embedded sprite frames of version 1", DS_Only(1),
          [this](DS_IOF_Virtual& in, uint32_t) { ReadFloatList(in, legacyFrameTimes); },
          [this](DS_IOF_Virtual& out, uint32_t) { WriteFrameTimes(out, legacyFrameTimes); }};
}

#ifdef _WIN32
void DS_BaseSpriteProp::PrepareImageLinks() {
  const DS_ResourceKey& key = image.Key();
  if (!key.name.empty() || key.stamp != 0 || !g_DocResManager) return;
  // An empty legacy list makes no link: the kind shows no picture.
  g_DocResManager->MakeMultiFrameImageLink(legacyFrameTimes, image, legacyImages);
  if (!legacyOverlay.bytes.empty()) g_DocResManager->MakeImageLink(legacyOverlay, overlayImage);
  legacyFrameTimes.clear();
  legacyImages.clear();
  legacyOverlay = DS_ResourceEntry();
}
#endif
