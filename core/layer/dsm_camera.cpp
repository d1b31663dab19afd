#include "core/layer/dsm_camera.h"

#include <cstdlib>

#include "core/render/view_state.h"

namespace {
int StandardRandom() { return std::rand(); }
}  // namespace

DSM_Camera::DSM_Camera() : random(StandardRandom) {
  zoom.SetDefault(120);
  zoom.SetScale(0.01f, 0.0f);
  speed.SetDefault(50);
  speed.SetScale(0.02f, 0.0f);
  borderImage.StoreKey(DS_ResourceKey{u"common_res.dll", 6});
  borderImage.History().OnChanged(nullptr);
}

DS_CameraPose DSM_Camera::PoseAt(float d) {
  return CameraPoseAt(wander, d, IsOn(), panKind.Get() == kPanKindWander, ZoomFactor(), random);
}

void DSM_Camera::Update(float time) {
  speed.Update(time);
  m_LastPose = PoseAt(speed.Phase());
  g_ViewState.SetCamera(m_LastPose.zoom, m_LastPose.panX, m_LastPose.panY);
}

void DSM_Camera::PickWanderTarget(float now) { ::PickWanderTarget(wander, now, random); }

void DSM_Camera::Assign(const DSM_Camera& other) {
  mode.Set(other.mode.Get());
  zoom.SetScale(other.zoom.Scale(), other.zoom.Offset());
  zoom.Set(other.zoom.Get());
  speed.SetScale(other.speed.Scale(), other.speed.Offset());
  speed.Set(other.speed.Get());
  panKind.Set(other.panKind.Get());
  borderImage.SetKey(other.borderImage.Key());
  wander = other.wander;
}

void DSM_Camera::WriteObject(DS_IOF_Virtual& out, const DSM_Camera& camera) {
  DS_WriteRecord(out, camera, "DSM_Camera");
}

void DSM_Camera::WriteFields(const DSM_Camera& camera, DS_IOF_Virtual& out) {
  DS_RecordWriter writer(out, kVersion);
  DS_WalkRecord(const_cast<DSM_Camera&>(camera), writer);
}

std::unique_ptr<DSM_Camera> DSM_Camera::ReadObject(DS_IOF_Virtual& in) {
  const DS_ObjectHeader header = DS_ReadHeader(in);
  auto camera = std::make_unique<DSM_Camera>();
  ReadFields(in, *camera, header.version);
  return camera;
}

void DSM_Camera::ReadFields(DS_IOF_Virtual& in, DSM_Camera& camera, uint32_t version) {
  DS_ReadRecordFields(in, camera, version);
}
