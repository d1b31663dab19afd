#include "objects/sprite_prop/ds_base_sprite_prop.h"

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

void DS_BaseSpriteProp::WriteObject(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_BaseSpriteProp", kVersion);
  WriteFields(out);
}

void DS_BaseSpriteProp::WriteFields(DS_IOF_Virtual& out) const {
  DS_ViewObjCtrl::WriteObject(out);
  out.WriteUInt(count.Get());
  out.WriteUInt(baseSize.Get());
  transparency.WriteValue(out);
  out.WriteInt(blendMode.Get());
  colour.WriteValue(out);
  for (float v : {fadeRate, fadeMin, fadeMax, sizeMin, sizeMax}) out.WriteFloat(v);
  WritePictureLink(image, out);
  WritePictureLink(overlayImage, out);
  out.WriteUInt(storedValue1);
  out.WriteFloat(storedValue2);
  out.WriteUInt(sheetFrameCount);
  out.WriteFloat(sheetFrameRate);
  out.WriteBool(sheetAnimation);
  out.WriteInt(imageSource);
  out.WriteInt(flipVertical.Get());
  out.WriteInt(flipHorizontal.Get());
  out.WriteInt(staticGeometry.Get());
}

void DS_BaseSpriteProp::ReadObject(DS_IOF_Virtual& in) {
  const DS_ObjectHeader header = DS_ReadHeader(in);
  ReadFields(in, header.version);
}

void DS_BaseSpriteProp::ReadFields(DS_IOF_Virtual& in, uint32_t version) {
  DS_ViewObjCtrl::ReadObject(in);
  ReadParamValue(in, count);
  // Versions 1 and 2 kept the view part's speed here.
  if (version <= 2) ReadParamValue(in, speed);
  ReadParamValue(in, baseSize);
  transparency.ReadValue(in);
  ReadParamValue(in, blendMode);
  colour.ReadValue(in);
  for (float* v : {&fadeRate, &fadeMin, &fadeMax, &sizeMin, &sizeMax}) in.ReadFloat(*v);
  if (version >= 2) {
    ReadFileLink(in, image);
    ReadFileLink(in, overlayImage);
  } else {
    std::vector<DS_ResourceEntry> entries;
    ReadEntryList(in, entries);
    legacyImages = std::move(entries);
    legacyOverlay = DS_ResourceEntry();
    in.ReadResourceEntry(legacyOverlay);
  }
  in.ReadUInt(storedValue1);
  in.ReadFloat(storedValue2);
  in.ReadUInt(sheetFrameCount);
  in.ReadFloat(sheetFrameRate);
  in.ReadBool(sheetAnimation);
  if (version == 1) {
    ReadFloatList(in, legacyFrameTimes);
    return;
  }
  if (version >= 4) in.ReadInt(imageSource);
  if (version >= 5) {
    ReadParamValue(in, flipVertical);
    ReadParamValue(in, flipHorizontal);
  }
  if (version >= 6) ReadParamValue(in, staticGeometry);
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
