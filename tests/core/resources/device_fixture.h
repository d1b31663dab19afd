// A Direct3D 9 device on a hidden window for the device tests, published in g_Device.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <cstdint>
#include <vector>

#include "core/render/device_globals.h"
#include "core/com/ds_com_holder.h"

class TestDevice {
 public:
  // Makes a windowed 64 x 64 device; `Ok()` tells whether it worked.
  TestDevice();
  ~TestDevice();
  bool Ok() const { return static_cast<bool>(device); }
  // Reset with the creation's present parameters.
  HRESULT Reset();

  DS_ComHolder<IDirect3D9> d3d;
  DS_ComHolder<IDirect3DDevice9> device;
  HWND window = nullptr;
  D3DPRESENT_PARAMETERS parameters{};
};

// Makes g_Device name `device` for the life of the object, then restores the previous one.
class CurrentDevice {
 public:
  explicit CurrentDevice(IDirect3DDevice9* device) : m_Previous(g_Device) { g_Device = device; }
  ~CurrentDevice() { g_Device = m_Previous; }

 private:
  IDirect3DDevice9* m_Previous;
};

// PNG bytes of a width x height picture filled with one colour, made through D3DX.
std::vector<uint8_t> MakePng(IDirect3DDevice9* device, unsigned width, unsigned height, D3DCOLOR colour);
// The 324-byte compiled effect: one float4 "Color", technique "T0", pass "P0", one pixel shader.
std::vector<uint8_t> TinyEffectBinary();
// The same with a texture parameter "Tex".
std::vector<uint8_t> TextureEffectBinary();
