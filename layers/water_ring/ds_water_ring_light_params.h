// The water-ring layer's own stored fields and their record list, platform-free (the host's
// content tool and readers take them from here; DS_WaterRingLight derives from it and adds the
// base layer part).
#pragma once

#include <cstdint>

#include "core/data/media_kinds.h"
#include "core/data/record_values.h"

class DS_WaterRingLightParams {
 public:
  static constexpr uint32_t kVersion = 2;
  static constexpr uint32_t kMinVersion = 1;  // version 1: the render mode alone

  DS_WaterRingLightParams();

  template <class R>
  void Record(R& r) {
    r.About("The water-ring layer: wave speed, row density and resolution (percent more rows and columns), drop "
            "strength, damping, depth of the refraction, drops per minute, specular level in percent, shininess; "
            "render mode 1 sends the whole scene through the water.");
    r.Field("wave_speed", waveSpeed, DS_Since(2));
    r.Field("row_density", rowDensity, DS_Since(2));
    r.Field("resolution", resolution, DS_Since(2));
    r.Field("drop_strength", dropStrength, DS_Since(2));
    r.Field("damping", damping, DS_Since(2));
    r.Field("depth", depth, DS_Since(2));
    r.Field("drop_rate", dropRate, DS_Since(2));
    r.Field("specular", specular, DS_Since(2));
    r.Field("shininess", shininess, DS_Since(2));
    r.Field("render_mode", renderMode);
  }

  MediaParamT<int32_t> renderMode{0};
  MediaParamT<uint32_t> waveSpeed{0u};
  MediaParamT<uint32_t> rowDensity{0u};
  MediaParamT<uint32_t> resolution{0u};
  MediaParamT<uint32_t> dropStrength{50u};
  MediaParamT<uint32_t> damping{50u};
  MediaParamT<uint32_t> depth{20u};
  UINTSclaleTo<float> dropRate;   // drops per second
  UINTSclaleTo<float> specular;   // the material's specular level
  UINTSclaleTo<float> shininess;  // the material's specular power
};
