// The base layer's stored fields and their record list, platform-free: its picture link and its
// camera. DS_2D_Light derives from it with the camera that moves the view; the content tool and
// the host take it with the camera's stored settings alone (DS_2D_LightParams).
#pragma once

#include <cstdint>

#include "core/data/file_links.h"
#include "core/data/record_values.h"
#include "core/layer/dsm_camera_params.h"

template <class CameraT>
class DS_2D_LightParamsT {
 public:
  static constexpr uint32_t kVersion = 3;
  static constexpr uint32_t kMinVersion = 1;  // version 1 is the header alone

  DS_2D_LightParamsT() {
    m_Picture.StoreKey(DS_ResourceKey{u"common_res.dll", 5});
    m_Picture.History().OnChanged(nullptr);
  }
  DS_2D_LightParamsT(const DS_2D_LightParamsT&) = delete;
  DS_2D_LightParamsT& operator=(const DS_2D_LightParamsT&) = delete;

  // "DS_2D_Light" version 3: the picture link (from version 2), then the camera as a nested
  // record (from version 3). Kinds list it as their nested base part after their own fields.
  template <class R>
  void Record(R& r) {
    r.About("The base layer: its picture, then its camera.");
    r.Field("picture", m_Picture, DS_Since(2));
    r.Part("camera", "DSM_Camera", m_Camera, DS_Since(3));
  }

  CameraT& Camera() { return m_Camera; }
  const CameraT& Camera() const { return m_Camera; }
  DS_ImageFileLink& PictureLink() { return m_Picture; }
  const DS_ImageFileLink& PictureLink() const { return m_Picture; }

 protected:
  ~DS_2D_LightParamsT() = default;

  DS_ImageFileLink m_Picture;  // default "common_res.dll" 5
  CameraT m_Camera;
};

class DS_2D_LightParams final : public DS_2D_LightParamsT<DSM_CameraParams> {};
