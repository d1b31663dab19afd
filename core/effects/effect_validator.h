// An independent reader of fx_2_0 effect binaries that checks everything the effect loader takes
// on trust: every offset inside the pool, every object id in range and used once, every resource
// aimed at an existing state, every referenced name present, every shader well formed.
// Platform-free, so that it can also guard untrusted binaries before D3DXCreateEffect.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fxasm {

// True when the binary is sound; otherwise false with the first problem in `problem`.
bool ValidateEffectBinary(const uint8_t* data, size_t size, std::string& problem);

}  // namespace fxasm
