#include "tests/effects/effect_test_device.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace effect_test {

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TestDevice::TestDevice() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"EffectTestWindow";
  RegisterClassW(&windowClass);
  m_Window = CreateWindowW(L"EffectTestWindow", L"effect test", WS_OVERLAPPEDWINDOW, 0, 0, 128, 128, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
  m_D3D.Attach(Direct3DCreate9(D3D_SDK_VERSION));
  if (!m_Window || !m_D3D) return;
  m_Present.Windowed = TRUE;
  m_Present.SwapEffect = D3DSWAPEFFECT_DISCARD;
  m_Present.BackBufferFormat = D3DFMT_UNKNOWN;
  m_Present.BackBufferWidth = 64;
  m_Present.BackBufferHeight = 64;
  m_Present.hDeviceWindow = m_Window;
  m_D3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_Window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &m_Present,
                      m_Device.Receive());
}

TestDevice::~TestDevice() {
  m_Device.Reset();
  m_D3D.Reset();
  if (m_Window) DestroyWindow(m_Window);
}

DS_ComHolder<IDirect3DTexture9> TestDevice::MakeTexture(const Pixels& pixels) {
  DS_ComHolder<IDirect3DTexture9> texture;
  if (FAILED(m_Device->CreateTexture(pixels.width, pixels.height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                     texture.Receive(), nullptr))) {
    return {};
  }
  D3DLOCKED_RECT locked;
  if (FAILED(texture->LockRect(0, &locked, nullptr, 0))) return {};
  for (uint32_t y = 0; y < pixels.height; ++y) {
    std::memcpy(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch, &pixels.argb[y * pixels.width],
                pixels.width * 4);
  }
  texture->UnlockRect(0);
  return texture;
}

RenderTarget TestDevice::MakeRenderTarget(uint32_t width, uint32_t height) {
  RenderTarget target;
  if (SUCCEEDED(m_Device->CreateTexture(width, height, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                        target.texture.Receive(), nullptr))) {
    target.texture->GetSurfaceLevel(0, target.surface.Receive());
  }
  return target;
}

void TestDevice::Bind(const RenderTarget& target) {
  m_Device->SetRenderTarget(0, target.surface.Get());
  D3DSURFACE_DESC desc;
  target.surface->GetDesc(&desc);
  D3DVIEWPORT9 viewport{0, 0, desc.Width, desc.Height, 0.0f, 1.0f};
  m_Device->SetViewport(&viewport);
}

Pixels TestDevice::ReadBack(const RenderTarget& target) {
  Pixels pixels;
  D3DSURFACE_DESC desc;
  target.surface->GetDesc(&desc);
  DS_ComHolder<IDirect3DSurface9> memory;
  if (FAILED(m_Device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM,
                                                   memory.Receive(), nullptr)) ||
      FAILED(m_Device->GetRenderTargetData(target.surface.Get(), memory.Get()))) {
    return pixels;
  }
  D3DLOCKED_RECT locked;
  if (FAILED(memory->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return pixels;
  pixels.width = desc.Width;
  pixels.height = desc.Height;
  pixels.argb.resize(desc.Width * desc.Height);
  for (uint32_t y = 0; y < desc.Height; ++y) {
    std::memcpy(&pixels.argb[y * desc.Width], static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch,
                desc.Width * 4);
  }
  memory->UnlockRect();
  return pixels;
}

HRESULT TestDevice::CreateEffect(const std::vector<uint8_t>& bytes, DS_ComHolder<ID3DXEffect>& effect) {
  return D3DXCreateEffect(m_Device.Get(), bytes.data(), static_cast<UINT>(bytes.size()), nullptr, nullptr, 0, nullptr,
                          effect.Receive(), nullptr);
}

void TestDevice::DrawScreenQuad(ID3DXEffect* effect, uint32_t width, uint32_t height, uint32_t diffuse, float u0,
                                float u1) {
  struct Vertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
    float u, v;
  };
  const float w = static_cast<float>(width) - 0.5f, h = static_cast<float>(height) - 0.5f;
  const Vertex quad[4] = {
      {-0.5f, h, 0.0f, 1.0f, diffuse, u0, 1.0f},
      {-0.5f, -0.5f, 0.0f, 1.0f, diffuse, u0, 0.0f},
      {w, h, 0.0f, 1.0f, diffuse, u1, 1.0f},
      {w, -0.5f, 0.0f, 1.0f, diffuse, u1, 0.0f},
  };
  m_Device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
  m_Device->BeginScene();
  UINT passes = 0;
  effect->Begin(&passes, 0);
  for (UINT p = 0; p < passes; ++p) {
    effect->BeginPass(p);
    m_Device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
    effect->EndPass();
  }
  effect->End();
  m_Device->EndScene();
}

HRESULT TestDevice::Reset() {
  D3DPRESENT_PARAMETERS present = m_Present;
  return m_Device->Reset(&present);
}

}  // namespace effect_test
