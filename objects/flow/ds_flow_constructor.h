// Flows: particles that stream in one direction across the view, each with its own sideways
// drift, and whose four edges each decide what becomes of a particle that reaches them (wrap
// round with a fade, bounce back, or wait beyond the edge and come back).
#pragma once

#include "core/data/change_listeners.h"
#include "core/data/media_kinds.h"
#include "objects/particles/ds_particle_system_ctrl.h"

class DS_FlowConstructor;

// What one edge of a flow does with a particle that reaches it. The owning flow binds each of
// its four controls to an edge (0 top, 1 bottom, 2 left, 3 right) and to itself.
class DS_BoundControl final : public DS_IOF_Item {
 public:
  static constexpr uint32_t kVersion = 1;
  enum Mode : int32_t { kWrap = 0, kBounce = 1, kReturn = 2 };
  using EdgeTest = bool (DS_Particle::*)(const DS_BaseSpriteProp&) const;

  DS_BoundControl() = default;
  DS_BoundControl(const DS_BoundControl&) = delete;
  // Copies the edge, the two tests and the five values (each parameter notified).
  DS_BoundControl& operator=(const DS_BoundControl& source);

  // Binds this control to `edge` of `flow`, with the matching outside and touch tests.
  void Bind(int32_t edge, const DS_FlowConstructor* flow);
  int32_t Edge() const { return m_Edge; }

  void Write(DS_IOF_Virtual& out) const override;
  // Header, then the fields (the stored class name and version do not change the layout).
  void Read(DS_IOF_Virtual& in);

  // Whether this edge dealt with the particle this frame.
  bool Handle(DS_FlowConstructor& flow, DS_Particle& p) const;

  MediaParamT<int32_t> mode{kWrap};
  MediaParamT<uint32_t> fadeOutTime{0u};  // milliseconds
  MediaParamT<uint32_t> fadeInTime{0u};   // milliseconds
  MediaParamT<uint32_t> minDelay{0u};     // milliseconds
  MediaParamT<uint32_t> maxDelay{0u};     // milliseconds

 private:
  bool Engage(DS_FlowConstructor& flow, DS_Particle& p) const;
  void Continue(DS_FlowConstructor& flow, DS_Particle& p) const;
  bool Outside(const DS_Particle& p) const { return (p.*m_OutsideTest)(*m_Flow); }
  bool Touches(const DS_Particle& p) const { return (p.*m_TouchTest)(*m_Flow); }
  void StartDelay(DS_FlowConstructor& flow, DS_Particle& p) const;

  // The edge callbacks are plain member-function pointers of DS_Particle held by value, with the
  // flow whose rectangle they test; the flow owns this control, so nothing here is allocated or
  // freed. A copied flow assigns the source's and then binds every control to itself anew.
  int32_t m_Edge = -1;
  EdgeTest m_OutsideTest = nullptr;
  EdgeTest m_TouchTest = nullptr;
  const DS_BaseSpriteProp* m_Flow = nullptr;  // the owning flow, whose rectangle the tests use
};

class DS_FlowConstructor : public DS_ParticleSystemCtrl {
 public:
  static constexpr const char16_t* kClassName = u"DS_FlowConstructor";
  static constexpr uint32_t kVersion = 4;
  // Version 3 lacks the edges. Versions 1 (no orientation) and 2 (an int whose truth is the
  // orientation) still read, but a version-2 record is no shorter than a version-3 one, so the
  // registry's record test is told of 3 only; the flow tests read the older ones.
  static constexpr uint32_t kMinVersion = 3;

  DS_FlowConstructor();
  DS_FlowConstructor(const DS_FlowConstructor& source);
  DS_FlowConstructor& operator=(const DS_FlowConstructor&) = delete;

  void Write(DS_IOF_Virtual& out) const override;
  void WriteFields(DS_IOF_Virtual& out) const;
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
