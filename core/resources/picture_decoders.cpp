#include "core/resources/picture_decoders.h"

#include <cstring>
#include <vector>

#include "core/render/device_globals.h"
#include "core/resources/dds_layout.h"

namespace {

// Files larger than this are not read into memory for the bump-format reader.
constexpr DWORD kBumpDdsFileLimit = 64u << 20;

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
    // This D3DX refuses the bump formats; a well-formed file of one is read here instead.
    if (SUCCEEDED(CreateTextureFromBumpDds(bytes, size, mipLevels != 1, info, texture))) return S_OK;
    return hr;
  }
  if (!made) return E_FAIL;
  texture.Attach(made);
  return S_OK;
}

}  // namespace

HRESULT CreateTextureFromBumpDds(const void* bytes, size_t size, bool fullChain, D3DXIMAGE_INFO* info,
                                 DS_Texture& texture) {
  texture.Reset();
  DS_DdsLayout layout;
  if (!g_Device || !ParseDdsLayout(bytes, size, layout)) return E_FAIL;
  const UINT levels = fullChain ? static_cast<UINT>(layout.levels.size()) : 1;
  const D3DFORMAT format = static_cast<D3DFORMAT>(layout.format);
  DS_Texture made;
  HRESULT hr = g_Device->CreateTexture(layout.width, layout.height, levels, 0, format, D3DPOOL_MANAGED,
                                       made.Receive(), nullptr);
  if (FAILED(hr)) return hr;
  if (!made) return E_FAIL;
  const auto* file = static_cast<const std::uint8_t*>(bytes);
  for (UINT i = 0; i < levels; ++i) {
    const DS_DdsLevel& level = layout.levels[i];
    D3DLOCKED_RECT locked;
    if (FAILED(hr = made->LockRect(i, &locked, nullptr, 0))) return hr;
    for (std::uint32_t y = 0; y < level.height; ++y)
      std::memcpy(static_cast<std::uint8_t*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch,
                  file + level.offset + static_cast<size_t>(y) * level.rowBytes, level.rowBytes);
    made->UnlockRect(i);
  }
  if (info) {
    *info = D3DXIMAGE_INFO{};
    info->Width = layout.width;
    info->Height = layout.height;
    info->Depth = 1;
    info->MipLevels = static_cast<UINT>(layout.levels.size());
    info->Format = format;
    info->ResourceType = D3DRTYPE_TEXTURE;
    info->ImageFileFormat = D3DXIFF_DDS;
  }
  texture = made;
  return S_OK;
}

HRESULT CreateTextureFromBumpDdsFile(const wchar_t* path, D3DXIMAGE_INFO* info, DS_Texture& texture) {
  texture.Reset();
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return E_FAIL;
  std::vector<std::uint8_t> bytes;
  LARGE_INTEGER length{};
  DWORD read = 0;
  const bool fits = GetFileSizeEx(file, &length) && length.QuadPart > 0 && length.QuadPart <= kBumpDdsFileLimit;
  if (fits) bytes.resize(static_cast<size_t>(length.QuadPart));
  const bool ok = fits && ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                  read == bytes.size();
  CloseHandle(file);
  if (!ok) return E_FAIL;
  return CreateTextureFromBumpDds(bytes.data(), bytes.size(), false, info, texture);
}

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
