#include "tests/core/resources/device_fixture.h"

#include <cstring>
#include <iterator>

TestDevice::TestDevice() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"vq_resource_tests";
  RegisterClassW(&wc);
  window = CreateWindowW(wc.lpszClassName, L"resources", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr, nullptr,
                         wc.hInstance, nullptr);
  d3d.Attach(Direct3DCreate9(D3D_SDK_VERSION));
  if (!window || !d3d) return;
  parameters.Windowed = TRUE;
  parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
  parameters.BackBufferWidth = 64;
  parameters.BackBufferHeight = 64;
  parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
  parameters.hDeviceWindow = window;
  d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters,
                    device.Receive());
}

TestDevice::~TestDevice() {
  device.Reset();
  d3d.Reset();
  if (window) DestroyWindow(window);
}

HRESULT TestDevice::Reset() {
  D3DPRESENT_PARAMETERS copy = parameters;
  return device->Reset(&copy);
}

std::vector<uint8_t> MakePng(IDirect3DDevice9* device, unsigned width, unsigned height, D3DCOLOR colour) {
  std::vector<uint8_t> bytes;
  DS_ComHolder<IDirect3DTexture9> texture;
  if (FAILED(D3DXCreateTexture(device, width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.Receive())))
    return bytes;
  D3DLOCKED_RECT locked{};
  if (FAILED(texture->LockRect(0, &locked, nullptr, 0))) return bytes;
  for (unsigned y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<D3DCOLOR*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
    for (unsigned x = 0; x < width; ++x) row[x] = colour;
  }
  texture->UnlockRect(0);
  DS_ComHolder<ID3DXBuffer> file;
  if (FAILED(D3DXSaveTextureToFileInMemory(file.Receive(), D3DXIFF_PNG, texture.Get(), nullptr))) return bytes;
  const auto* data = static_cast<const uint8_t*>(file->GetBufferPointer());
  bytes.assign(data, data + file->GetBufferSize());
  return bytes;
}

std::vector<uint8_t> TinyEffectBinary() {
  // "Color" (float4) and "Tex" (texture), built from color-effect.fx by the project's effect tool.
  const void* data = nullptr;
  DWORD size = 0;
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(260), MAKEINTRESOURCEW(10));
  if (found) {
    HGLOBAL loaded = LoadResource(nullptr, found);
    data = loaded ? LockResource(loaded) : nullptr;
    size = SizeofResource(nullptr, found);
  }
  const auto* bytes = static_cast<const uint8_t*>(data);
  return bytes ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>();
}

std::vector<uint8_t> TextureEffectBinary() { return TinyEffectBinary(); }
