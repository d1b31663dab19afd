#include "layers/water_ring/water_ring_values.h"

#include <algorithm>

namespace water_ring {

float Damping(std::uint32_t value) {
  const float damping = value < 50 ? 0.9f + static_cast<float>(value) * 0.09f * 0.02f
                                   : 0.99f + static_cast<float>(value - 50) * 0.009f * 0.02f;
  return std::min(damping, kMaxDamping);
}

}  // namespace water_ring
