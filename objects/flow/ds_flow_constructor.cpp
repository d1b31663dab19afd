#include "objects/flow/ds_flow_constructor.h"

#include <cmath>

#include "core/data/class_registry.h"

namespace {

constexpr float kPi = 3.14159265f;

}  // namespace

DS_FlowConstructor::DS_FlowConstructor() {
  driftAmount.SetScale(3.0f, 0.0f);
  driftFrequency.SetScale(0.25f, 0.0f);
  AttachAngleListener();
  BindEdges();
}

DS_FlowConstructor::DS_FlowConstructor(const DS_FlowConstructor& source)
    : DS_ParticleSystemCtrl(source),
      driftAmount(source.driftAmount),
      driftFrequency(source.driftFrequency),
      flowSpeed(source.flowSpeed),
      flowDirection(source.flowDirection) {
  angle.Set(source.angle.Get());
  orientation.Set(source.orientation.Get());
  for (int edge = 0; edge < 4; ++edge) bounds[edge] = source.bounds[edge];
  AttachAngleListener();
  BindEdges();
}

void DS_FlowConstructor::AttachAngleListener() {
  m_Listeners.SetOwner(this, false);
  DS_AttachListener(m_Listeners, angle, &DS_FlowConstructor::OnAngleChanged);
}

void DS_FlowConstructor::BindEdges() {
  for (int edge = 0; edge < 4; ++edge) bounds[edge].Bind(edge, this);
}

void DS_FlowConstructor::OnAngleChanged(uint32_t degrees) {
  flowRotation = DS_RotationZ::Of((360.0f - static_cast<float>(degrees)) * kPi / 180.0f);
  flowDirection = flowRotation.Apply(DS_Vec3{flowSpeed, 0.0f, 0.0f});
  flowNormal = flowRotation.Apply(DS_Vec3{0.0f, 1.0f, 0.0f});
}

DS_Step DS_FlowConstructor::TurnedFlag() {
  return {"the orientation of version 2: an int, turned with the flow when not 0", DS_Only(2),
          [this](DS_IOF_Virtual& in, uint32_t) {
            int32_t turned = 0;
            in.ReadInt(turned);
            orientation.Set(turned != 0 ? 1 : 0);
          },
          [this](DS_IOF_Virtual& out, uint32_t) { out.WriteInt(orientation.Get() == 1 ? 1 : 0); }};
}

void DS_FlowConstructor::ReadFields(DS_IOF_Virtual& in, uint32_t version) {
  DS_ReadRecordFields(in, *this, version);
  // The angle and speed were stored without telling anyone: bring the flow vectors in step.
  OnAngleChanged(angle.Get());
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_FlowConstructor::Clone() const {
  return std::make_unique<DS_FlowConstructor>(*this);
}

void DS_FlowConstructor::ApplyFlowGeometry(DS_Particle& p) {
  ApplyStandardSize(p);
  p.UpdateColour(*this);
  switch (orientation.Get()) {
    case 0:
      p.axisA = DS_Vec3{1.0f, 0.0f, 0.0f};
      p.axisB = DS_Vec3{0.0f, 1.0f, 0.0f};
      break;
    case 1:
      p.axisA = flowRotation.Apply(DS_Vec3{1.0f, 0.0f, 0.0f});
      p.axisB = flowRotation.Apply(DS_Vec3{0.0f, 1.0f, 0.0f});
      break;
    default:
      break;  // the update sets the axes
  }
}

void DS_FlowConstructor::SpawnParticle(DS_Particle& p) {
  p.flowSign = DS_Vec3{1.0f, 1.0f, 0.0f};
  // The third component is the particle's drift factor in -1..1.
  p.velocity = DS_Vec3{0.0f, 0.0f, Uniform(*this) * 2.0f - 1.0f};
  const DS_Point3 at = RandomPoint();
  p.position = DS_Vec3{at.x, at.y, at.z};
  ApplyFlowGeometry(p);
}

void DS_FlowConstructor::UpdateParticle(DS_Particle& p) {
  const float d = driftAmount.Derived();
  const float s = p.sizeFactor;
  const float drift = p.velocity.z;
  // Larger particles move faster.
  const float vx = s * (flowDirection.x * p.flowSign.x + d * drift * flowNormal.x);
  const float vy = s * (flowDirection.y * p.flowSign.y + d * drift * flowNormal.y);
  if (!p.waiting) {
    p.position.x += StepValue() * vx;
    p.position.y += StepValue() * vy;
  }
  for (const DS_BoundControl& bound : bounds)
    if (bound.Handle(*this, p)) break;
  if (orientation.Get() == 2) {
    p.axisA = DS_Vec3{std::copysign(1.0f, vx), 0.0f, 0.0f};
    p.axisB = DS_Vec3{0.0f, 1.0f, 0.0f};
  } else if (orientation.Get() == 3) {
    p.axisA = DS_Vec3{1.0f, 0.0f, 0.0f};
    p.axisB = DS_Vec3{0.0f, std::copysign(1.0f, vy), 0.0f};
  }
  // A frequency of 0 never changes the drift.
  const float frequency = driftFrequency.Derived();
  if (frequency > 0.0f && 1.0f / frequency < Phase() - p.timer) {
    p.timer = Phase();
    if (Coin(*this)) p.velocity.z = Uniform(*this) * 2.0f - 1.0f;
  }
  p.UpdateColour(*this);
}

DS_REGISTER_CONSTRUCTOR(DS_FlowConstructor);
