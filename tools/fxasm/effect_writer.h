// Lays an effect out as an fx_2_0 binary (tag 0xFEFF0901): a pool of type descriptors, values,
// sampler blocks and names, then the stream of parameters, techniques, passes, states, the
// object data list and the resources that carry shader bytecode and parameter references.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/fxasm/effect_source.h"

namespace fxasm {

// `bytecode` maps every shader name to its finished bytecode (with its constant table).
std::vector<uint8_t> WriteEffectBinary(const EffectSource& effect,
                                       const std::map<std::string, std::vector<uint32_t>>& bytecode);

}  // namespace fxasm
