#include "core/render/screen_sprite_batch.h"

#include "core/render/device_globals.h"
#include "core/render/layout_maths.h"
#include "core/render/mesh_ops.h"

void CreateSpriteBuffers(DS_SpriteChunk& chunk, int vertexCount, int indexCount) {
  CreateVertexBufferOf<DX_V::TPCT>(vertexCount, chunk, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED);
  chunk.primitiveType = D3DPT_TRIANGLELIST;
  chunk.primitiveCount = 0;
  chunk.triangleCount = indexCount / 3;
  CreateIndexBuffer(static_cast<UINT>(chunk.triangleCount) * 16u, chunk);
}

void SetSpriteTexCoords(float ua, float ub, float va, float vb, DS_SpriteChunk& chunk, int s) {
  DX_V::TPCT* v = chunk.LockedVertices();
  if (!v) return;
  v += 4 * s;
  v[0].u = ua, v[0].v = vb;
  v[1].u = ua, v[1].v = va;
  v[2].u = ub, v[2].v = vb;
  v[3].u = ub, v[3].v = va;
}

void FillSpriteChunk(DS_SpriteChunk& chunk, int count) {
  CreateSpriteBuffers(chunk, 4 * count, 6 * count);
  LockIndexBuffer(chunk);
  if (std::uint16_t* indices = chunk.LockedIndices()) {
    for (int s = 0; s < count; ++s) {
      std::uint16_t six[6];
      SpriteIndices(s, six);
      for (int k = 0; k < 6; ++k) indices[6 * s + k] = six[k];
    }
  }
  UnlockIndexBuffer(chunk);
  if (auto* v = static_cast<DX_V::TPCT*>(LockVertexBuffer(chunk))) {
    for (int k = 0; k < 4 * count; ++k) v[k] = {0.0f, 0.0f, 0.0f, 1.0f, 0x00000000u, 0.0f, 0.0f};
    for (int s = 0; s < count; ++s) SetSpriteTexCoords(0.0f, 1.0f, 0.0f, 1.0f, chunk, s);
  }
  UnlockVertexBuffer(chunk);
}

DS_ScreenSpriteBatch::DS_ScreenSpriteBatch() { m_Chunks.resize(1); }

void DS_ScreenSpriteBatch::Resize(int n) {
  if (n < 0) n = 0;
  m_Chunks.resize(static_cast<size_t>(SpriteChunkCount(n)));
  // Chunk 0's texture is taken from a copy: chunk 0 sharing its own texture, or a resize that
  // moves the chunks, must never release it before the others have taken it.
  const DS_ComHolder<IDirect3DTexture9> texture = m_Chunks[0].texture;
  for (size_t j = 0; j < m_Chunks.size(); ++j) {
    FillSpriteChunk(m_Chunks[j], SpritesInChunk(n, static_cast<int>(j)));
    m_Chunks[j].texture = texture;
  }
  m_SpriteCount = n;
}

void DS_ScreenSpriteBatch::Lock() {
  for (DS_SpriteChunk& chunk : m_Chunks)
    if (chunk.vertexBuffer) LockVertexBuffer(chunk);
}

void DS_ScreenSpriteBatch::Unlock() {
  for (DS_SpriteChunk& chunk : m_Chunks)
    if (chunk.vertexBuffer) UnlockVertexBuffer(chunk);
}

DX_V::TPCT* DS_ScreenSpriteBatch::SpriteVertices(int i) const {
  const DS_SpriteChunk& chunk = m_Chunks[static_cast<size_t>(i / kSpritesPerChunk)];
  DX_V::TPCT* v = chunk.LockedVertices();
  return v ? v + 4 * (i % kSpritesPerChunk) : nullptr;
}

void DS_ScreenSpriteBatch::SetSpriteCorners(int i, const D3DXVECTOR3& c, const D3DXVECTOR3& u, const D3DXVECTOR3& v) {
  DX_V::TPCT* q = SpriteVertices(i);
  if (!q) return;
  const D3DXVECTOR3 corners[4] = {c - u + v, c - u - v, c + u + v, c + u - v};
  for (int k = 0; k < 4; ++k) {
    q[k].x = corners[k].x;
    q[k].y = corners[k].y;
    q[k].z = corners[k].z;
    q[k].rhw = 1.0f;
  }
}

void DS_ScreenSpriteBatch::SetSpriteColour(int i, DWORD colour) {
  if (DX_V::TPCT* q = SpriteVertices(i))
    for (int k = 0; k < 4; ++k) q[k].colour = colour;
}

void DS_ScreenSpriteBatch::SetSpriteTexCoords(int i, float ua, float ub, float va, float vb) {
  ::SetSpriteTexCoords(ua, ub, va, vb, m_Chunks[static_cast<size_t>(i / kSpritesPerChunk)], i % kSpritesPerChunk);
}

void DS_ScreenSpriteBatch::SetTexture(const DS_ComHolder<IDirect3DTexture9>& texture) {
  // A copy first: the holder passed in may be one of the chunks' own.
  const DS_ComHolder<IDirect3DTexture9> shared = texture;
  for (DS_SpriteChunk& chunk : m_Chunks) chunk.texture = shared;
}

void DS_ScreenSpriteBatch::Draw() const {
  for (const DS_SpriteChunk& chunk : m_Chunks) {
    if (!CanDrawIndexed(chunk, chunk)) continue;  // an empty chunk has no buffers
    g_Device->SetTexture(0, chunk.texture.Get());
    g_Device->SetIndices(chunk.indexBuffer.Get());
    g_Device->SetVertexShader(nullptr);
    g_Device->SetFVF(DX_V::TPCT::kFormat);
    g_Device->SetStreamSource(0, chunk.vertexBuffer.Get(), 0, DX_V::TPCT::kStride);
    g_Device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, static_cast<UINT>(chunk.vertexCount), 0,
                                   static_cast<UINT>(chunk.triangleCount));
  }
}
