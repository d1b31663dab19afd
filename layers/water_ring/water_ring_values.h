// How the water-ring layer turns its stored values into the ripple surface's numbers. No Windows
// header, so the host tests check them beside the simulation.
#pragma once

#include <cstdint>

namespace water_ring {

// The most velocity a sub-step keeps: at 1.0 and above the ripples grow without bound.
constexpr float kMaxDamping = 0.9999f;

inline float WaveGain(std::uint32_t waveSpeed) { return 1.0f + 0.02f * static_cast<float>(waveSpeed); }
inline float RowFactor(std::uint32_t rowDensity) { return 1.0f + 0.01f * static_cast<float>(rowDensity); }
inline float ColumnFactor(std::uint32_t resolution) { return 1.0f + 0.01f * static_cast<float>(resolution); }
inline float DropStrength(std::uint32_t value) { return 0.1f + static_cast<float>(value) * 0.01f * 0.7f; }
inline float DepthFactor(std::uint32_t depth) { return 0.01f * static_cast<float>(depth); }
// 0.9 + 0.0018 v below 50, 0.99 + 0.00018 (v - 50) from 50 on, never above kMaxDamping.
float Damping(std::uint32_t value);

}  // namespace water_ring
