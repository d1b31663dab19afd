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
  DS_WriteHeader(out, u"DSM_Camera", kVersion);
  WriteFields(camera, out);
}

void DSM_Camera::WriteFields(const DSM_Camera& camera, DS_IOF_Virtual& out) {
  WriteParamValue(out, camera.mode);
  camera.zoom.WriteValue(out);
  camera.speed.WriteValue(out);
  WritePictureLink(camera.borderImage, out);
}

std::unique_ptr<DSM_Camera> DSM_Camera::ReadObject(DS_IOF_Virtual& in) {
  const DS_ObjectHeader header = DS_ReadHeader(in);
  auto camera = std::make_unique<DSM_Camera>();
  ReadFields(in, *camera, header.version);
  return camera;
}

void DSM_Camera::ReadFields(DS_IOF_Virtual& in, DSM_Camera& camera, uint32_t version) {
  ReadParamValue(in, camera.mode);  // stored, nobody told
  camera.zoom.ReadValue(in);        // the derived factors follow
  camera.speed.ReadValue(in);
  if (version > 1) ReadFileLink(in, camera.borderImage);
}
