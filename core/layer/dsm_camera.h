// The layer camera: the slow zoom-and-pan of a layer's picture. While it is on and wandering,
// the picture is shown magnified by a fixed zoom and drifts between random pan targets with
// cosine easing, pausing now and then; its border image fills what lies beyond the picture's
// edges. It writes only the camera matrix of g_ViewState.
#pragma once

#include <cstdint>

#include "core/layer/camera_motion.h"
#include "core/resources/resource_entry.h"

class DS_ByteCursor;

class DSM_Camera {
 public:
  static constexpr uint32_t kVersion = 2;
  static constexpr int kPanKindWander = 1;

  DSM_Camera();
  virtual ~DSM_Camera() = default;

  // Advances the clock with the application time and sets the view's camera.
  void Update(float time);
  // The zoom and pan the camera gives at clock value d (picking the next segment when due).
  DS_CameraPose PoseAt(float d);
  void PickWanderTarget(float now);
  // What the last update set on the view.
  const DS_CameraPose& LastPose() const { return m_LastPose; }
  // Copies every setting and the running state of another camera.
  void Assign(const DSM_Camera& other);

  // Record fields after the header: mode, zoom, speed, and from version 2 the border link.
  // False when the record is cut short; what was read before stays.
  bool ReadFields(DS_ByteCursor& stream, uint32_t version);
  // A nested "DSM_Camera" object: header (the name is not compared), then its fields.
  bool ReadObject(DS_ByteCursor& stream);

  // The zoom factor (zoom percent x 0.01) and the speed in clock units per second (x 0.02).
  float ZoomFactor() const { return zoomOffset + zoomScale * static_cast<float>(zoom); }
  float Speed() const { return speedOffset + speedScale * static_cast<float>(speed); }
  bool IsOn() const { return mode != 0; }

  int mode = 0;              // 0 off, anything else on
  uint32_t zoom = 120;       // percent
  float zoomScale = 0.01f, zoomOffset = 0.0f;
  uint32_t speed = 50;
  float speedScale = 0.02f, speedOffset = 0.0f;
  DS_CameraClock clock;      // the speed's phase: the camera clock
  int panKind = 0;           // kPanKindWander: random wander; not stored
  DS_ResourceKey borderImage;  // default "common_res.dll" 6
  DS_CameraWander wander;
  DS_RandomSource random;    // rand unless a test supplies a sequence

 private:
  DS_CameraPose m_LastPose;
};
