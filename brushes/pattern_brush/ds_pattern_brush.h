// Pattern brush: a pattern picture (one frame or a sequence of frames) tiled over the picture
// inside the mask, with its own zoom, rotation, mirroring and offset; its frames advance with
// the effect's phase (effect 78, which samples the pattern with wrapping).
//
// The record, the frame clock and the effect's numbers are platform-free; the pattern's frames
// are bound on the device (ds_pattern_brush_device.cpp) into the brush's pictures, frame k at
// index k, and the numbers it needs from them (frame times, size) are kept here.
#pragma once

#include <vector>

#include "brushes/base_fx/ds_fx_constructor.h"

class DS_PatternBrush : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;
  static constexpr int kEffectId = 78;
  // The smallest stored zoom step: a stored zoom of 0 counts as this.
  static constexpr float kZoomStep = 0.01f;

  // What the brush knows of its bound pattern picture.
  struct Pattern {
    std::vector<float> frameTimes;  // in units of phase; empty for a still picture
    size_t frames = 0;              // bound textures (slots that failed to decode included)
    unsigned width = 0, height = 0;
    float aspect = 1.0f;  // height / width
  };

  DS_PatternBrush();
  DS_PatternBrush(const DS_PatternBrush& source) = default;
  DS_PatternBrush& operator=(const DS_PatternBrush&) = delete;

  template <class R>
  void Record(R& r) {
    r.About("A pattern picture tiled over the picture inside the mask: the pattern (a link to a library id names "
            "a multi-frame container, common_res.dll 242 shining scales or 243 lace; any other picture the "
            "document's own; none draws nothing), mirrored vertically and horizontally when the flips are not 0, "
            "turned by the angle in degrees, zoomed (x 0.01 pattern pixels per picture pixel) and offset in tiles "
            "(offset_x x -0.01, offset_y x 0.01). Its frames advance with the phase: the kind starts at speed 50 "
            "(1 per second) with effect 78.");
    r.Field("pattern", patternLink);
    r.Field("flip_y", flipY);
    r.Field("flip_x", flipX);
    r.Field("angle", angle);
    r.Field("zoom", zoom);
    r.Field("offset_x", offsetX);
    r.Field("offset_y", offsetY);
    r.Base("DS_FX_Constructor", static_cast<DS_FX_Constructor&>(*this));
  }

  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_PatternBrush"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }
  std::unique_ptr<DS_FX_Constructor> Clone() const override { return std::make_unique<DS_PatternBrush>(*this); }

  // The base's binding, then the pattern's frames.
  void LoadEffect(IDirect3DTexture9* mask) override;
  // The pattern picture: a multi-frame container of a resource library for a ".dll" link, the
  // document's picture otherwise. Back to its first frame.
  void LoadPattern();
  // The phase, then at most one frame further when the current frame's time has run out.
  void Advance(float t) override;
  // Not without a pattern: a brush whose link resolved to nothing draws nothing at all.
  bool WillDraw() const override;

  // "Pattern" (the current frame), "scale", "offset" and "coord_transf" for a picture of
  // width x height.
  void CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const override;
  // The 2 x 2 row-vector transform from picture fractions to pattern tiles: the tile counts
  // across the picture (mirrored by the flips), then the turn by `angle`.
  void TileTransform(unsigned width, unsigned height, float m[4]) const;
  // The texture index of the current frame: the frame index wrapped over the bound textures.
  size_t TextureIndex() const { return pattern.frames == 0 ? 0 : frameIndex % pattern.frames; }

  DS_ImageFileLink patternLink;
  MediaParamT<int32_t> flipY{0};     // not 0: mirrored vertically
  MediaParamT<int32_t> flipX{0};     // not 0: mirrored horizontally
  MediaParamT<uint32_t> angle{0u};   // degrees
  UINTSclaleTo<float> zoom;          // pattern pixels per picture pixel
  UINTSclaleTo<float> offsetX;       // stored with the opposite sign of offsetY
  UINTSclaleTo<float> offsetY;
  Pattern pattern;
  uint32_t frameIndex = 0;
  float frameStart = 0.0f;  // the phase at which the current frame began
};
