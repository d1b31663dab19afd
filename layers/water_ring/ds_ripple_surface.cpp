#include "layers/water_ring/ds_ripple_surface.h"

#include "core/render/device_globals.h"

void DS_RippleSurface::Setup(float width, float depth, float rowFactor, float columnFactor) {
  Size(width, depth, rowFactor, columnFactor);
  ReleaseBuffers();
  CreateBuffers();
}

HRESULT DS_RippleSurface::CreateBuffers() {
  if (!g_Device || CellCount() == 0) return 0;
  if (!m_IndexBuffer) {
    // Written once, but made dynamic: Wine's renderer keeps about 64 MB more for the first
    // indexed draw from a static default-pool index buffer than from a dynamic one.
    const UINT bytes = IndexCount() * sizeof(std::uint16_t);
    HRESULT hr = g_Device->CreateIndexBuffer(bytes, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_DEFAULT,
                                             m_IndexBuffer.Receive(), nullptr);
    if (FAILED(hr)) return hr;
    void* indices = nullptr;
    hr = m_IndexBuffer->Lock(0, 0, &indices, D3DLOCK_DISCARD);
    if (FAILED(hr)) {
      m_IndexBuffer.Reset();
      return hr;
    }
    WriteSpiral(static_cast<std::uint16_t*>(indices));
    m_IndexBuffer->Unlock();
  }
  if (!m_VertexBuffer) {
    const HRESULT hr = g_Device->CreateVertexBuffer(CellCount() * DX_V::PNCT::kStride, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                                    DX_V::PNCT::kFormat, D3DPOOL_DEFAULT, m_VertexBuffer.Receive(),
                                                    nullptr);
    if (FAILED(hr)) return hr;
  }
  return 0;
}

void DS_RippleSurface::ReleaseBuffers() {
  m_IndexBuffer.Reset();
  m_VertexBuffer.Reset();
}

HRESULT DS_RippleSurface::Step(const float (&eye)[3]) {
  Simulate();
  if (!m_VertexBuffer) return 0;
  void* vertices = nullptr;
  const HRESULT hr = m_VertexBuffer->Lock(0, 0, &vertices, D3DLOCK_DISCARD);
  if (FAILED(hr)) return hr;
  WriteVertices(static_cast<DX_V::PNCT*>(vertices), eye);
  m_VertexBuffer->Unlock();
  return 0;
}

void DS_RippleSurface::Draw() const {
  if (!g_Device || !HasBuffers() || IndexCount() < 3) return;
  g_Device->SetFVF(DX_V::PNCT::kFormat);
  g_Device->SetStreamSource(0, m_VertexBuffer.Get(), 0, DX_V::PNCT::kStride);
  g_Device->SetIndices(m_IndexBuffer.Get());
  g_Device->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, 0, 0, CellCount(), 0, IndexCount() - 2);
}
