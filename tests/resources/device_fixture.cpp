#include "tests/resources/device_fixture.h"

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
  static const DWORD kWords[] = {
      0xFEFF0901, 0x00000090, 0x00000000, 0x00000003, 0x00000001, 0x00000030, 0x00000000, 0x00000000,
      0x00000004, 0x00000001, 0x3F800000, 0x00000000, 0x00000000, 0x3F800000, 0x00000006, 0x6F6C6F43,
      0x00000072, 0x00000003, 0x00003050, 0x00000003, 0x00003054, 0x00000001, 0x0000000F, 0x00000004,
      0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0x00000003,
      0x00000001, 0x00000000, 0x00000000, 0x00000000, 0x00000004, 0x00000001, 0x00000001, 0x00000001,
      0x00000002, 0x00000002, 0x00000004, 0x00000020, 0x00000000, 0x00000000, 0x00000044, 0x00000000,
      0x00000001, 0x0000003C, 0x00000000, 0x00000002, 0x00000093, 0x00000000, 0x00000050, 0x0000004C,
      0x0000009C, 0x00000000, 0x00000074, 0x00000064, 0x00000000, 0x00000002, 0x00000000, 0x00000000,
      0xFFFFFFFF, 0x00000000, 0x00000000, 0x00000014, 0xFFFF0200, 0x02000001, 0x800F0800, 0xA0E40000,
      0x0000FFFF, 0x00000000, 0x00000000, 0xFFFFFFFF, 0x00000001, 0x00000001, 0x00000006, 0x6F6C6F43,
      0x00000072,
  };
  const auto* bytes = reinterpret_cast<const uint8_t*>(kWords);
  return std::vector<uint8_t>(bytes, bytes + sizeof(kWords));
}

std::vector<uint8_t> TextureEffectBinary() {
  // The tiny effect with a second parameter, "Tex" (texture, object id 2), appended to its pool.
  const std::vector<uint8_t> tiny = TinyEffectBinary();
  std::vector<DWORD> words(tiny.size() / 4);
  std::memcpy(words.data(), tiny.data(), tiny.size());
  std::vector<DWORD> out(words.begin(), words.begin() + 38);  // header and pool
  out[1] = 0xB0;                                               // the pool grows by 8 words
  const DWORD texture[] = {5, 4, 0xA8, 0, 0,  // typedef at p+90: TEXTURE, OBJECT, name at p+A8
                           2,                 // value at p+A4: object id 2
                           4, 0x00786554};    // name at p+A8: "Tex"
  out.insert(out.end(), std::begin(texture), std::end(texture));
  const DWORD counts[] = {2, 1, 3, 3};  // parameters, techniques, shaders, objects
  out.insert(out.end(), std::begin(counts), std::end(counts));
  out.insert(out.end(), words.begin() + 42, words.begin() + 46);  // parameter "Color"
  const DWORD parameter[] = {0x90, 0xA4, 0, 0};
  out.insert(out.end(), std::begin(parameter), std::end(parameter));
  out.insert(out.end(), words.begin() + 46, words.end());  // technique, pass, resources
  const auto* bytes = reinterpret_cast<const uint8_t*>(out.data());
  return std::vector<uint8_t>(bytes, bytes + out.size() * 4);
}
