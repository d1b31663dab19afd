// The states an effect source may assign, with their index in the effect state table, where
// they may appear, what value they take and the names of their enumerated values.
#pragma once

#include <cstdint>
#include <string>

#include "core/effects/effect_format.h"

namespace fxasm {

enum class StateValueType { Int, Float, Texture, Shader, Sampler };

// Where a state may be written and whether it carries a [n] index there.
enum class StatePlace {
  Render,   // pass only, no index
  Stage,    // pass only, [stage] required
  Shader,   // pass only, no index
  Texture,  // pass: [sampler] required; sampler_state: no index
  SamplerState,  // the same
  Sampler,  // pass only, [sampler] required
};

struct StateInfo {
  const char* name;
  uint32_t operation;
  StatePlace place;
  StateValueType valueType;
  const char* enumSet;  // nullptr: numbers only
};

// Case-insensitive lookup, as effect files write states in any case; nullptr when unknown.
const StateInfo* FindState(const std::string& name);

// The value of an enumerated name in a set ("Blend", "Cull", ...), case-insensitive;
// false when the set has no such name.
bool FindEnumValue(const char* enumSet, const std::string& name, uint32_t& value);

}  // namespace fxasm
