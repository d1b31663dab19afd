// Many small textured screen-space sprites drawn with one indexed call per chunk. 16-bit indices
// address at most 65536 vertices, so sprites are split into chunks of at most 16383: sprite i is
// sprite i mod 16383 of chunk i / 16383, with vertices 4 (i mod 16383) .. + 3 in quad corner
// order. The caller sets the render states; the batch only fills, binds and draws.
#pragma once

#include <d3dx9math.h>

#include <vector>

#include "core/render/mesh.h"

using DS_SpriteChunk = DS_SpriteArrayT<DX_V::TPCT>;

class DS_ScreenSpriteBatch {
 public:
  DS_ScreenSpriteBatch();

  // n / 16383 + 1 chunks, each filled for its share of the n sprites and sharing chunk 0's
  // texture. When n is a multiple of 16383 the last chunk holds no sprites and no buffers.
  void Resize(int n);
  int SpriteCount() const { return m_SpriteCount; }
  const std::vector<DS_SpriteChunk>& Chunks() const { return m_Chunks; }

  void Lock();
  void Unlock();
  // While locked: corners centre - u + v, centre - u - v, centre + u + v, centre + u - v (u and v
  // are half-axes), rhw 1.
  void SetSpriteCorners(int i, const D3DXVECTOR3& centre, const D3DXVECTOR3& u, const D3DXVECTOR3& v);
  void SetSpriteColour(int i, DWORD colour);
  void SetSpriteTexCoords(int i, float ua, float ub, float va, float vb);
  // Every chunk takes the texture (shared).
  void SetTexture(const DS_ComHolder<IDirect3DTexture9>& texture);
  // Per chunk: its texture on stage 0, its indices, format 0x144, stride 28, one indexed draw.
  // Changes no render state.
  void Draw() const;

 private:
  DX_V::TPCT* SpriteVertices(int i) const;

  int m_SpriteCount = 0;
  std::vector<DS_SpriteChunk> m_Chunks;
};

// Buffers for `count` sprites with the six-index pattern and blank vertices (position 0, rhw 1,
// transparent black, unit texture coordinates).
void FillSpriteChunk(DS_SpriteChunk& chunk, int count);
// A vertex buffer of that many TPCT vertices, a triangle list of index count / 3 triangles in an
// index buffer of 16 bytes per triangle, replacing any previous ones.
void CreateSpriteBuffers(DS_SpriteChunk& chunk, int vertexCount, int indexCount);
// Texture coordinates of sprite s of a locked chunk: corner 0 (ua, vb), 1 (ua, va), 2 (ub, vb),
// 3 (ub, va).
void SetSpriteTexCoords(float ua, float ub, float va, float vb, DS_SpriteChunk& chunk, int s);
