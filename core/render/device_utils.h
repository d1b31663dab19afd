// The lowest layer of the rendering base: the records the buffer makers fill, the makers of
// write-only managed vertex and index buffers, and three device operations. Everything works on
// the current device g_Device, never on a device passed in.
#pragma once

#include <d3d9.h>

#include "core/com/ds_com_holder.h"
#include "core/render/vertex_records.h"

// Drops an owning interface pointer: releases it, sets it to null and returns Release's result;
// 0 for a null pointer.
template <class T>
ULONG ReleaseAndClear(T** pointer) {
  if (!*pointer) return 0;
  T* old = *pointer;
  *pointer = nullptr;
  return old->Release();
}

// A vertex buffer with its lock pointer (the data address while locked, else null) and its
// vertex count. The same three fields open every mesh right after its frame.
struct DS_VertexBufferRecord {
  DS_ComHolder<IDirect3DVertexBuffer9> vertexBuffer;
  void* lockPointer = nullptr;
  int vertexCount = 0;
};

// An index buffer of 16-bit indices with its triangle count and lock pointer.
struct DS_IndexBufferRecord {
  DS_ComHolder<IDirect3DIndexBuffer9> indexBuffer;
  int triangleCount = 0;
  void* indexLockPointer = nullptr;
};

// Vertex-buffer makers: release the record's buffer, store n as the vertex count, create n
// vertices of the record kind. Every caller passes D3DUSAGE_WRITEONLY and D3DPOOL_MANAGED, so the
// buffers survive a device reset. Return whether a buffer was made: a count of 0 makes none, and
// a failed creation leaves the record without buffer.
bool CreateVertexBuffer(int n, DS_VertexBufferRecord& record, DWORD usage, D3DPOOL pool, unsigned stride,
                        DWORD format);
template <class V>
bool CreateVertexBufferOf(int n, DS_VertexBufferRecord& record, DWORD usage, D3DPOOL pool) {
  return CreateVertexBuffer(n, record, usage, pool, V::kStride, V::kFormat);
}
bool CreateVertexBufferPT(int n, DS_VertexBufferRecord& record, DWORD usage, D3DPOOL pool);
bool CreateVertexBufferTPCT(int n, DS_VertexBufferRecord& record, DWORD usage, D3DPOOL pool);
bool CreateVertexBufferTPC(int n, DS_VertexBufferRecord& record, DWORD usage, D3DPOOL pool);
bool CreateVertexBufferPC(int n, DS_VertexBufferRecord& record, DWORD usage, D3DPOOL pool);

// A write-only managed index buffer of `bytes` bytes of 16-bit indices, replacing the record's;
// false (and no buffer) when the size is 0 or the creation fails.
bool CreateIndexBuffer(UINT bytes, DS_IndexBufferRecord& record);

// Whole-buffer locks (offset 0, size 0, flags 0). A failed lock leaves the lock pointer null,
// and every writer tests it before writing.
void* LockVertexBuffer(DS_VertexBufferRecord& record);
void UnlockVertexBuffer(DS_VertexBufferRecord& record);
DS_IndexBufferRecord& LockIndexBuffer(DS_IndexBufferRecord& record);
void UnlockIndexBuffer(DS_IndexBufferRecord& record);

// The index buffer of an 8 x 8 grid of cells over 9 x 9 vertices: 128 triangles, 384 indices
// in a buffer of 2048 bytes, unlocked afterwards.
void CreateGridIndices8x8(DS_IndexBufferRecord& record);

// The back buffer's description, read when it is needed (nothing caches it). Zeroed when there
// is no device or back buffer.
D3DSURFACE_DESC& GetBackBufferDesc(D3DSURFACE_DESC& desc);

// A new managed texture of width x height (full mip chain) whose level 0 is a copy of the
// source's level 0. Null for an empty source, and null when the new texture or a surface
// cannot be had.
DS_ComHolder<IDirect3DTexture9> CopyTexture(const DS_ComHolder<IDirect3DTexture9>& source, UINT width, UINT height,
                                            D3DFORMAT format);
