#include "tools/fxasm/constant_table.h"

#include <cstring>
#include <string>

#include "tools/fxasm/source_lexer.h"

namespace fxasm {
namespace {

// D3DXREGISTER_SET values.
uint16_t RegisterSet(char kind) {
  switch (kind) {
    case 'b': return 0;
    case 'i': return 1;
    case 's': return 3;
    default: return 2;
  }
}

// Bytes of a table that is built first and then copied into DWORD tokens.
class ByteTable {
 public:
  size_t Size() const { return m_Bytes.size(); }
  void Word(uint16_t value) { Append(&value, 2); }
  void Dword(uint32_t value) { Append(&value, 4); }
  void PatchDword(size_t at, uint32_t value) { std::memcpy(&m_Bytes[at], &value, 4); }
  // A NUL-terminated string padded to 4 bytes; returns its offset.
  uint32_t String(const std::string& text) {
    const size_t at = m_Bytes.size();
    Append(text.c_str(), text.size() + 1);
    while (m_Bytes.size() % 4) m_Bytes.push_back(0);
    return static_cast<uint32_t>(at);
  }
  std::vector<uint32_t> Dwords() const {
    std::vector<uint32_t> out((m_Bytes.size() + 3) / 4, 0);
    std::memcpy(out.data(), m_Bytes.data(), m_Bytes.size());
    return out;
  }

 private:
  void Append(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    m_Bytes.insert(m_Bytes.end(), bytes, bytes + size);
  }
  std::vector<uint8_t> m_Bytes;
};

}  // namespace

std::vector<uint32_t> AddConstantTable(const std::vector<uint32_t>& bytecode, const Shader& shader,
                                       const EffectSource& effect) {
  if (bytecode.size() < 2 || bytecode.back() != kShaderEndToken) {
    throw SourceError(shader.line, "the assembler returned no complete shader for '" + shader.name + "'");
  }
  const uint32_t version = bytecode[0];
  const uint32_t kind = version >> 16;
  if (kind != ShaderVersionKind(shader.isPixelShader)) {
    throw SourceError(shader.assemblyLine, std::string("'") + shader.name + "' is declared as a " +
                                               (shader.isPixelShader ? "pixel" : "vertex") +
                                               " shader but its assembly is not one");
  }

  const uint32_t count = static_cast<uint32_t>(shader.bindings.size());
  const uint32_t infoOffset = 28;
  const uint32_t typeOffset = infoOffset + 20 * count;

  ByteTable table;
  table.Dword(28);  // size of this header
  table.Dword(0);   // creator, patched below
  table.Dword(version);
  table.Dword(count);
  table.Dword(infoOffset);
  table.Dword(0);  // flags
  table.Dword(0);  // target, patched below
  for (uint32_t i = 0; i < count; ++i) {
    for (int d = 0; d < 5; ++d) table.Dword(0);  // constant infos, patched below
  }
  for (const Binding& binding : shader.bindings) {
    const Parameter& parameter = *effect.FindParameter(binding.parameter);
    uint16_t typeClass = static_cast<uint16_t>(parameter.parameterClass);
    if (parameter.parameterClass == kClassMatrixRows) typeClass = kClassMatrixColumns;
    table.Word(typeClass);
    table.Word(static_cast<uint16_t>(parameter.type));
    table.Word(static_cast<uint16_t>(parameter.IsNumeric() ? parameter.rows : 1));
    table.Word(static_cast<uint16_t>(parameter.IsNumeric() ? parameter.columns : 1));
    table.Word(1);  // elements
    table.Word(0);  // struct members
    table.Dword(0);
  }
  for (uint32_t i = 0; i < count; ++i) {
    const Binding& binding = shader.bindings[i];
    const Parameter& parameter = *effect.FindParameter(binding.parameter);
    const uint32_t name = table.String(binding.parameter);
    const size_t at = infoOffset + 20 * i;
    const uint16_t registers = static_cast<uint16_t>(parameter.parameterClass == kClassMatrixRows ? parameter.columns : 1);
    table.PatchDword(at, name);
    table.PatchDword(at + 4, static_cast<uint32_t>(RegisterSet(binding.registerKind)) | (binding.registerIndex << 16));
    table.PatchDword(at + 8, registers);
    table.PatchDword(at + 12, typeOffset + 16 * i);
    table.PatchDword(at + 16, 0);  // no default value
  }
  table.PatchDword(4, table.String("vorniquel fxasm"));
  const uint32_t versionMajor = (version >> 8) & 0xFF;
  const uint32_t versionMinor = version & 0xFF;
  table.PatchDword(24, table.String(std::string(shader.isPixelShader ? "ps_" : "vs_") + std::to_string(versionMajor) +
                                    "_" + std::to_string(versionMinor)));

  const std::vector<uint32_t> body = table.Dwords();
  const uint32_t commentLength = static_cast<uint32_t>(body.size() + 1);  // with the FOURCC
  if (commentLength > kMaxCommentLength) throw SourceError(shader.line, "the constant table of '" + shader.name + "' is too large");

  std::vector<uint32_t> out;
  out.reserve(bytecode.size() + body.size() + 2);
  out.push_back(version);
  out.push_back(kCommentOpcode | (commentLength << 16));
  out.push_back(kFourccCtab);
  out.insert(out.end(), body.begin(), body.end());
  out.insert(out.end(), bytecode.begin() + 1, bytecode.end());
  return out;
}

}  // namespace fxasm
