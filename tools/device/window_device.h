// A window with its own windowed HAL device and render context, published as g_Device and the
// current render context, for the scene viewer, the benches and the device tests, and read-back helpers that probe single pixels of the back
// buffer or of a render target.
#pragma once

#include <d3d9.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "core/com/ds_com_holder.h"
#include "core/render/render_context.h"

// A visible top-level window whose client area is width x height, its left edge at `x`.
HWND MakeDeviceWindow(int width, int height, const wchar_t* title, int x = 0);

// The device parameters a caller may choose, e.g. a bench matching the framework's windowed
// output; the defaults suit the drawing tests (no wait for the display, software vertices).
struct DS_WindowDeviceOptions {
  D3DSWAPEFFECT swapEffect = D3DSWAPEFFECT_DISCARD;
  D3DFORMAT depthFormat = D3DFMT_D24S8;  // D3DFMT_UNKNOWN: no depth buffer
  UINT presentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  DWORD behaviour = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
};

class DS_WindowDevice {
 public:
  DS_WindowDevice() = default;
  DS_WindowDevice(const DS_WindowDevice&) = delete;
  DS_WindowDevice& operator=(const DS_WindowDevice&) = delete;
  ~DS_WindowDevice() { Close(); }

  // A width x height back buffer (X8R8G8B8) with the options' depth buffer; `title` names the
  // window. Makes the device current and sets the default states.
  bool Open(int width, int height, const wchar_t* title = L"render test", const DS_WindowDeviceOptions& options = {});
  void Close();

  IDirect3DDevice9* Device() const { return m_Device.Get(); }
  // The parameters the device was made with, for a Reset with the same ones.
  D3DPRESENT_PARAMETERS& PresentParameters() { return m_Present; }
  // Makes this device and its render context the current ones.
  void MakeCurrent();
  DS_RenderContext& Context() { return m_Context; }
  // The states every layer sets on reset (no depth, no lighting, linear mirrored sampling,
  // stage 0 showing the texture), with alpha blending off.
  void SetDefaultStates() const;

 private:
  HWND m_Window = nullptr;
  DS_ComHolder<IDirect3D9> m_D3D;
  DS_ComHolder<IDirect3DDevice9> m_Device;
  D3DPRESENT_PARAMETERS m_Present = {};
  DS_RenderContext m_Context;
};

// A copy of a render-target surface in system memory, to probe pixels of.
class DS_PixelReadback {
 public:
  bool Read(IDirect3DDevice9* device, IDirect3DSurface9* surface);
  bool ReadBackBuffer(IDirect3DDevice9* device);
  bool ReadTexture(IDirect3DDevice9* device, IDirect3DTexture9* texture);
  // The colour at (x, y) without its alpha; Argb with it.
  std::uint32_t At(int x, int y) const { return Argb(x, y) & 0x00FFFFFFu; }
  std::uint32_t Argb(int x, int y) const { return m_Pixels[static_cast<size_t>(y * m_Width + x)]; }
  int Width() const { return m_Width; }
  int Height() const { return m_Height; }

 private:
  int m_Width = 0, m_Height = 0;
  std::vector<std::uint32_t> m_Pixels;
};

// Whether two RGB colours agree within a small per-channel tolerance (filtering, rounding).
bool SameColour(std::uint32_t a, std::uint32_t b, int tolerance = 12);

// A managed A8R8G8B8 texture filled by fill(x, y) -> ARGB.
template <class Fill>
DS_ComHolder<IDirect3DTexture9> MakeTexture(IDirect3DDevice9* device, int w, int h, Fill fill) {
  DS_ComHolder<IDirect3DTexture9> t;
  if (FAILED(device->CreateTexture(w, h, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, t.Receive(), nullptr))) return t;
  D3DLOCKED_RECT r;
  if (SUCCEEDED(t->LockRect(0, &r, nullptr, 0))) {
    for (int y = 0; y < h; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(r.pBits) + y * r.Pitch);
      for (int x = 0; x < w; ++x) row[x] = fill(x, y);
    }
    t->UnlockRect(0);
  }
  return t;
}

DS_ComHolder<IDirect3DTexture9> MakeSolidTexture(IDirect3DDevice9* device, std::uint32_t argb, int size = 8);

// The reference count of a COM object, read by an AddRef and Release pair.
ULONG RefCount(IUnknown* object);
