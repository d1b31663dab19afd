#include "core/layer/dsm_camera.h"

#include <cstdlib>

#include "core/layer/layer_record.h"
#include "core/render/view_state.h"
#include "core/resources/resource_bytes.h"

namespace {
int StandardRandom() { return std::rand(); }
}  // namespace

DSM_Camera::DSM_Camera() : random(StandardRandom) {
  borderImage.name = L"common_res.dll";
  borderImage.stamp = 6;
}

DS_CameraPose DSM_Camera::PoseAt(float d) {
  return CameraPoseAt(wander, d, IsOn(), panKind == kPanKindWander, ZoomFactor(), random);
}

void DSM_Camera::Update(float time) {
  const float d = clock.Advance(time, Speed());
  m_LastPose = PoseAt(d);
  g_ViewState.SetCamera(m_LastPose.zoom, m_LastPose.panX, m_LastPose.panY);
}

void DSM_Camera::PickWanderTarget(float now) { ::PickWanderTarget(wander, now, random); }

void DSM_Camera::Assign(const DSM_Camera& other) {
  mode = other.mode;
  zoom = other.zoom;
  zoomScale = other.zoomScale;
  zoomOffset = other.zoomOffset;
  speed = other.speed;
  speedScale = other.speedScale;
  speedOffset = other.speedOffset;
  clock = other.clock;
  panKind = other.panKind;
  borderImage = other.borderImage;
  wander = other.wander;
}

bool DSM_Camera::ReadFields(DS_ByteCursor& stream, uint32_t version) {
  int32_t storedMode = 0;
  uint32_t storedZoom = 0, storedSpeed = 0;
  if (!stream.ReadI32(storedMode)) return false;
  mode = storedMode;
  if (!stream.ReadU32(storedZoom)) return false;
  zoom = storedZoom;
  if (!stream.ReadU32(storedSpeed)) return false;
  speed = storedSpeed;
  if (version > 1 && !ReadLinkKey(stream, borderImage)) return false;
  return true;
}

bool DSM_Camera::ReadObject(DS_ByteCursor& stream) {
  DS_RecordHeader header;
  return ReadRecordHeader(stream, header) && ReadFields(stream, header.version);
}
