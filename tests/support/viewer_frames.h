// What the scene viewer's tests share: the Windows form of a path the test was given on the host,
// and the pixels of a frame the viewer wrote.
#pragma once

#include <d3dx9.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/com/ds_com_holder.h"

// "/a/b" as "Z:\a\b" (Wine's drive of the host's root); a relative path keeps its form.
inline std::wstring WindowsPath(const char* path) {
  std::wstring w;
  for (const char* p = path; *p; ++p) w += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  if (!w.empty() && w[0] == L'\\') w = L"Z:" + w;
  return w;
}

// The frame the viewer wrote for time t into `dir` (its name holds the milliseconds).
inline std::wstring ViewerFramePath(const std::wstring& dir, float t) {
  wchar_t name[32];
  swprintf(name, 32, L"\\frame-%06d.png", static_cast<int>(t * 1000.0f + 0.5f));
  return dir + name;
}

// The width x height pixels (0xAARRGGBB as read, row by row) of a PNG file, loaded through a
// system-memory surface of `device`; empty when the file is missing or of another size.
inline std::vector<std::uint32_t> ReadFramePixels(IDirect3DDevice9* device, const std::wstring& path, int width,
                                                  int height) {
  std::vector<std::uint32_t> pixels;
  DS_ComHolder<IDirect3DSurface9> surface;
  D3DLOCKED_RECT locked;
  if (FAILED(device->CreateOffscreenPlainSurface(width, height, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, surface.Receive(),
                                                 nullptr)) ||
      FAILED(D3DXLoadSurfaceFromFileW(surface.Get(), nullptr, nullptr, path.c_str(), nullptr, D3DX_FILTER_NONE, 0,
                                      nullptr)) ||
      FAILED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY)))
    return pixels;
  pixels.reserve(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(locked.pBits) +
                                                             y * locked.Pitch);
    pixels.insert(pixels.end(), row, row + width);
  }
  surface->UnlockRect();
  return pixels;
}
