#include "tests/support/effect_test_support.h"

#include <fstream>
#include <iterator>

namespace effect_test {

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool OpenEffectTestDevice(DS_WindowDevice& device) {
  DS_WindowDeviceOptions options;
  options.depthFormat = D3DFMT_UNKNOWN;
  options.behaviour = D3DCREATE_HARDWARE_VERTEXPROCESSING;
  return device.Open(64, 64, L"effect test", options);
}

DS_ComHolder<IDirect3DTexture9> MakeTexture(IDirect3DDevice9* device, const Pixels& pixels) {
  auto at = [&pixels](int x, int y) { return pixels.At(static_cast<uint32_t>(x), static_cast<uint32_t>(y)); };
  return ::MakeTexture(device, static_cast<int>(pixels.width), static_cast<int>(pixels.height), at);
}

RenderTarget MakeRenderTarget(IDirect3DDevice9* device, uint32_t width, uint32_t height) {
  RenderTarget target;
  if (SUCCEEDED(device->CreateTexture(width, height, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                      target.texture.Receive(), nullptr))) {
    target.texture->GetSurfaceLevel(0, target.surface.Receive());
  }
  return target;
}

void Bind(IDirect3DDevice9* device, const RenderTarget& target) {
  device->SetRenderTarget(0, target.surface.Get());
  D3DSURFACE_DESC desc;
  target.surface->GetDesc(&desc);
  D3DVIEWPORT9 viewport{0, 0, desc.Width, desc.Height, 0.0f, 1.0f};
  device->SetViewport(&viewport);
}

Pixels ReadBack(IDirect3DDevice9* device, const RenderTarget& target) {
  Pixels pixels;
  DS_PixelReadback readback;
  if (!readback.Read(device, target.surface.Get())) return pixels;
  pixels.width = static_cast<uint32_t>(readback.Width());
  pixels.height = static_cast<uint32_t>(readback.Height());
  pixels.argb.reserve(pixels.width * pixels.height);
  for (int y = 0; y < readback.Height(); ++y) {
    for (int x = 0; x < readback.Width(); ++x) pixels.argb.push_back(readback.Argb(x, y));
  }
  return pixels;
}

HRESULT CreateEffect(IDirect3DDevice9* device, const std::vector<uint8_t>& bytes, DS_ComHolder<ID3DXEffect>& effect) {
  return D3DXCreateEffect(device, bytes.data(), static_cast<UINT>(bytes.size()), nullptr, nullptr, 0, nullptr,
                          effect.Receive(), nullptr);
}

void DrawScreenQuad(IDirect3DDevice9* device, ID3DXEffect* effect, uint32_t width, uint32_t height, uint32_t diffuse,
                    float u0, float u1) {
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
  device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
  device->BeginScene();
  UINT passes = 0;
  effect->Begin(&passes, 0);
  for (UINT p = 0; p < passes; ++p) {
    effect->BeginPass(p);
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
    effect->EndPass();
  }
  effect->End();
  device->EndScene();
}

}  // namespace effect_test
