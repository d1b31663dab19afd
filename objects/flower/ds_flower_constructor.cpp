#include "objects/flower/ds_flower_constructor.h"

#include <cmath>

#include "core/data/class_registry.h"
#include "objects/particles/sway.h"

void DS_FlowerConstructor::Write(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_FlowerConstructor", kVersion);
  out.WriteFloat(swayAmplitude);
  DS_StatObjConstructor::Write(out);
}

void DS_FlowerConstructor::ReadFields(DS_IOF_Virtual& in, uint32_t) {
  in.ReadFloat(swayAmplitude);
  DS_StatObjConstructor::ReadObject(in);
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_FlowerConstructor::Clone() const {
  return std::make_unique<DS_FlowerConstructor>(*this);
}

void DS_FlowerConstructor::UpdateParticle(DS_Particle& p) {
  const float e = SwayLean(std::sin(Phase() + p.velocity.y), swayAmplitude);
  p.axisB = rotationMatrix.Apply(DS_Vec3{e, 1.0f, 0.0f});
  // The foot stays on the placement's centre while the top leans.
  p.position.x = static_cast<float>(placement.further1.Get()) - p.axisA.x * p.halfHeight * e;
  p.position.y = static_cast<float>(placement.further2.Get()) - p.axisA.y * p.halfHeight * e;
}

DS_REGISTER_CONSTRUCTOR(DS_FlowerConstructor);
