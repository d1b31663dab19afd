#include "tools/fxasm/state_table.h"

#include <cctype>
#include <cstring>

namespace fxasm {
namespace {

bool EqualNoCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

using P = StatePlace;
using V = StateValueType;

// The subset of the 0x00..0xB2 table that effects of this project use; the numbers are the
// loader's table positions, not D3DRS/D3DTSS/D3DSAMP values.
const StateInfo kStates[] = {
    {"ZEnable", 0x00, P::Render, V::Int, "ZBuffer"},
    {"FillMode", 0x01, P::Render, V::Int, "Fill"},
    {"ShadeMode", 0x02, P::Render, V::Int, "Shade"},
    {"ZWriteEnable", 0x03, P::Render, V::Int, "Bool"},
    {"AlphaTestEnable", 0x04, P::Render, V::Int, "Bool"},
    {"LastPixel", 0x05, P::Render, V::Int, "Bool"},
    {"SrcBlend", 0x06, P::Render, V::Int, "Blend"},
    {"DestBlend", 0x07, P::Render, V::Int, "Blend"},
    {"CullMode", 0x08, P::Render, V::Int, "Cull"},
    {"ZFunc", 0x09, P::Render, V::Int, "Cmp"},
    {"AlphaRef", 0x0A, P::Render, V::Int, nullptr},
    {"AlphaFunc", 0x0B, P::Render, V::Int, "Cmp"},
    {"DitherEnable", 0x0C, P::Render, V::Int, "Bool"},
    {"AlphaBlendEnable", 0x0D, P::Render, V::Int, "Bool"},
    {"FogEnable", 0x0E, P::Render, V::Int, "Bool"},
    {"SpecularEnable", 0x0F, P::Render, V::Int, "Bool"},
    {"StencilEnable", 0x16, P::Render, V::Int, "Bool"},
    {"TextureFactor", 0x1E, P::Render, V::Int, nullptr},
    {"Lighting", 0x30, P::Render, V::Int, "Bool"},
    {"ColorWriteEnable", 0x49, P::Render, V::Int, "ColorMask"},
    {"BlendOp", 0x4B, P::Render, V::Int, "BlendOp"},
    {"ScissorTestEnable", 0x4E, P::Render, V::Int, "Bool"},
    {"BlendFactor", 0x60, P::Render, V::Int, nullptr},
    {"SeparateAlphaBlendEnable", 0x63, P::Render, V::Int, "Bool"},
    {"SrcBlendAlpha", 0x64, P::Render, V::Int, "Blend"},
    {"DestBlendAlpha", 0x65, P::Render, V::Int, "Blend"},
    {"BlendOpAlpha", 0x66, P::Render, V::Int, "BlendOp"},
    {"ColorOp", 0x67, P::Stage, V::Int, "TextureOp"},
    {"ColorArg0", 0x68, P::Stage, V::Int, "TextureArg"},
    {"ColorArg1", 0x69, P::Stage, V::Int, "TextureArg"},
    {"ColorArg2", 0x6A, P::Stage, V::Int, "TextureArg"},
    {"AlphaOp", 0x6B, P::Stage, V::Int, "TextureOp"},
    {"AlphaArg0", 0x6C, P::Stage, V::Int, "TextureArg"},
    {"AlphaArg1", 0x6D, P::Stage, V::Int, "TextureArg"},
    {"AlphaArg2", 0x6E, P::Stage, V::Int, "TextureArg"},
    {"ResultArg", 0x6F, P::Stage, V::Int, "TextureArg"},
    {"BumpEnvMat00", 0x70, P::Stage, V::Float, nullptr},
    {"BumpEnvMat01", 0x71, P::Stage, V::Float, nullptr},
    {"BumpEnvMat10", 0x72, P::Stage, V::Float, nullptr},
    {"BumpEnvMat11", 0x73, P::Stage, V::Float, nullptr},
    {"TexCoordIndex", 0x74, P::Stage, V::Int, nullptr},
    {"BumpEnvLScale", 0x75, P::Stage, V::Float, nullptr},
    {"BumpEnvLOffset", 0x76, P::Stage, V::Float, nullptr},
    {"TextureTransformFlags", 0x77, P::Stage, V::Int, nullptr},
    {"VertexShader", kOperationVertexShader, P::Shader, V::Shader, nullptr},
    {"PixelShader", kOperationPixelShader, P::Shader, V::Shader, nullptr},
    {"Texture", kOperationTexture, P::Texture, V::Texture, nullptr},
    {"AddressU", 0xA5, P::SamplerState, V::Int, "Address"},
    {"AddressV", 0xA6, P::SamplerState, V::Int, "Address"},
    {"AddressW", 0xA7, P::SamplerState, V::Int, "Address"},
    {"BorderColor", 0xA8, P::SamplerState, V::Int, nullptr},
    {"MagFilter", 0xA9, P::SamplerState, V::Int, "Filter"},
    {"MinFilter", 0xAA, P::SamplerState, V::Int, "Filter"},
    {"MipFilter", 0xAB, P::SamplerState, V::Int, "Filter"},
    {"MipMapLodBias", 0xAC, P::SamplerState, V::Float, nullptr},
    {"MaxMipLevel", 0xAD, P::SamplerState, V::Int, nullptr},
    {"MaxAnisotropy", 0xAE, P::SamplerState, V::Int, nullptr},
    {"SRGBTexture", 0xAF, P::SamplerState, V::Int, "Bool"},
    {"Sampler", kOperationSampler, P::Sampler, V::Sampler, nullptr},
};

struct EnumValue {
  const char* set;
  const char* name;
  uint32_t value;
};

const EnumValue kEnumValues[] = {
    {"Bool", "FALSE", 0}, {"Bool", "TRUE", 1},
    {"ZBuffer", "FALSE", 0}, {"ZBuffer", "TRUE", 1}, {"ZBuffer", "USEW", 2},
    {"Fill", "POINT", 1}, {"Fill", "WIREFRAME", 2}, {"Fill", "SOLID", 3},
    {"Shade", "FLAT", 1}, {"Shade", "GOURAUD", 2},
    {"Blend", "ZERO", 1}, {"Blend", "ONE", 2}, {"Blend", "SRCCOLOR", 3}, {"Blend", "INVSRCCOLOR", 4},
    {"Blend", "SRCALPHA", 5}, {"Blend", "INVSRCALPHA", 6}, {"Blend", "DESTALPHA", 7},
    {"Blend", "INVDESTALPHA", 8}, {"Blend", "DESTCOLOR", 9}, {"Blend", "INVDESTCOLOR", 10},
    {"Blend", "SRCALPHASAT", 11}, {"Blend", "BLENDFACTOR", 14}, {"Blend", "INVBLENDFACTOR", 15},
    {"Cull", "NONE", 1}, {"Cull", "CW", 2}, {"Cull", "CCW", 3},
    {"Cmp", "NEVER", 1}, {"Cmp", "LESS", 2}, {"Cmp", "EQUAL", 3}, {"Cmp", "LESSEQUAL", 4},
    {"Cmp", "GREATER", 5}, {"Cmp", "NOTEQUAL", 6}, {"Cmp", "GREATEREQUAL", 7}, {"Cmp", "ALWAYS", 8},
    {"BlendOp", "ADD", 1}, {"BlendOp", "SUBTRACT", 2}, {"BlendOp", "REVSUBTRACT", 3},
    {"BlendOp", "MIN", 4}, {"BlendOp", "MAX", 5},
    {"ColorMask", "RED", 1}, {"ColorMask", "GREEN", 2}, {"ColorMask", "BLUE", 4}, {"ColorMask", "ALPHA", 8},
    {"TextureOp", "DISABLE", 1}, {"TextureOp", "SELECTARG1", 2}, {"TextureOp", "SELECTARG2", 3},
    {"TextureOp", "MODULATE", 4}, {"TextureOp", "MODULATE2X", 5}, {"TextureOp", "MODULATE4X", 6},
    {"TextureOp", "ADD", 7}, {"TextureOp", "ADDSIGNED", 8}, {"TextureOp", "ADDSIGNED2X", 9},
    {"TextureOp", "SUBTRACT", 10}, {"TextureOp", "ADDSMOOTH", 11}, {"TextureOp", "BLENDDIFFUSEALPHA", 12},
    {"TextureOp", "BLENDTEXTUREALPHA", 13}, {"TextureOp", "BLENDFACTORALPHA", 14},
    {"TextureOp", "BLENDTEXTUREALPHAPM", 15}, {"TextureOp", "BLENDCURRENTALPHA", 16},
    {"TextureOp", "PREMODULATE", 17}, {"TextureOp", "MODULATEALPHA_ADDCOLOR", 18},
    {"TextureOp", "MODULATECOLOR_ADDALPHA", 19}, {"TextureOp", "MODULATEINVALPHA_ADDCOLOR", 20},
    {"TextureOp", "MODULATEINVCOLOR_ADDALPHA", 21}, {"TextureOp", "BUMPENVMAP", 22},
    {"TextureOp", "BUMPENVMAPLUMINANCE", 23}, {"TextureOp", "DOTPRODUCT3", 24},
    {"TextureOp", "MULTIPLYADD", 25}, {"TextureOp", "LERP", 26},
    {"TextureArg", "DIFFUSE", 0}, {"TextureArg", "CURRENT", 1}, {"TextureArg", "TEXTURE", 2},
    {"TextureArg", "TFACTOR", 3}, {"TextureArg", "SPECULAR", 4}, {"TextureArg", "TEMP", 5},
    {"TextureArg", "CONSTANT", 6}, {"TextureArg", "COMPLEMENT", 0x10}, {"TextureArg", "ALPHAREPLICATE", 0x20},
    {"Address", "WRAP", 1}, {"Address", "MIRROR", 2}, {"Address", "CLAMP", 3}, {"Address", "BORDER", 4},
    {"Address", "MIRRORONCE", 5},
    {"Filter", "NONE", 0}, {"Filter", "POINT", 1}, {"Filter", "LINEAR", 2}, {"Filter", "ANISOTROPIC", 3},
};

}  // namespace

const StateInfo* FindState(const std::string& name) {
  for (const StateInfo& state : kStates) {
    if (EqualNoCase(name, state.name)) return &state;
  }
  return nullptr;
}

bool FindEnumValue(const char* enumSet, const std::string& name, uint32_t& value) {
  if (!enumSet) return false;
  for (const EnumValue& entry : kEnumValues) {
    if (std::strcmp(entry.set, enumSet) == 0 && EqualNoCase(name, entry.name)) {
      value = entry.value;
      return true;
    }
  }
  return false;
}

}  // namespace fxasm
