#include "core/layer/dsm_camera.h"

#include <cstdlib>

#include "core/render/view_state.h"

namespace {
int StandardRandom() { return std::rand(); }
}  // namespace

DSM_Camera::DSM_Camera() : random(StandardRandom) {}

DS_CameraPose DSM_Camera::PoseAt(float d) {
  return CameraPoseAt(wander, d, IsOn(), panKind.Get() == kPanKindWander, ZoomFactor(), random);
}

void DSM_Camera::Update(float time) {
  speed.Update(time);
  m_LastPose = PoseAt(speed.Phase());
  g_ViewState.SetCamera(m_LastPose.zoom, m_LastPose.panX, m_LastPose.panY);
}

void DSM_Camera::PickWanderTarget(float now) { ::PickWanderTarget(wander, now, random); }
