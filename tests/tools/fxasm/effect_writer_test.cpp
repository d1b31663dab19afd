// The tool's platform-free half on the host, under the sanitizers: the tree's effect sources
// make binaries that the independent check accepts, the constant tables have the layout the
// effect runtime reads, and the check refuses every truncation of a binary.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

#include "core/effects/effect_validator.h"
#include "tools/fxasm/constant_table.h"
#include "tools/fxasm/effect_parser.h"
#include "tools/fxasm/effect_writer.h"
#include "tools/fxasm/source_lexer.h"

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Stands in for assembled code where no assembler runs: "mov oC0, c0" / "mov oPos, v0" tokens.
std::vector<uint32_t> TinyShader(bool pixel) {
  if (pixel) return {0xFFFF0200, 0x02000001, 0x800F0800, 0xA0E40000, fxasm::kShaderEndToken};
  return {0xFFFE0200, 0x02000001, 0xC00F0000, 0x90E40000, fxasm::kShaderEndToken};
}

std::vector<uint8_t> Build(const std::string& path, fxasm::EffectSource* parsed = nullptr) {
  const fxasm::EffectSource effect = fxasm::ParseEffectSource(ReadText(path), path);
  std::map<std::string, std::vector<uint32_t>> bytecode;
  for (const fxasm::Shader& shader : effect.shaders) {
    bytecode[shader.name] = fxasm::AddConstantTable(TinyShader(shader.isPixelShader), shader, effect);
  }
  if (parsed) *parsed = effect;
  return fxasm::WriteEffectBinary(effect, bytecode);
}

const char* const kSources[] = {
    VQ_SOURCE_DIR "/resources/effects/97-layer-blend.fx",
    VQ_SOURCE_DIR "/tests/tools/fxasm/transform-test.fx",
    VQ_SOURCE_DIR "/tests/tools/fxasm/pixel-parameters-test.fx",
};

TEST(EffectWriter, SourcesOfTheTreeMakeBinariesThatPassTheCheck) {
  for (const char* path : kSources) {
    SCOPED_TRACE(path);
    fxasm::EffectSource effect;
    const std::vector<uint8_t> binary = Build(path, &effect);
    std::string problem;
    EXPECT_TRUE(fxasm::ValidateEffectBinary(binary.data(), binary.size(), problem)) << problem;
    uint32_t parameters, techniques;
    std::memcpy(&parameters, &binary[8 + binary[4] + (binary[5] << 8)], 4);
    std::memcpy(&techniques, &binary[12 + binary[4] + (binary[5] << 8)], 4);
    EXPECT_EQ(parameters, effect.parameters.size());
    EXPECT_EQ(techniques, effect.techniques.size());
  }
}

TEST(EffectWriter, EveryTruncationFailsTheCheck) {
  const std::vector<uint8_t> binary = Build(kSources[0]);
  for (size_t size = 0; size < binary.size(); ++size) {
    std::vector<uint8_t> cut(binary.begin(), binary.begin() + static_cast<std::ptrdiff_t>(size));
    std::string problem;
    EXPECT_FALSE(fxasm::ValidateEffectBinary(cut.data(), cut.size(), problem)) << "cut at " << size;
  }
}

// Reads one constant-table entry as the effect runtime does (offsets from the table start).
struct CtabEntry {
  std::string name;
  uint16_t registerSet, registerIndex, registerCount, typeClass, type, rows, columns;
};

std::vector<CtabEntry> ReadConstantTable(const std::vector<uint32_t>& code) {
  EXPECT_EQ(code[1] & 0xFFFF, 0xFFFEu) << "no comment after the version token";
  EXPECT_EQ(code[2], fxasm::kFourccCtab);
  const uint8_t* table = reinterpret_cast<const uint8_t*>(&code[3]);
  auto dword = [&](size_t at) { uint32_t v; std::memcpy(&v, table + at, 4); return v; };
  auto word = [&](size_t at) { uint16_t v; std::memcpy(&v, table + at, 2); return v; };
  EXPECT_EQ(dword(0), 28u);
  EXPECT_EQ(dword(8), code[0]);  // the shader's version
  std::vector<CtabEntry> entries;
  for (uint32_t i = 0; i < dword(12); ++i) {
    const size_t at = dword(16) + 20 * i;
    const size_t typeInfo = dword(at + 12);
    entries.push_back({reinterpret_cast<const char*>(table + dword(at)), word(at + 4), word(at + 6), word(at + 8),
                       word(typeInfo), word(typeInfo + 2), word(typeInfo + 4), word(typeInfo + 6)});
    EXPECT_EQ(word(typeInfo + 8), 1u);  // elements
  }
  return entries;
}

TEST(ConstantTable, EntriesNameTheBoundParametersAndRegisters) {
  struct Expected {
    const char* source;
    const char* shader;
    std::vector<CtabEntry> entries;
  };
  const Expected cases[] = {
      // A matrix parameter is read as columns (MATRIX_COLUMNS), so that m4x4 computes p x M.
      {kSources[1], "TransformVS", {{"WorldViewProj", 2, 4, 4, 3, 3, 4, 4}}},
      {kSources[2], "ParametersPS",
       {{"Gain", 2, 2, 1, 0, 3, 1, 1}, {"Tint", 2, 5, 1, 1, 3, 1, 4}, {"SampA", 3, 3, 1, 4, 10, 1, 1},
        {"SampB", 3, 1, 1, 4, 12, 1, 1}}},
  };
  for (const Expected& c : cases) {
    SCOPED_TRACE(c.shader);
    const fxasm::EffectSource effect = fxasm::ParseEffectSource(ReadText(c.source), c.source);
    const fxasm::Shader* shader = effect.FindShader(c.shader);
    ASSERT_NE(shader, nullptr);
    const std::vector<uint32_t> code = fxasm::AddConstantTable(TinyShader(shader->isPixelShader), *shader, effect);
    EXPECT_EQ(code.back(), fxasm::kShaderEndToken);
    const std::vector<CtabEntry> entries = ReadConstantTable(code);
    ASSERT_EQ(entries.size(), c.entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
      const CtabEntry& got = entries[i];
      const CtabEntry& want = c.entries[i];
      EXPECT_EQ(got.name, want.name);
      EXPECT_EQ(got.registerSet, want.registerSet) << want.name;
      EXPECT_EQ(got.registerIndex, want.registerIndex) << want.name;
      EXPECT_EQ(got.registerCount, want.registerCount) << want.name;
      EXPECT_EQ(got.typeClass, want.typeClass) << want.name;
      EXPECT_EQ(got.type, want.type) << want.name;
      EXPECT_EQ(got.rows, want.rows) << want.name;
      EXPECT_EQ(got.columns, want.columns) << want.name;
    }
  }
}

TEST(ConstantTable, RefusesBytecodeOfTheOtherShaderKind) {
  const fxasm::EffectSource effect = fxasm::ParseEffectSource(ReadText(kSources[1]), kSources[1]);
  const fxasm::Shader* shader = effect.FindShader("ColorPS");
  ASSERT_NE(shader, nullptr);
  EXPECT_THROW(fxasm::AddConstantTable(TinyShader(false), *shader, effect), fxasm::SourceError);
}

}  // namespace
