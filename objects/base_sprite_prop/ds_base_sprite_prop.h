// The parameter set shared by every particle and sprite kind: how many sprites, how big, how
// transparent and how blended, their colour, the fade and size ranges the kinds draw from, the
// sprite picture and an optional overlay picture, and a sprite-sheet animation. It derives from
// the view parameters, so each kind also has its view rectangle and speed.
//
// The record has six versions and all of them read; the oldest embedded its pictures, which
// PrepareImageLinks turns into resource-manager links when the live object is made. The record
// is platform-free; only that conversion needs the resource manager.
#pragma once

#include <cstdint>
#include <vector>

#include "core/data/ds_named_blob.h"
#include "core/data/file_links.h"
#include "core/data/media_kinds.h"
#include "core/data/record_values.h"
#include "core/layer/view_obj_ctrl.h"

struct DS_Particle;

class DS_BaseSpriteProp : public DS_ViewObjCtrl {
 public:
  static constexpr uint32_t kVersion = 6;
  static constexpr uint32_t kMinVersion = 1;

  DS_BaseSpriteProp();
  DS_BaseSpriteProp(const DS_BaseSpriteProp& source);
  DS_BaseSpriteProp& operator=(const DS_BaseSpriteProp&) = delete;
  ~DS_BaseSpriteProp() override;

  // Each kind places its sprites when they are made (and recycled) and moves them every frame.
  virtual void SpawnParticle(DS_Particle& particle) { (void)particle; }
  virtual void UpdateParticle(DS_Particle& particle) { (void)particle; }
  // The sprite-sheet frame after `frame`.
  virtual uint32_t NextFrame(uint32_t frame);

  // The frame count the sheet arithmetic uses: a stored 0 counts as 1, so that no frame
  // arithmetic divides by zero.
  uint32_t SheetFrames() const { return sheetFrameCount < 1 ? 1u : sheetFrameCount; }
  // The alpha byte, 255 - 2.55 x transparency.
  uint8_t Opacity() const { return transparency.Derived(); }

  template <class R>
  void Record(R& r) {
    r.About("The sprite properties of every particle and sprite kind, written after its view part: count, size in "
            "pixels, transparency in percent, blend mode (0 alpha, else additive), colour 0x00BBGGRR, fade rate, fade "
            "range, size-factor range, the sprite picture and an overlay picture, two carried values, the sprite "
            "sheet (frames side by side, frames per unit of phase, on or off), the image source (1: a multi-frame "
            "picture of a library), the flips and static geometry.");
    r.Base("DS_ViewObjCtrl", static_cast<DS_ViewObjCtrl&>(*this));
    r.Field("count", count);
    r.Field("old_speed", speed, DS_Until(2));  // versions 1 and 2 kept the view part's speed here
    r.Field("size", baseSize);
    r.Field("transparency", transparency);
    r.Field("blend", blendMode);
    r.Field("colour", colour);
    r.Field("fade_rate", fadeRate);
    r.Field("fade_min", fadeMin);
    r.Field("fade_max", fadeMax);
    r.Field("size_min", sizeMin);
    r.Field("size_max", sizeMax);
    r.Field("image", image, DS_Since(2));
    r.Field("overlay", overlayImage, DS_Since(2));
    r.Step(LegacyPictures());
    r.Field("stored_value", storedValue1);
    r.Field("stored_float", storedValue2);
    r.Field("sheet_frames", sheetFrameCount);
    r.Field("sheet_rate", sheetFrameRate);
    r.Field("sheet_animation", sheetAnimation);
    r.Step(LegacyFrameTimes());
    r.Field("image_source", imageSource, DS_Since(4));
    r.Field("flip_vertical", flipVertical, DS_Since(5));
    r.Field("flip_horizontal", flipHorizontal, DS_Since(5));
    r.Field("static_geometry", staticGeometry, DS_Since(6));
  }
  void WriteObject(DS_IOF_Virtual& out) const;
  void WriteFields(DS_IOF_Virtual& out) const;
  // The nested record as the kinds read it last: its header, then the fields of its version.
  void ReadObject(DS_IOF_Virtual& in);
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);

  // Version 1 embedded its pictures, then listed frame times after the sprite sheet.
  DS_Step LegacyPictures();
  DS_Step LegacyFrameTimes();
#ifdef _WIN32
  // Turns the pictures a version 1 record embedded into links of the current resource manager,
  // unless the image link already names something; then drops the embedded data.
  void PrepareImageLinks();
#endif

  MediaParamT<uint32_t> count{1u};
  MediaParamT<uint32_t> baseSize{0u};
  UINTSclaleTo<uint8_t> transparency;  // percent; derived: the alpha byte
  MediaParamT<int32_t> blendMode{0};   // 0 alpha blending, else additive
  MediaColor colour{0xFFFFFFu};
  float fadeRate = 0.0f;
  float fadeMin = 0.0f, fadeMax = 1.0f;
  float sizeMin = 1.0f, sizeMax = 1.0f;
  DS_ImageFileLink image;
  DS_ImageFileLink overlayImage;
  uint32_t storedValue1 = 1;  // carried in the record; nothing reads them
  float storedValue2 = 0.0f;
  uint32_t sheetFrameCount = 1;
  float sheetFrameRate = 0.0f;  // frames per unit of phase
  bool sheetAnimation = false;
  int32_t imageSource = 0;  // 1: the image link names a multi-frame picture of a library
  MediaParamT<int32_t> flipVertical{0};
  MediaParamT<int32_t> flipHorizontal{0};
  MediaParamT<int32_t> staticGeometry{0};  // vertices rewritten only when the picture frame changes
  std::vector<float> legacyFrameTimes;
  std::vector<DS_ResourceEntry> legacyImages;
  DS_ResourceEntry legacyOverlay;
};
