// The effect description the tool reads from a source file: parameters, named shaders with
// their register bindings, techniques and passes with their state assignments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/effects/effect_format.h"

namespace fxasm {

enum class ValueKind { Int, Float, Reference, Shader, Null };

struct StateValue {
  ValueKind kind = ValueKind::Int;
  std::vector<uint32_t> dwords;  // Int and Float: the raw components
  std::string name;              // Reference: the parameter; Shader: the named shader
};

struct StateAssignment {
  std::string name;      // as written, for messages
  uint32_t operation = 0;  // index into the effect state table
  uint32_t index = 0;      // stage, sampler or register number
  StateValue value;
  int line = 0;
};

struct Parameter {
  std::string name;
  std::string semantic;
  uint32_t type = kTypeFloat;
  uint32_t parameterClass = kClassScalar;
  uint32_t rows = 1, columns = 1;      // numeric parameters only
  std::vector<uint32_t> value;         // numeric default, row-major, rows x columns components
  std::vector<StateAssignment> samplerStates;  // sampler parameters only
  int line = 0;

  bool IsNumeric() const { return parameterClass != kClassObject; }
};

// One parameter a shader reads, and the register it is read from (c, i, b or s).
struct Binding {
  std::string parameter;
  char registerKind = 'c';
  uint32_t registerIndex = 0;
  int line = 0;
};

struct Shader {
  std::string name;
  bool isPixelShader = true;
  std::vector<Binding> bindings;
  std::string assembly;
  int assemblyLine = 0;  // source line of the first assembly character
  int line = 0;
};

struct Pass {
  std::string name;
  std::vector<StateAssignment> states;
  int line = 0;
};

struct Technique {
  std::string name;
  std::vector<Pass> passes;
  int line = 0;
};

struct EffectSource {
  std::string fileName;
  std::vector<Parameter> parameters;
  std::vector<Shader> shaders;
  std::vector<Technique> techniques;

  const Parameter* FindParameter(const std::string& name) const;
  int ParameterIndex(const std::string& name) const;  // -1 when absent
  const Shader* FindShader(const std::string& name) const;
};

}  // namespace fxasm
