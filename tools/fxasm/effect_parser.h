// Reads an effect source into an EffectSource and checks what the source itself can get wrong
// (unknown states and names, wrong value kinds, clashing registers). Throws SourceError.
#pragma once

#include <string>

#include "tools/fxasm/effect_source.h"

namespace fxasm {

EffectSource ParseEffectSource(const std::string& text, const std::string& fileName);

}  // namespace fxasm
