#pragma once

#include "core/data/media_kinds.h"
#include "core/data/record_values.h"
#include "objects/base_particles/ds_particle.h"
#include "objects/base_sprite_prop/ds_base_sprite_prop.h"

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

  template <class R>
  void Record(R& r) {
    r.About("What one edge of a flow does with a particle that reaches it: mode 0 wraps it to the opposite edge "
            "(fade out, wait, fade in), 1 bounces it back, 2 holds it just outside and sends it back; any other "
            "mode does nothing. The fade times and the delay range are in milliseconds.");
    r.Field("mode", mode);
    r.Field("fade_out", fadeOutTime);
    r.Field("fade_in", fadeInTime);
    r.Field("min_delay", minDelay);
    r.Field("max_delay", maxDelay);
  }
  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_BoundControl"); }
  // Header, then the fields (the stored class name and version do not change the layout).
  void Read(DS_IOF_Virtual& in) { DS_ReadNestedRecord(in, *this); }

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
