// Flows: particles that stream in one direction across the view, each with its own sideways
// drift, and whose four edges each decide what becomes of a particle that reaches them (wrap
// round with a fade, bounce back, or wait beyond the edge and come back).
#pragma once

#include "core/data/change_listeners.h"
#include "core/data/media_kinds.h"
#include "core/data/record_values.h"
#include "objects/flow/ds_bound_control.h"
#include "objects/base_particles/ds_particle_system_ctrl.h"

class DS_FlowConstructor : public DS_ParticleSystemCtrl {
 public:
  static constexpr const char16_t* kClassName = u"DS_FlowConstructor";
  static constexpr uint32_t kVersion = 4;
  // Version 3 lacks the edges, version 2 keeps an int whose truth is the orientation, version 1
  // has no orientation.
  static constexpr uint32_t kMinVersion = 1;

  DS_FlowConstructor();
  DS_FlowConstructor(const DS_FlowConstructor& source);
  DS_FlowConstructor& operator=(const DS_FlowConstructor&) = delete;

  template <class R>
  void Record(R& r) {
    r.About("A flow: the direction in degrees (0 right, 90 up, 270 down), the drift amount (x 3 pixels per unit "
            "of phase) and drift frequency (x 0.25 changes per unit of phase), the speed along the flow in pixels "
            "per unit of phase, the orientation (0 fixed, 1 turned with the flow, 2 mirrored by the horizontal and "
            "3 by the vertical movement), what the top, bottom, left and right edges do, then the sprite "
            "properties.");
    r.Field("angle", angle);
    r.Field("drift", driftAmount);
    r.Field("drift_frequency", driftFrequency);
    r.Field("flow_speed", flowSpeed);
    r.Step(TurnedFlag());
    r.Field("orientation", orientation, DS_Since(3));
    r.Part("top", "DS_BoundControl", bounds[0], DS_Since(4));
    r.Part("bottom", "DS_BoundControl", bounds[1], DS_Since(4));
    r.Part("left", "DS_BoundControl", bounds[2], DS_Since(4));
    r.Part("right", "DS_BoundControl", bounds[3], DS_Since(4));
    r.Base("DS_BaseSpriteProp", static_cast<DS_BaseSpriteProp&>(*this));
  }
  // Version 2 kept, in the orientation's place, an int whose truth turned the particles with
  // the flow.
  DS_Step TurnedFlag();

  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, kClassName); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;

  void SpawnParticle(DS_Particle& p) override;
  void UpdateParticle(DS_Particle& p) override;

  // The rotation of the flow and the two vectors it gives, from the angle in degrees.
  void OnAngleChanged(uint32_t degrees);
  // The standard size, the colour, and the axes as the orientation fixes them at a spawn.
  void ApplyFlowGeometry(DS_Particle& p);

  MediaParamT<uint32_t> angle{0u};  // degrees: 0 flows right, 90 up, 270 down the picture
  MediaFloat<uint32_t> driftAmount;     // pixels per unit of phase
  MediaFloat<uint32_t> driftFrequency;  // drift changes per unit of phase
  float flowSpeed = 0.0f;               // pixels per unit of phase
  // 0 fixed, 1 turned with the flow, 2 mirrored by the horizontal and 3 by the vertical movement.
  MediaParamT<int32_t> orientation{0};
  DS_BoundControl bounds[4];  // top, bottom, left, right: the order they are asked in

  DS_RotationZ flowRotation;
  DS_Vec3 flowDirection;  // flowSpeed along the flow
  DS_Vec3 flowNormal;     // the unit vector across the flow

 private:
  void AttachAngleListener();
  void BindEdges();

  DS_ListenerSet m_Listeners;  // the angle listener
};
