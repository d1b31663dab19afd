#include "objects/flow/ds_bound_control.h"

#include <cmath>

#include "objects/flow/ds_flow_constructor.h"

namespace {

// The per-edge tests, by edge: wholly beyond it, and reaching over it.
struct EdgeTests {
  DS_BoundControl::EdgeTest outside, touches;
};
constexpr EdgeTests kEdgeTests[4] = {
    {&DS_Particle::IsOutsideTop, &DS_Particle::TouchesTop},
    {&DS_Particle::IsOutsideBottom, &DS_Particle::TouchesBottom},
    {&DS_Particle::IsOutsideLeft, &DS_Particle::TouchesLeft},
    {&DS_Particle::IsOutsideRight, &DS_Particle::TouchesRight},
};

bool Vertical(int32_t edge) { return edge < 2; }

// A fade of `milliseconds` changes by 1000 / time per unit of phase.
float FadeStep(float step, uint32_t milliseconds) { return step * 1000.0f / static_cast<float>(milliseconds); }

}  // namespace

DS_BoundControl& DS_BoundControl::operator=(const DS_BoundControl& source) {
  if (this == &source) return *this;
  m_Edge = source.m_Edge;
  m_OutsideTest = source.m_OutsideTest;
  m_TouchTest = source.m_TouchTest;
  m_Flow = source.m_Flow;
  mode.Set(source.mode.Get());
  fadeOutTime.Set(source.fadeOutTime.Get());
  fadeInTime.Set(source.fadeInTime.Get());
  minDelay.Set(source.minDelay.Get());
  maxDelay.Set(source.maxDelay.Get());
  return *this;
}

void DS_BoundControl::Bind(int32_t edge, const DS_FlowConstructor* flow) {
  if (edge < 0 || edge > 3 || !flow) {
    m_Edge = -1;
    m_OutsideTest = m_TouchTest = nullptr;
    m_Flow = nullptr;
    return;
  }
  m_Edge = edge;
  m_OutsideTest = kEdgeTests[edge].outside;
  m_TouchTest = kEdgeTests[edge].touches;
  m_Flow = flow;
}

bool DS_BoundControl::Handle(DS_FlowConstructor& flow, DS_Particle& p) const {
  if (m_Edge < 0 || !m_Flow) return false;  // not bound to an edge: nothing to ask
  if (p.boundEdge == m_Edge) {
    Continue(flow, p);
    return true;
  }
  if (p.boundEdge != -1) return false;
  return Engage(flow, p);
}

void DS_BoundControl::StartDelay(DS_FlowConstructor& flow, DS_Particle& p) const {
  p.delayEnd = flow.Phase() + flow.RandomInRange(static_cast<float>(minDelay.Get()) * 0.001f,
                                                 static_cast<float>(maxDelay.Get()) * 0.001f);
  p.waiting = true;
  p.delayClock = flow.Phase();
}

bool DS_BoundControl::Engage(DS_FlowConstructor& flow, DS_Particle& p) const {
  float& sign = Vertical(m_Edge) ? p.flowSign.y : p.flowSign.x;
  switch (mode.Get()) {
    case kWrap:
      if (!Outside(p)) return false;
      if (p.fade <= 0.0f) {
        // Faded out and waited: in again just inside the opposite edge.
        const float left = flow.PixelLeft(), right = flow.PixelRight();
        const float top = flow.PixelTop(), bottom = flow.PixelBottom();
        switch (m_Edge) {
          case 0:
            p.position.y = bottom - 1.0f;
            p.position.x = flow.RandomInRange(left, right);
            break;
          case 1:
            p.position.y = top + 1.0f;
            p.position.x = flow.RandomInRange(left, right);
            break;
          case 2:
            p.position.x = right - 1.0f;
            p.position.y = flow.RandomInRange(top, bottom);
            break;
          default:
            p.position.x = left + 1.0f;
            p.position.y = flow.RandomInRange(top, bottom);
            break;
        }
        p.wrapped = 1;
      }
      p.boundEdge = m_Edge;
      return true;
    case kBounce:
      if (!Touches(p)) return false;
      sign = -sign;
      p.boundEdge = m_Edge;
      return true;
    case kReturn:
      if (!Outside(p)) return false;
      sign = -sign;
      StartDelay(flow, p);
      p.boundEdge = m_Edge;
      return true;
    default:
      return false;
  }
}

void DS_BoundControl::Continue(DS_FlowConstructor& flow, DS_Particle& p) const {
  const float step = flow.StepValue();
  const bool vertical = Vertical(m_Edge);
  float& along = vertical ? p.position.y : p.position.x;
  const float half = vertical ? p.halfHeight : p.halfWidth;
  const float low = vertical ? flow.PixelTop() : flow.PixelLeft();
  const float high = vertical ? flow.PixelBottom() : flow.PixelRight();
  switch (mode.Get()) {
    case kWrap:
      if (!p.wrapped) {
        if (p.fade > 0.0f) {
          p.fade = fadeOutTime.Get() == 0 ? 0.0f : std::fmax(p.fade - FadeStep(step, fadeOutTime.Get()), 0.0f);
        } else {
          p.boundEdge = -1;
          StartDelay(flow, p);
        }
        return;
      }
      p.delayClock += step;
      if (!(p.delayEnd < p.delayClock)) return;
      p.waiting = false;
      if (p.fade >= 1.0f) {
        p.boundEdge = -1;
        p.wrapped = 0;
      } else {
        p.fade = fadeInTime.Get() == 0 ? 1.0f : std::fmin(p.fade + FadeStep(step, fadeInTime.Get()), 1.0f);
      }
      return;
    case kBounce:
      // Wholly inside again, one pixel clear of the edge.
      if (along > high - half) along = high - half - 1.0f;
      if (along < low + half) along = low + half + 1.0f;
      if (!Touches(p)) p.boundEdge = -1;
      return;
    case kReturn:
      // Held one pixel short of wholly outside while it waits.
      if (along > high + half) along = high + half - 1.0f;
      if (along < low - half) along = low - half + 1.0f;
      p.delayClock += step;
      if (!(p.delayEnd < p.delayClock)) return;
      p.waiting = false;
      if (!Outside(p)) p.boundEdge = -1;
      return;
    default:
      // A mode changed while the particle was taken: let it go.
      p.boundEdge = -1;
      return;
  }
}
