#include "core/effects/checked_effect.h"

#include <string>

#include "core/effects/effect_validator.h"

namespace fxasm {

HRESULT CreateCheckedEffect(IDirect3DDevice9* device, const void* bytes, size_t size, ID3DXEffect** effect) {
  if (!effect) return D3DERR_INVALIDCALL;
  *effect = nullptr;
  std::string problem;
  if (!bytes || size > 0x7FFFFFFF || !ValidateEffectBinary(static_cast<const uint8_t*>(bytes), size, problem)) {
    return D3DXERR_INVALIDDATA;
  }
  return D3DXCreateEffect(device, bytes, static_cast<UINT>(size), nullptr, nullptr, 0, nullptr, effect, nullptr);
}

}  // namespace fxasm
