// One decoded mesh: write-only managed vertex and index buffers (16-bit indices, triangle
// list, FVF 0x112: position, normal, one texture-coordinate pair) with its bounding sphere.
// Copies share the buffers. An empty record (no buffers, counts 0) means "no mesh".
#pragma once

#include <d3d9.h>

#include "core/com/ds_com_holder.h"

struct DS_MeshBuffers {
  DS_ComHolder<IDirect3DVertexBuffer9> vertexBuffer;
  DS_ComHolder<IDirect3DIndexBuffer9> indexBuffer;
  unsigned vertexCount = 0;
  unsigned faceCount = 0;
  float radius = 0.0f;
  float centre[3] = {0.0f, 0.0f, 0.0f};

  bool IsEmpty() const { return vertexCount == 0 || !vertexBuffer || !indexBuffer; }
};

// The vertex format every mesh is cloned to, and its size.
constexpr DWORD kMeshFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;  // 0x112
constexpr unsigned kMeshVertexSize = 32;
