// fxasm: turns an effect source (parameters, samplers, named shaders in vs_2_0/ps_2_0 assembly,
// techniques and passes) into an fx_2_0 effect binary for D3DXCreateEffect.
//
//   fxasm <source.fx> <output.fxo>
//
// Exit code 0 when the binary is written; 1 with "file:line: error: ..." on stderr when the
// source is malformed; 2 for usage and file errors. Nothing is written unless every check passes.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/effects/effect_validator.h"
#include "tools/fxasm/constant_table.h"
#include "tools/fxasm/effect_parser.h"
#include "tools/fxasm/effect_writer.h"
#include "tools/fxasm/shader_assembler.h"
#include "tools/fxasm/source_lexer.h"

namespace {

// The build hands Unix paths to the tool as Z: paths; messages name the file as the build does.
std::string DisplayName(const std::string& path) {
  if (path.size() > 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') return path.substr(2);
  return path;
}

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

int Compile(const std::string& sourcePath, const std::string& outputPath) {
  const std::string name = DisplayName(sourcePath);
  std::string text;
  if (!ReadFile(sourcePath, text)) {
    std::fprintf(stderr, "%s: error: cannot read the effect source\n", name.c_str());
    return 2;
  }
  std::vector<uint8_t> binary;
  try {
    const fxasm::EffectSource effect = fxasm::ParseEffectSource(text, name);
    std::map<std::string, std::vector<uint32_t>> bytecode;
    for (const fxasm::Shader& shader : effect.shaders) {
      std::vector<uint32_t> assembled;
      std::string errors;
      if (!fxasm::AssembleShader(shader.assembly, name, shader.assemblyLine, assembled, errors)) {
        std::fprintf(stderr, "%s:%d: error: shader '%s' does not assemble:\n%s\n", name.c_str(), shader.line,
                     shader.name.c_str(), errors.c_str());
        return 1;
      }
      bytecode[shader.name] = fxasm::AddConstantTable(assembled, shader, effect);
    }
    binary = fxasm::WriteEffectBinary(effect, bytecode);
  } catch (const fxasm::SourceError& error) {
    std::fprintf(stderr, "%s:%d: error: %s\n", name.c_str(), error.line, error.what());
    return 1;
  }

  std::string problem;
  if (!fxasm::ValidateEffectBinary(binary.data(), binary.size(), problem)) {
    std::fprintf(stderr, "%s: error: the effect binary failed its own check: %s\n", name.c_str(), problem.c_str());
    return 1;
  }
  std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(binary.data()), static_cast<std::streamsize>(binary.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "%s: error: cannot write the effect binary\n", DisplayName(outputPath).c_str());
    std::remove(outputPath.c_str());
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fxasm <source.fx> <output.fxo>\n");
    return 2;
  }
  return Compile(argv[1], argv[2]);
}
