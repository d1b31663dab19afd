// The flame layer's own stored fields and their record list, platform-free (the host's content
// tool and readers take them from here; DS_FlameLight derives from it and adds the base layer
// part). The heat distortion's stored values are a part of their own, which the device's
// distortion extends: the layer's part holds the device's, the host's the values alone.
#pragma once

#include <cstdint>

#include "brushes/fire_fx/ds_fire_fx.h"
#include "core/data/file_links.h"
#include "core/data/media_kinds.h"
#include "core/data/record_values.h"

// What the heat distortion stores: its bump picture and effect, drift speed, strength and bump scale.
class DS_HeatDistortionValues {
 public:
  static constexpr int kEffectId = 63;
  static constexpr int kBumpPictureId = 62;

  DS_HeatDistortionValues();

  DS_ImageFileLink bumpLink;
  DS_HLSLEffectFile effectLink;
  MediaSpeedParam speed;
  UINTSclaleTo<float> strength;
  UINTSclaleTo<float> bumpScale;
};

template <class Distortion>
class DS_FlameLightParamsT {
 public:
  static constexpr uint32_t kVersion = 2;
  // Version 1: the fire's speed after the fire offset, and two links (dropped) in place of the
  // nested fire record.
  static constexpr uint32_t kMinVersion = 1;
  static constexpr int kPatternPictureId = 7;

  DS_FlameLightParamsT() {
    fire.patternLink.StoreKey(DS_ResourceKey{u"common_res.dll", kPatternPictureId});
    // The band is drawn without a mask, so its key names none: the empty key, the same in every
    // layer, rather than a new GUID that every record would carry.
    fire.maskKey = DS_MaskKey{};
  }

  template <class R>
  void Record(R& r) {
    r.About("The flame layer's own fields; the base layer part follows them. Fire on (0 or 1), distortion on (1 "
            "draws the finished scene through the heat distortion, anything else does not), the fire offset (moves "
            "the band down by 0.5 % of the picture's height per unit), the distortion's bump picture "
            "(common_res.dll 62) and effect (common_res.dll 63), its drift speed (x 0.001 per second), strength "
            "(x 0.002) and bump scale (1 - x 0.009), then the fire as a nested record (the layer's fire starts "
            "with pattern common_res.dll 7 and no mask).");
    r.Field("fire_on", fireOn);
    r.Field("distortion_on", distortionOn);
    r.Field("fire_offset", fireOffset);
    r.Field("fire_speed", fire.speed, DS_Only(1));
    r.Field("bump", distortion.bumpLink);
    r.Field("effect_library", DS_LinkLibrary(distortion.effectLink));
    r.Field("effect_id", DS_LinkId(distortion.effectLink));
    r.Field("speed", distortion.speed);
    r.Field("strength", distortion.strength);
    r.Field("bump_scale", distortion.bumpScale);
    r.Part("fire", "DS_FireFX", fire, DS_Since(2));
    r.Step(DroppedLinks());
  }

  MediaParamT<int32_t> fireOn{1};
  MediaParamT<int32_t> distortionOn{1};
  MediaParamT<uint32_t> fireOffset{0u};
  DS_FireFX fire;
  Distortion distortion;

 private:
  // Version 1 holds two links where the fire's record now stands; they are read and dropped, and
  // written from the fire's pattern and noise.
  DS_Step DroppedLinks() {
    return {"two links, dropped", DS_Only(1),
            [](DS_IOF_Virtual& in, uint32_t) {
              DS_FileLink3 dropped;
              ReadFileLink(in, dropped);
              ReadFileLink(in, dropped);
            },
            [this](DS_IOF_Virtual& out, uint32_t) {
              WriteFileLink(fire.patternLink, out);
              WriteFileLink(fire.noiseLink, out);
            }};
  }
};

// The part as the host holds it, with the distortion's stored values alone.
using DS_FlameLightParams = DS_FlameLightParamsT<DS_HeatDistortionValues>;
