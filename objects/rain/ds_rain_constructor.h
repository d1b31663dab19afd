// Rain: a flow falling down the picture, its drops turned with the flow so that they stand
// upright, each drop pulsing through its own fade cycle, which alone brings it back.
#pragma once

#include "objects/flow/ds_flow_constructor.h"

class DS_RainConstructor final : public DS_FlowConstructor {
 public:
  static constexpr const char16_t* kClassName = u"DS_RainConstructor";
  static constexpr uint32_t kVersion = 1;
  static constexpr uint32_t kMinVersion = 1;

  DS_RainConstructor();
  DS_RainConstructor(const DS_RainConstructor& source) = default;

  template <class R>
  void Record(R& r) {
    r.About("Rain: a flow record of its own (a rain starts at angle 270, flow speed 2000, orientation 1 and sizes "
            "0.5 to 1); each drop pulses through the fade range at the fade rate and is made again below the fade "
            "minimum.");
    r.Base("DS_FlowConstructor", static_cast<DS_FlowConstructor&>(*this));
  }
  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, kClassName); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;

  void SpawnParticle(DS_Particle& p) override;
  void UpdateParticle(DS_Particle& p) override;

  DS_RotationZ rainRotation = DS_RotationZ::Of(4.712389f);  // a quarter turn back: upright drops
};
