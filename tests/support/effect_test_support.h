// What the effect tests add to the test device: its options for them, textures from pixel values,
// render targets read back to memory, effects loaded from files and drawn over a screen quad.
#pragma once

#include <d3d9.h>
#include <d3dx9effect.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/com/ds_com_holder.h"
#include "tools/device/window_device.h"

namespace effect_test {

// Pixels are D3DCOLOR values 0xAARRGGBB.
struct Pixels {
  uint32_t width = 0, height = 0;
  std::vector<uint32_t> argb;
  uint32_t At(uint32_t x, uint32_t y) const { return argb[y * width + x]; }
};

// One channel of a D3DCOLOR: 0 blue, 1 green, 2 red, 3 alpha.
inline int Channel(uint32_t argb, int channel) { return static_cast<int>((argb >> (8 * channel)) & 0xFF); }

struct RenderTarget {
  DS_ComHolder<IDirect3DTexture9> texture;
  DS_ComHolder<IDirect3DSurface9> surface;
};

std::vector<uint8_t> ReadFileBytes(const std::string& path);

// The effect tests' device: a 64 x 64 back buffer, no depth buffer, hardware vertices.
bool OpenEffectTestDevice(DS_WindowDevice& device);

DS_ComHolder<IDirect3DTexture9> MakeTexture(IDirect3DDevice9* device, const Pixels& pixels);
RenderTarget MakeRenderTarget(IDirect3DDevice9* device, uint32_t width, uint32_t height);
// Empty when the target cannot be read.
Pixels ReadBack(IDirect3DDevice9* device, const RenderTarget& target);
// Makes `target` the device's render target with a viewport over all of it.
void Bind(IDirect3DDevice9* device, const RenderTarget& target);

// D3DXCreateEffect on the bytes, flags 0 and no pool, as the resource manager calls it.
HRESULT CreateEffect(IDirect3DDevice9* device, const std::vector<uint8_t>& bytes, DS_ComHolder<ID3DXEffect>& effect);

// Draws a pre-transformed quad over the viewport (pixel-exact, texture 0..1 unless given)
// through every pass of the effect's current technique.
void DrawScreenQuad(IDirect3DDevice9* device, ID3DXEffect* effect, uint32_t width, uint32_t height,
                    uint32_t diffuse = 0xFFFFFFFF, float u0 = 0.0f, float u1 = 1.0f);

}  // namespace effect_test
