// Fuzzes both inputs of the effect tooling: bytes as an effect binary (the check must never read
// out of bounds) and bytes as an effect source (the parser refuses or accepts; whatever it
// accepts must write a binary that passes the check).
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "core/effects/effect_validator.h"
#include "tools/fxasm/constant_table.h"
#include "tools/fxasm/effect_parser.h"
#include "tools/fxasm/effect_writer.h"
#include "tools/fxasm/source_lexer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string problem;
  fxasm::ValidateEffectBinary(data, size, problem);

  try {
    const fxasm::EffectSource effect = fxasm::ParseEffectSource(std::string(reinterpret_cast<const char*>(data), size), "fuzz");
    std::map<std::string, std::vector<uint32_t>> bytecode;
    for (const fxasm::Shader& shader : effect.shaders) {
      const std::vector<uint32_t> tiny = shader.isPixelShader
                                             ? std::vector<uint32_t>{0xFFFF0200, fxasm::kShaderEndToken}
                                             : std::vector<uint32_t>{0xFFFE0200, fxasm::kShaderEndToken};
      bytecode[shader.name] = fxasm::AddConstantTable(tiny, shader, effect);
    }
    const std::vector<uint8_t> binary = fxasm::WriteEffectBinary(effect, bytecode);
    if (!fxasm::ValidateEffectBinary(binary.data(), binary.size(), problem)) std::abort();
  } catch (const fxasm::SourceError&) {
  }
  return 0;
}
