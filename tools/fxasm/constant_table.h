// Gives an assembled shader the constant table (CTAB) that names the effect parameters it reads
// and their registers: the effect runtime binds parameters to registers only through it, and
// the assembler writes none.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/fxasm/effect_source.h"

namespace fxasm {

// The bytecode with one CTAB comment inserted right after the version token. Throws SourceError
// (at the shader's line) when the bytecode is not a shader of the declared kind.
std::vector<uint32_t> AddConstantTable(const std::vector<uint32_t>& bytecode, const Shader& shader,
                                       const EffectSource& effect);

}  // namespace fxasm
