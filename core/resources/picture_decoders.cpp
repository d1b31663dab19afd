#include "core/resources/picture_decoders.h"

#include "core/render/device_globals.h"

namespace {

HRESULT DecodeFromMemory(const void* bytes, uint32_t size, UINT mipLevels, DWORD filter, DWORD mipFilter,
                         D3DXIMAGE_INFO* info, DS_Texture& texture) {
  texture.Reset();
  if (!g_Device || !bytes || size == 0) return E_FAIL;
  IDirect3DTexture9* made = nullptr;
  const HRESULT hr = D3DXCreateTextureFromFileInMemoryEx(g_Device, bytes, size, D3DX_DEFAULT, D3DX_DEFAULT,
                                                         mipLevels, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, filter,
                                                         mipFilter, 0, info, nullptr, &made);
  if (FAILED(hr)) {
    if (made) made->Release();
    return hr;
  }
  if (!made) return E_FAIL;
  texture.Attach(made);
  return S_OK;
}

}  // namespace

bool FindModuleResource(HMODULE module, int id, const wchar_t* type, const void*& data, DWORD& size) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id & 0xFFFF), type);
  if (!found) return false;
  const DWORD length = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  const void* locked = loaded ? LockResource(loaded) : nullptr;
  if (!locked || length == 0) return false;
  data = locked;
  size = length;
  return true;
}

DS_TextureInfo LoadTextureInfoFromMemory(const void* bytes, uint32_t size) {
  DS_TextureInfo result;
  D3DXIMAGE_INFO info{};
  DS_Texture texture;
  if (SUCCEEDED(CreateTextureFromMemory(info, size, bytes, texture))) result.Assign(info.Width, info.Height, texture);
  return result;
}

HRESULT CreateTextureFromMemory(D3DXIMAGE_INFO& info, uint32_t size, const void* bytes, DS_Texture& texture) {
  D3DXIMAGE_INFO decoded{};
  const HRESULT hr = DecodeFromMemory(bytes, size, 1, D3DX_FILTER_TRIANGLE, D3DX_FILTER_NONE, &decoded, texture);
  if (SUCCEEDED(hr)) info = decoded;
  return hr;
}

HRESULT LoadModuleTextureResource(HMODULE module, int id, DS_Texture& texture, D3DXIMAGE_INFO& info) {
  texture.Reset();
  const void* data = nullptr;
  DWORD size = 0;
  if (!FindModuleResource(module, id, L"DDS", data, size)) return E_FAIL;
  const HRESULT hr = CreateTextureFromMemory(info, size, data, texture);
  return texture ? hr : (FAILED(hr) ? hr : E_FAIL);
}

HRESULT LoadResourceTexture(DS_Texture& texture, int id, bool fullChain) {
  texture.Reset();
  const void* data = nullptr;
  DWORD size = 0;
  if (!FindModuleResource(nullptr, id, L"DDS", data, size)) return E_FAIL;
  return DecodeFromMemory(data, size, fullChain ? D3DX_DEFAULT : 1, D3DX_FILTER_NONE,
                          fullChain ? D3DX_DEFAULT : D3DX_FILTER_NONE, nullptr, texture);
}

DS_MaskBounds MaskBoundsOfTexture(IDirect3DTexture9* texture) {
  D3DSURFACE_DESC desc{};
  if (!texture || !g_Device || texture->GetLevelCount() != 1 || FAILED(texture->GetLevelDesc(0, &desc))) return {};
  DS_ComHolder<IDirect3DSurface9> level, copy;
  if (FAILED(texture->GetSurfaceLevel(0, level.Receive())) ||
      FAILED(g_Device->CreateOffscreenPlainSurface(desc.Width, desc.Height, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                   copy.Receive(), nullptr)) ||
      FAILED(D3DXLoadSurfaceFromSurface(copy.Get(), nullptr, nullptr, level.Get(), nullptr, nullptr,
                                        D3DX_FILTER_NONE, 0)))
    return {};
  D3DLOCKED_RECT locked{};
  if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return {};
  // Alpha is the fourth byte of each little-endian A8R8G8B8 texel.
  const DS_MaskBounds bounds = MaskBoundsOfAlpha(static_cast<const uint8_t*>(locked.pBits) + 3, desc.Width,
                                                 desc.Height, static_cast<size_t>(locked.Pitch), 4);
  copy->UnlockRect();
  return bounds;
}
