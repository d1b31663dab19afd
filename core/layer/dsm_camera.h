// The layer camera: the slow zoom-and-pan of a layer's picture. While it is on and wandering,
// the picture is shown magnified by a fixed zoom and drifts between random pan targets with
// cosine easing, pausing now and then; its border image fills what lies beyond the picture's
// edges. It writes only the camera matrix of g_ViewState.
#pragma once

#include <cstdint>
#include <memory>

#include "core/data/abobj_constructor.h"
#include "core/data/file_links.h"
#include "core/data/media_kinds.h"
#include "core/data/record_values.h"
#include "core/layer/camera_motion.h"
#include "core/layer/dsm_camera_params.h"

class DSM_Camera : public DS_IOF_Item, public DSM_CameraParams {
 public:
  static constexpr int32_t kPanKindWander = 1;

  DSM_Camera();
  DSM_Camera(const DSM_Camera&) = delete;
  DSM_Camera& operator=(const DSM_Camera&) = delete;

  // Advances the speed's phase (the camera clock) with the application time and sets the view's
  // camera.
  void Update(float time);
  // The zoom and pan at clock value d (picking the next segment when due).
  DS_CameraPose PoseAt(float d);
  void PickWanderTarget(float now);
  // What the last update set on the view.
  const DS_CameraPose& LastPose() const { return m_LastPose; }

  // The record is the stored settings' (DSM_CameraParams), header "DSM_Camera".
  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DSM_Camera"); }

  float ZoomFactor() const { return zoom.Derived(); }
  float Speed() const { return speed.Derived(); }
  float Clock() const { return speed.Phase(); }
  bool IsOn() const { return mode.Get() != 0; }

  MediaParamTB<int32_t> panKind{0};  // kPanKindWander: random wander; not stored
  DS_CameraWander wander;
  DS_RandomSource random;  // rand unless a test supplies a sequence

 private:
  DS_CameraPose m_LastPose;
};
