// Assembles vs_2_0/ps_2_0 text with D3DX (D3DXAssembleShader, which needs no device).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fxasm {

// Assembles `text`, which starts at `line` of `fileName`, so that messages name source lines.
// On failure returns false with the assembler's messages in `errors`.
bool AssembleShader(const std::string& text, const std::string& fileName, int line, std::vector<uint32_t>& bytecode,
                    std::string& errors);

}  // namespace fxasm
