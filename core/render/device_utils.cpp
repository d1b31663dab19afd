#include "core/render/device_utils.h"

#include <d3dx9.h>

#include <cstring>

#include "core/render/device_globals.h"
#include "core/render/layout_maths.h"

// The records' format codes are the flexible-vertex-format flags they are bound with.
static_assert(DX_V::PT::kFormat == (D3DFVF_XYZ | D3DFVF_TEX1), "PT format");
static_assert(DX_V::TPCT::kFormat == (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1), "TPCT format");
static_assert(DX_V::TPC::kFormat == (D3DFVF_XYZRHW | D3DFVF_DIFFUSE), "TPC format");
static_assert(DX_V::PC::kFormat == (D3DFVF_XYZ | D3DFVF_DIFFUSE), "PC format");
static_assert(DX_V::PCT::kFormat == (D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1), "PCT format");
static_assert(DX_V::PNT::kFormat == (D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1), "PNT format");
static_assert(DX_V::PNCT::kFormat == (D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1), "PNCT format");

bool CreateVertexBuffer(int n, DS_VertexBufferRecord& record, DWORD usage, D3DPOOL pool, unsigned stride,
                        DWORD format) {
  record.vertexBuffer.Reset();
  record.lockPointer = nullptr;
  record.vertexCount = n;
  // A buffer of length 0 is not asked for: Direct3D gives no promise about it.
  if (n <= 0 || !g_Device) return false;
  const HRESULT hr = g_Device->CreateVertexBuffer(static_cast<UINT>(n) * stride, usage, format, pool,
                                                  record.vertexBuffer.Receive(), nullptr);
  if (FAILED(hr)) {
    record.vertexBuffer.Reset();
    return false;
  }
  return true;
}

bool CreateVertexBufferPT(int n, DS_VertexBufferRecord& record, DWORD usage, D3DPOOL pool) {
  return CreateVertexBufferOf<DX_V::PT>(n, record, usage, pool);
}
bool CreateVertexBufferTPCT(int n, DS_VertexBufferRecord& record, DWORD usage, D3DPOOL pool) {
  return CreateVertexBufferOf<DX_V::TPCT>(n, record, usage, pool);
}
bool CreateVertexBufferTPC(int n, DS_VertexBufferRecord& record, DWORD usage, D3DPOOL pool) {
  return CreateVertexBufferOf<DX_V::TPC>(n, record, usage, pool);
}
bool CreateVertexBufferPC(int n, DS_VertexBufferRecord& record, DWORD usage, D3DPOOL pool) {
  return CreateVertexBufferOf<DX_V::PC>(n, record, usage, pool);
}

bool CreateIndexBuffer(UINT bytes, DS_IndexBufferRecord& record) {
  record.indexBuffer.Reset();
  record.indexLockPointer = nullptr;
  if (bytes == 0 || !g_Device) return false;
  const HRESULT hr = g_Device->CreateIndexBuffer(bytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                                 record.indexBuffer.Receive(), nullptr);
  if (FAILED(hr)) {
    record.indexBuffer.Reset();
    return false;
  }
  return true;
}

void* LockVertexBuffer(DS_VertexBufferRecord& record) {
  record.lockPointer = nullptr;
  if (record.vertexBuffer && FAILED(record.vertexBuffer->Lock(0, 0, &record.lockPointer, 0)))
    record.lockPointer = nullptr;
  return record.lockPointer;
}

void UnlockVertexBuffer(DS_VertexBufferRecord& record) {
  record.lockPointer = nullptr;
  if (record.vertexBuffer) record.vertexBuffer->Unlock();
}

DS_IndexBufferRecord& LockIndexBuffer(DS_IndexBufferRecord& record) {
  record.indexLockPointer = nullptr;
  if (record.indexBuffer && FAILED(record.indexBuffer->Lock(0, 0, &record.indexLockPointer, 0)))
    record.indexLockPointer = nullptr;
  return record;
}

void UnlockIndexBuffer(DS_IndexBufferRecord& record) {
  record.indexLockPointer = nullptr;
  if (record.indexBuffer) record.indexBuffer->Unlock();
}

void CreateGridIndices8x8(DS_IndexBufferRecord& record) {
  record.triangleCount = 2 * kGridCells * kGridCells;
  if (!CreateIndexBuffer(2048, record)) return;
  if (LockIndexBuffer(record).indexLockPointer) {
    std::uint16_t indices[kGridIndexCount];
    FillGridIndices8x8(indices);
    std::memcpy(record.indexLockPointer, indices, sizeof indices);
  }
  UnlockIndexBuffer(record);
}

D3DSURFACE_DESC& GetBackBufferDesc(D3DSURFACE_DESC& desc) {
  std::memset(&desc, 0, sizeof desc);
  if (!g_Device) return desc;
  DS_ComHolder<IDirect3DSurface9> backBuffer;
  if (SUCCEEDED(g_Device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.Receive())) && backBuffer)
    backBuffer->GetDesc(&desc);
  return desc;
}

DS_ComHolder<IDirect3DTexture9> CopyTexture(const DS_ComHolder<IDirect3DTexture9>& source, UINT width, UINT height,
                                            D3DFORMAT format) {
  DS_ComHolder<IDirect3DTexture9> copy;
  if (!source || !g_Device) return copy;
  if (FAILED(D3DXCreateTexture(g_Device, width, height, 0, 0, format, D3DPOOL_MANAGED, copy.Receive())) || !copy) {
    copy.Reset();
    return copy;
  }
  DS_ComHolder<IDirect3DSurface9> from, to;
  if (FAILED(source->GetSurfaceLevel(0, from.Receive())) || FAILED(copy->GetSurfaceLevel(0, to.Receive()))) {
    copy.Reset();
    return copy;
  }
  D3DXLoadSurfaceFromSurface(to.Get(), nullptr, nullptr, from.Get(), nullptr, nullptr, D3DX_FILTER_TRIANGLE, 0);
  return copy;
}
