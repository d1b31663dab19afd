// The glass-ball layer's own stored fields and their record list, platform-free (the host's
// content tool and readers take them from here; DS_GlassBallLight derives from it and adds the
// base layer part).
#pragma once

#include <cstdint>

#include "core/data/media_kinds.h"
#include "core/data/record_values.h"

class DS_GlassBallLightParams {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_GlassBallLightParams();

  template <class R>
  void Record(R& r) {
    r.About("The glass-ball layer's own fields; the base layer part follows them. Backdrop mode 1 shows the ball "
            "picture behind the ball, any other value the gradient; scroll mode 0 still, 1 and 2 scroll, 3 sway. "
            "Colours are 0x00BBGGRR words.");
    r.Field("overlay_a", overlayA);
    r.Field("overlay_b", overlayB);
    r.Field("stand", stand);
    r.Field("ball_picture", ballPicture);
    r.Field("scroll_speed", scrollSpeed);
    r.Field("position", ballPosition);
    r.Field("size", ballSize);
    r.Field("lens", lensStrength);
    r.Field("overlay_a_on", overlayAOn);
    r.Field("overlay_b_on", overlayBOn);
    r.Field("stand_on", standOn);
    r.Field("backdrop_mode", backdropMode);
    r.Field("scroll_mode", scrollMode);
    r.Field("gradient_top", gradientTop);
    r.Field("gradient_bottom", gradientBottom);
  }

  DS_ImageFileLink overlayA;     // "common_res.dll" 58
  DS_ImageFileLink overlayB;     // "common_res.dll" 59
  DS_ImageFileLink stand;        // "common_res.dll" 60
  DS_ImageFileLink ballPicture;  // "common_res.dll" 5: the backdrop in backdrop mode 1
  UINTSclaleTo<float> scrollSpeed;  // speed factor 1 + 0.02 x value
  MediaParamTB<DS_Point> ballPosition;
  MediaParamT<uint32_t> ballSize{100u};    // percent
  MediaParamT<uint32_t> lensStrength{0u};  // percent
  MediaParamT<int32_t> overlayAOn{1}, overlayBOn{1}, standOn{0};
  MediaParamT<int32_t> backdropMode{0};  // 1: the ball picture; otherwise the gradient
  MediaParamT<int32_t> scrollMode{3};    // 0 still, 1 and 2 scroll, 3 sway
  MediaColor gradientTop{0u}, gradientBottom{0u};
};
