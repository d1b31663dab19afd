// The mesh chain over a frame: a simple mesh (vertex buffer, primitive type and count), an
// indexed mesh (adds 16-bit indices) and a sprite array (adds a texture and a flag word). The
// code is the same for every vertex record; only the binders differ. Copies share the buffers
// and the texture by AddRef (the holders do it), assignment to itself changes nothing, and the
// levels release texture, indices, vertices and frame in that order.
#pragma once

#include <d3d9.h>

#include "core/render/device_utils.h"
#include "core/render/frame.h"
#include "core/render/vertex_records.h"

// The part of every mesh that does not depend on its vertex record.
class DS_MeshBase : public DS_Frame, public DS_VertexBufferRecord {
 public:
  D3DPRIMITIVETYPE primitiveType = D3DPT_TRIANGLESTRIP;
  int primitiveCount = 0;
};

template <class V>
class DS_SimpleMesh : public DS_MeshBase {
 public:
  using Vertex = V;
  // The vertices while the buffer is locked, else null.
  V* LockedVertices() const { return static_cast<V*>(lockPointer); }
};

template <class V>
class DS_IndexedMesh : public DS_SimpleMesh<V>, public DS_IndexBufferRecord {
 public:
  std::uint16_t* LockedIndices() const { return static_cast<std::uint16_t*>(indexLockPointer); }
};

// Over TPCT (sprite-batch chunks) and PNT (3D-object parts) the sprite level adds a texture and
// a flag word whose low byte marks a translucent 3D-object part; over PCT (particle geometry) it
// adds nothing.
template <class V>
class DS_SpriteArrayT : public DS_IndexedMesh<V> {
 public:
  DS_ComHolder<IDirect3DTexture9> texture;
  DWORD flags = 0;
};

template <>
class DS_SpriteArrayT<DX_V::PCT> : public DS_IndexedMesh<DX_V::PCT> {};

// A simple mesh over PT vertices that is an n x m grid of (n + 1)(m + 1) vertices.
class DS_GridMeshPT : public DS_SimpleMesh<DX_V::PT> {
 public:
  int columns = 8;  // n
  int rows = 8;     // m
};
