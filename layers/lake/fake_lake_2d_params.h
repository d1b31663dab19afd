// The lake layer's own stored fields and their record list, platform-free (the host's content
// tool and readers take them from here; FakeLake2D derives from it and adds the base layer part).
#pragma once

#include <cstdint>

#include "core/data/media_kinds.h"
#include "core/data/record_values.h"
#include "core/resources/mask_entry.h"

class FakeLake2DParams {
 public:
  static constexpr uint32_t kVersion = 2;
  static constexpr uint32_t kMinVersion = 1;  // version 1: the mask key and the base part only

  FakeLake2DParams();

  template <class R>
  void Record(R& r) {
    r.About("The lake layer's own fields; the base layer part follows them. The bump map is the document's mask "
            "under mask_guid (a V8U8 DDS).");
    r.Field("wave_tiling", waveTiling, DS_Since(2));
    r.Field("speed", speed, DS_Since(2));
    r.Field("reflection_share", reflectionShare, DS_Since(2));
    r.Field("bump_fade", bumpFade, DS_Since(2));
    r.Field("tint_alpha", tintAlpha, DS_Since(2));
    r.Field("tint_fade", tintFade, DS_Since(2));
    r.Field("bump_amplitude", bumpAmplitude, DS_Since(2));
    r.Field("horizon_strip", horizonStrip, DS_Since(2));
    r.Field("copy_size", copySize, DS_Since(2));
    r.Field("colour", colour, DS_Since(2));
    r.Field("mask_guid", maskKey.id);
    r.Field("mask_name", maskKey.name);
    r.Field("mask_flag", maskKey.flag);
  }

  // Parameters, in record order after the first two.
  MediaSpeedParam speed;                // phase, 1.0 per second by default
  UINTSclaleTo<float> waveTiling;       // repeats of the bump map across the reflection
  UINTSclaleTo<float> reflectionShare;  // share of the picture height below the horizon
  UINTSclaleTo<float> bumpFade;         // grey fade of a computed bump map
  UINTSclaleTo<float> tintAlpha;        // tint opacity at the bottom
  UINTSclaleTo<float> tintFade;         // how much of it is gone at the horizon
  MediaParamT<uint32_t> bumpAmplitude{25u};  // amplitude of a computed bump map
  MediaParamT<uint32_t> horizonStrip{7u};    // strip height in pixels
  MediaParamT<int32_t> copySize{1};          // the picture copy is 128 << n pixels square
  MediaColor colour{0x408000u};              // tint colour, red in the low byte
  // Names the bump map among the document's masks. The part alone holds the empty GUID (what a
  // description that names none writes); a lake is made with a new one.
  DS_MaskKey maskKey;
};
