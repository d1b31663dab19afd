// A windowed HAL device in a window of its own, with the few helpers the effect tests need:
// textures from pixel values, render targets read back to memory, effects loaded from files.
#pragma once

#include <d3d9.h>
#include <d3dx9effect.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/render/ds_com_holder.h"

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

class TestDevice {
 public:
  TestDevice();
  ~TestDevice();
  TestDevice(const TestDevice&) = delete;
  TestDevice& operator=(const TestDevice&) = delete;

  IDirect3DDevice9* Device() const { return m_Device.Get(); }
  bool Ok() const { return static_cast<bool>(m_Device); }

  DS_ComHolder<IDirect3DTexture9> MakeTexture(const Pixels& pixels);
  RenderTarget MakeRenderTarget(uint32_t width, uint32_t height);
  Pixels ReadBack(const RenderTarget& target);
  // Makes `target` the device's render target with a viewport over all of it.
  void Bind(const RenderTarget& target);

  // D3DXCreateEffect on the bytes, flags 0 and no pool, as the resource manager calls it.
  HRESULT CreateEffect(const std::vector<uint8_t>& bytes, DS_ComHolder<ID3DXEffect>& effect);

  // Draws a pre-transformed quad over the viewport (pixel-exact, texture 0..1 unless given)
  // through every pass of the effect's current technique.
  void DrawScreenQuad(ID3DXEffect* effect, uint32_t width, uint32_t height, uint32_t diffuse = 0xFFFFFFFF,
                      float u0 = 0.0f, float u1 = 1.0f);

  // Releases and rebuilds the device's default-pool state: D3D9 Reset with the same parameters.
  HRESULT Reset();

 private:
  HWND m_Window = nullptr;
  DS_ComHolder<IDirect3D9> m_D3D;
  DS_ComHolder<IDirect3DDevice9> m_Device;
  D3DPRESENT_PARAMETERS m_Present{};
};

}  // namespace effect_test
