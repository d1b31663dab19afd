#include "core/render/render_target_pair.h"

#include <d3dx9.h>

#include "core/render/device_globals.h"

bool DS_RenderTargetPair::Create(int w, int h) {
  width = w;
  height = h;
  current.Reset();
  textures[0].Reset();
  textures[1].Reset();
  if (!g_Device || w <= 0 || h <= 0) return false;
  for (Texture& t : textures) {
    if (FAILED(g_Device->CreateTexture(static_cast<UINT>(w), static_cast<UINT>(h), 1, D3DUSAGE_RENDERTARGET,
                                       D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, t.Receive(), nullptr)) ||
        !t) {
      textures[0].Reset();
      textures[1].Reset();
      return false;
    }
  }
  current = textures[index];
  return true;
}

bool DS_RenderTargetPair::CreateFrom(const Texture& source, int w, int h) {
  if (!Create(w, h)) return false;
  if (source) {
    DS_ComHolder<IDirect3DSurface9> from, to;
    if (SUCCEEDED(source->GetSurfaceLevel(0, from.Receive())) && SUCCEEDED(current->GetSurfaceLevel(0, to.Receive())))
      D3DXLoadSurfaceFromSurface(to.Get(), nullptr, nullptr, from.Get(), nullptr, nullptr, D3DX_FILTER_TRIANGLE, 0);
  }
  return true;
}

void DS_RenderTargetPair::Release() {
  current.Reset();
  textures[0].Reset();
  textures[1].Reset();
  savedRenderTarget.Reset();
  savedDepthStencil.Reset();
}

bool DS_RenderTargetPair::SetAsRenderTarget(const Texture& texture) {
  if (!texture || !g_Device) return false;
  // The level's reference is dropped at once: the device holds its own while the surface is
  // bound, and a reference kept here would keep the default-pool texture alive across Reset.
  DS_ComHolder<IDirect3DSurface9> level;
  if (FAILED(texture->GetSurfaceLevel(0, level.Receive())) || !level) return false;
  return SUCCEEDED(g_Device->SetRenderTarget(0, level.Get()));
}

const DS_RenderTargetPair::Texture* DS_RenderTargetPair::Swap() {
  const int next = (index + 1) % 2;
  if (!textures[next] || !SetAsRenderTarget(textures[next])) return nullptr;
  index = next;
  current = textures[index];
  g_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
  return &textures[(index + 1) % 2];
}

bool DS_RenderTargetPair::Begin(const Texture& texture) {
  if (!texture || !g_Device) return false;
  savedRenderTarget.Reset();
  savedDepthStencil.Reset();
  g_Device->GetRenderTarget(0, savedRenderTarget.Receive());
  // D3DERR_NOTFOUND without a depth buffer leaves the holder null, which End puts back.
  if (FAILED(g_Device->GetDepthStencilSurface(savedDepthStencil.Receive()))) savedDepthStencil.Reset();
  if (!SetAsRenderTarget(texture)) {
    savedRenderTarget.Reset();
    savedDepthStencil.Reset();
    return false;
  }
  g_Device->SetDepthStencilSurface(nullptr);
  return true;
}

void DS_RenderTargetPair::End() {
  if (!savedRenderTarget || !g_Device) return;
  g_Device->SetRenderTarget(0, savedRenderTarget.Get());
  g_Device->SetDepthStencilSurface(savedDepthStencil.Get());
  savedRenderTarget.Reset();
  savedDepthStencil.Reset();
}
