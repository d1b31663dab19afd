// The fx_2_0 effect binary as both sides read it: the effect tool writes it and the program checks
// every binary against it before the effect loader sees it. Only layout and table values live
// here; the names a source may write (the state table's names, the parser) are the tool's.
#pragma once

#include <cstdint>

namespace fxasm {

constexpr uint32_t kEffectTag = 0xFEFF0901;
// A resource's technique (or element) index when the state it fills is not in a technique pass.
constexpr uint32_t kNoIndex = 0xFFFFFFFF;

// What a resource's data is: a shader's bytecode, or the name of the parameter a state refers to.
enum ResourceUsage : uint32_t { kUsageBytecode = 0, kUsageReference = 1 };

// D3DXPARAMETER_CLASS and D3DXPARAMETER_TYPE values, as the effect binary stores them.
enum ParameterClass : uint32_t {
  kClassScalar = 0, kClassVector = 1, kClassMatrixRows = 2, kClassMatrixColumns = 3, kClassObject = 4,
};
enum ParameterType : uint32_t {
  kTypeBool = 1, kTypeInt = 2, kTypeFloat = 3, kTypeTexture = 5, kTypeTexture2D = 7,
  kTypeSampler = 10, kTypeSampler2D = 12, kTypePixelShader = 15, kTypeVertexShader = 16,
};

inline bool IsTextureType(uint32_t type) { return type == kTypeTexture || type == kTypeTexture2D; }
inline bool IsSamplerType(uint32_t type) { return type == kTypeSampler || type == kTypeSampler2D; }

// The highest operation the loader's state table knows.
constexpr uint32_t kLastStateOperation = 0xB2;
constexpr uint32_t kOperationVertexShader = 0x92;
constexpr uint32_t kOperationPixelShader = 0x93;
constexpr uint32_t kOperationTexture = 0xA4;
constexpr uint32_t kOperationSampler = 0xB2;
constexpr uint32_t kFirstSamplerStateOperation = 0xA5;
constexpr uint32_t kLastSamplerStateOperation = 0xB1;
// The index fxc writes into every state of a sampler block.
constexpr uint32_t kSamplerBlockStateIndex = 0x100;

// Shader bytecode inside the resources. The version token's high word says the shader's kind; a
// comment token has this low word and its length in DWORDs in bits 16-30; the constant table is
// the comment that starts with the CTAB tag.
inline uint32_t ShaderVersionKind(bool pixel) { return pixel ? 0xFFFFu : 0xFFFEu; }
constexpr uint32_t kCommentOpcode = 0xFFFE;
constexpr uint32_t kMaxCommentLength = 0x7FFF;
constexpr uint32_t kFourccCtab = 0x42415443;  // "CTAB"
constexpr uint32_t kShaderEndToken = 0x0000FFFF;

}  // namespace fxasm
