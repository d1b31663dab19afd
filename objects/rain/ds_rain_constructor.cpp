#include "objects/rain/ds_rain_constructor.h"

#include "core/data/class_registry.h"

DS_RainConstructor::DS_RainConstructor() {
  angle.Set(270);
  driftAmount.Set(0);
  flowSpeed = 2000.0f;
  sizeMin = 0.5f;
  sizeMax = 1.0f;
  orientation.Set(1);
  OnAngleChanged(angle.Get());  // the angle was set before the speed
}

void DS_RainConstructor::ReadFields(DS_IOF_Virtual& in, uint32_t version) {
  DS_ReadRecordFields(in, *this, version);
  OnAngleChanged(angle.Get());  // the nested flow's angle and speed were stored without telling anyone
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_RainConstructor::Clone() const {
  return std::make_unique<DS_RainConstructor>(*this);
}

void DS_RainConstructor::SpawnParticle(DS_Particle& p) {
  DS_FlowConstructor::SpawnParticle(p);
  p.fade = Uniform(*this);
  ApplyFlowGeometry(p);
  if (orientation.Get() == 1) {
    p.axisA = rainRotation.Apply(p.axisA);
    p.axisB = rainRotation.Apply(p.axisB);
  }
}

void DS_RainConstructor::UpdateParticle(DS_Particle& p) {
  // The edges' fading does not reach a drop: it moves and meets the edges at full fade, and
  // keeps its own.
  const float kept = p.fade;
  p.fade = 1.0f;
  DS_FlowConstructor::UpdateParticle(p);
  p.fade = kept;
  FadeCycle(p);
  p.UpdateColour(*this);
}

DS_REGISTER_CONSTRUCTOR(DS_RainConstructor);
