// The falling-code layer's own stored fields and their record list, platform-free (the host's
// content tool and readers take them from here; DS_MatrixCodeLight derives from it and adds the
// base layer part).
#pragma once

#include <cstdint>

#include "core/data/file_links.h"
#include "core/data/media_kinds.h"
#include "core/data/record_values.h"

class DS_MatrixCodeLightParams {
 public:
  static constexpr uint32_t kVersion = 2;
  static constexpr uint32_t kMinVersion = 1;  // version 1: no glyph picture link
  static constexpr int kGlyphStripId = 40;

  DS_MatrixCodeLightParams();

  template <class R>
  void Record(R& r) {
    r.About("The falling-code layer: cell edge in picture pixels, spawn density (1 to 100), flicker picks + 1, "
            "glitter, picture mode (0 picture behind, 1 black with the glyphs as bright as the picture), column "
            "mode (0 scroll, 1 heads, 2 either), glyph and head colours (#RRGGBB as a word with red in the low "
            "byte; both default to black), transparency in percent, the glyph strip.");
    r.Field("cell_size", cellSize);
    r.Field("density", density);
    r.Field("flicker_count", flickerCount);
    r.Field("glitter", glitter);
    r.Field("picture_mode", pictureMode);
    r.Field("column_mode", columnMode);
    r.Field("glyph_colour", glyphColour);
    r.Field("head_colour", headColour);
    r.Field("transparency", transparency);
    r.Field("glyphs", glyphPicture, DS_Since(2));
  }

  MediaParamT<uint32_t> cellSize{16u};
  MediaParamT<uint32_t> density{20u};
  MediaParamT<uint32_t> flickerCount{50u};
  MediaParamT<int32_t> glitter{0};
  MediaParamT<int32_t> pictureMode{0};
  MediaParamT<int32_t> columnMode{2};
  MediaColor glyphColour{0u};  // red in the low byte
  MediaColor headColour{0u};
  UINTSclaleTo<float> transparency;  // opacity factor = 1 - 0.01 x value
  DS_ImageFileLink glyphPicture;     // default "common_res.dll" 40
};
