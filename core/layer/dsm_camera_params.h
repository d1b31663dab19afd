// The layer camera's stored settings and their record list, platform-free: the content tool writes
// a camera from it and the host reads one with it. DSM_Camera derives from it and moves the view.
#pragma once

#include <cstdint>

#include "core/data/file_links.h"
#include "core/data/media_kinds.h"
#include "core/data/record_values.h"

class DSM_CameraParams {
 public:
  static constexpr uint32_t kVersion = 2;
  static constexpr uint32_t kMinVersion = 1;  // version 1: no border link

  DSM_CameraParams();
  DSM_CameraParams(const DSM_CameraParams&) = delete;
  DSM_CameraParams& operator=(const DSM_CameraParams&) = delete;

  // "DSM_Camera" version 2: mode, zoom, speed, border link. Stored values go in directly, the
  // derived factors following. A zoom of 0 would show nothing.
  template <class R>
  void Record(R& r) {
    r.About("The layer's camera: mode (0 off, anything else zooms and wanders), zoom in percent, speed of the "
            "wander (x 0.02) and the border image beyond the picture's edges.");
    r.Field("mode", mode);
    r.Field("zoom", zoom, DS_Range(1, 100000));
    r.Field("speed", speed, DS_Range(0, 100000));
    r.Field("border", borderImage, DS_Since(2));
  }

  MediaParamT<int32_t> mode{0};  // 0 off, anything else on
  UINTSclaleTo<float> zoom;      // percent, x 0.01
  MediaSpeedParam speed;         // x 0.02; its phase is the camera clock
  DS_ImageFileLink borderImage;  // default "common_res.dll" 6
};
