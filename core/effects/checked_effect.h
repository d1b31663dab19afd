// D3DXCreateEffect behind the binary check. The effect loader takes offsets, counts and lengths
// on trust: under Wine a truncated binary loads and reads past its end, and a bad object id or
// offset makes it read or write out of bounds. Damaged bytes are therefore refused first.
#pragma once

#include <d3dx9effect.h>

#include <cstddef>

namespace fxasm {

// As D3DXCreateEffect(device, bytes, size, no macros, no include, flags 0, no pool, effect, no
// errors); D3DXERR_INVALIDDATA with *effect null when the binary fails ValidateEffectBinary.
HRESULT CreateCheckedEffect(IDirect3DDevice9* device, const void* bytes, size_t size, ID3DXEffect** effect);

}  // namespace fxasm
