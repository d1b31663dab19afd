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

class DSM_Camera : public DS_IOF_Item {
 public:
  static constexpr uint32_t kVersion = 2;
  static constexpr uint32_t kMinVersion = 1;  // version 1: no border link
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
  // Copies the settings of another camera through each parameter's change path, the border
  // link's key, the pan kind and the wander state. (The speed's phase has no change path; the
  // cameras copied from are freshly read, whose phase is 0.)
  void Assign(const DSM_Camera& other);

  // "DSM_Camera" version 2: mode, zoom, speed, border link. Stored values go in directly, the
  // derived factors following.
  template <class R>
  void Record(R& r) {
    r.About("The layer's camera: mode (0 off, anything else zooms and wanders), zoom in percent, speed of the "
            "wander (x 0.02) and the border image beyond the picture's edges.");
    r.Field("mode", mode);
    r.Field("zoom", zoom);
    r.Field("speed", speed);
    r.Field("border", borderImage, DS_Since(2));
  }
  void Write(DS_IOF_Virtual& out) const override { WriteObject(out, *this); }
  static void WriteObject(DS_IOF_Virtual& out, const DSM_Camera& camera);
  static void WriteFields(const DSM_Camera& camera, DS_IOF_Virtual& out);
  // A nested "DSM_Camera" object: header (the name is not compared), then a new camera with the
  // fields of that version.
  static std::unique_ptr<DSM_Camera> ReadObject(DS_IOF_Virtual& in);
  static void ReadFields(DS_IOF_Virtual& in, DSM_Camera& camera, uint32_t version);

  float ZoomFactor() const { return zoom.Derived(); }
  float Speed() const { return speed.Derived(); }
  float Clock() const { return speed.Phase(); }
  bool IsOn() const { return mode.Get() != 0; }

  MediaParamT<int32_t> mode{0};  // 0 off, anything else on
  UINTSclaleTo<float> zoom;      // percent, x 0.01
  MediaSpeedParam speed;         // x 0.02; its phase is the camera clock
  MediaParamTB<int32_t> panKind{0};  // kPanKindWander: random wander; not stored
  DS_ImageFileLink borderImage;  // default "common_res.dll" 6
  DS_CameraWander wander;
  DS_RandomSource random;  // rand unless a test supplies a sequence

 private:
  DS_CameraPose m_LastPose;
};

// The camera as the layer holds it: a nested record of its own (header included), read into a
// fresh camera and taken over through each parameter's change path.
template <>
struct DS_Value<DSM_Camera> {
  static void Read(DS_IOF_Virtual& in, DSM_Camera& v) { v.Assign(*DSM_Camera::ReadObject(in)); }
  static void Write(DS_IOF_Virtual& out, const DSM_Camera& v) { DSM_Camera::WriteObject(out, v); }
  static const char* Type() { return "record DSM_Camera"; }
  static std::string Text(const DSM_Camera&) { return ""; }
};
