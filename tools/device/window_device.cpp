#include "tools/device/window_device.h"

#include <cstdlib>

#include "core/layer/layer_device_states.h"
#include "core/render/device_globals.h"

namespace {
LRESULT CALLBACK TestWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }
}  // namespace

HWND MakeDeviceWindow(int width, int height, const wchar_t* title, int x) {
  static bool registered = false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!registered) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"VqTestWindow";
    RegisterClassW(&wc);
    registered = true;
  }
  RECT r = {0, 0, width, height};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  HWND window = CreateWindowW(L"VqTestWindow", title, WS_OVERLAPPEDWINDOW, x, 0, r.right - r.left, r.bottom - r.top,
                              nullptr, nullptr, instance, nullptr);
  // Shown without taking the focus from whatever runs the tests.
  if (window) ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}

bool DS_WindowDevice::Open(int width, int height, const wchar_t* title, const DS_WindowDeviceOptions& options) {
  Close();
  m_Window = MakeDeviceWindow(width, height, title);
  if (!m_Window) return false;
  m_D3D.Attach(Direct3DCreate9(D3D_SDK_VERSION));
  if (!m_D3D) return false;
  m_Present = {};
  m_Present.BackBufferWidth = static_cast<UINT>(width);
  m_Present.BackBufferHeight = static_cast<UINT>(height);
  m_Present.BackBufferFormat = D3DFMT_X8R8G8B8;
  m_Present.BackBufferCount = 1;
  m_Present.SwapEffect = options.swapEffect;
  m_Present.hDeviceWindow = m_Window;
  m_Present.Windowed = TRUE;
  m_Present.EnableAutoDepthStencil = options.depthFormat != D3DFMT_UNKNOWN;
  m_Present.AutoDepthStencilFormat = options.depthFormat;
  m_Present.PresentationInterval = options.presentationInterval;
  if (FAILED(m_D3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_Window, options.behaviour, &m_Present,
                                 m_Device.Receive())))
    return false;
  MakeCurrent();
  SetDefaultStates();
  return true;
}

void DS_WindowDevice::Close() {
  if (m_Device && g_Device == m_Device.Get()) g_Device = nullptr;
  m_Device.Reset();
  m_D3D.Reset();
  if (m_Window) DestroyWindow(m_Window);
  m_Window = nullptr;
}

void DS_WindowDevice::MakeCurrent() {
  g_Device = m_Device.Get();
  m_Context.MakeCurrent();
}

void DS_WindowDevice::SetDefaultStates() const {
  // The layer's states go to g_Device: this device for the call, the current one kept.
  IDirect3DDevice9* const current = g_Device;
  g_Device = m_Device.Get();
  SetLayerDefaultStates();
  g_Device = current;
  // The layers leave blending to the device default (off after a reset); tests that enabled it
  // come back here to turn it off.
  m_Device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
}

bool DS_PixelReadback::Read(IDirect3DDevice9* device, IDirect3DSurface9* surface) {
  D3DSURFACE_DESC desc;
  if (!surface || FAILED(surface->GetDesc(&desc))) return false;
  DS_ComHolder<IDirect3DSurface9> copy;
  if (FAILED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM,
                                                 copy.Receive(), nullptr)))
    return false;
  if (FAILED(device->GetRenderTargetData(surface, copy.Get()))) return false;
  D3DLOCKED_RECT r;
  if (FAILED(copy->LockRect(&r, nullptr, D3DLOCK_READONLY))) return false;
  m_Width = static_cast<int>(desc.Width);
  m_Height = static_cast<int>(desc.Height);
  m_Pixels.resize(static_cast<size_t>(m_Width * m_Height));
  for (int y = 0; y < m_Height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(r.pBits) + y * r.Pitch);
    for (int x = 0; x < m_Width; ++x) m_Pixels[static_cast<size_t>(y * m_Width + x)] = row[x];
  }
  copy->UnlockRect();
  return true;
}

bool DS_PixelReadback::ReadBackBuffer(IDirect3DDevice9* device) {
  DS_ComHolder<IDirect3DSurface9> back;
  if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, back.Receive()))) return false;
  return Read(device, back.Get());
}

bool DS_PixelReadback::ReadTexture(IDirect3DDevice9* device, IDirect3DTexture9* texture) {
  DS_ComHolder<IDirect3DSurface9> level;
  if (!texture || FAILED(texture->GetSurfaceLevel(0, level.Receive()))) return false;
  return Read(device, level.Get());
}

bool SameColour(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(ca - cb) > tolerance) return false;
  }
  return true;
}

DS_ComHolder<IDirect3DTexture9> MakeSolidTexture(IDirect3DDevice9* device, std::uint32_t argb, int size) {
  return MakeTexture(device, size, size, [argb](int, int) { return argb; });
}

ULONG RefCount(IUnknown* object) {
  object->AddRef();
  return object->Release();
}
