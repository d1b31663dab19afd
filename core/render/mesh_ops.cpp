#include "core/render/mesh_ops.h"

#include <vector>

#include "core/render/device_globals.h"
#include "core/render/layout_maths.h"
#include "core/render/quads.h"

namespace {

template <class V>
bool MakeQuadStrip(DS_MeshBase& mesh) {
  const bool made = CreateVertexBufferOf<V>(4, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED);
  mesh.primitiveType = D3DPT_TRIANGLESTRIP;
  mesh.primitiveCount = 2;
  return made;
}

template <class V>
void BindStream(const DS_MeshBase& mesh) {
  g_Device->SetVertexShader(nullptr);
  g_Device->SetFVF(V::kFormat);
  g_Device->SetStreamSource(0, mesh.vertexBuffer.Get(), 0, V::kStride);
}

template <class V>
void BindIndexed(const DS_IndexedMesh<V>& mesh) {
  g_Device->SetIndices(mesh.indexBuffer.Get());
  BindStream<V>(mesh);
}

}  // namespace

bool CreateQuadBufferPT(DS_MeshBase& mesh) { return MakeQuadStrip<DX_V::PT>(mesh); }
bool CreateQuadBufferTPC(DS_MeshBase& mesh) { return MakeQuadStrip<DX_V::TPC>(mesh); }
bool CreateQuadBufferPC(DS_MeshBase& mesh) { return MakeQuadStrip<DX_V::PC>(mesh); }
bool CreateQuadBufferTPCT(DS_MeshBase& mesh) { return MakeQuadStrip<DX_V::TPCT>(mesh); }

void BindQuadPT(const DS_TexturedQuad& quad) {
  g_Device->SetTexture(0, quad.texture.Get());
  BindStream<DX_V::PT>(quad);
}

void BindQuadTPCT(const DS_TexturedQuad& quad) {
  g_Device->SetTexture(0, quad.texture.Get());
  BindStream<DX_V::TPCT>(quad);
}

void BindMeshTPC(const DS_MeshBase& mesh) { BindStream<DX_V::TPC>(mesh); }
void BindMeshPT(const DS_MeshBase& mesh) { BindStream<DX_V::PT>(mesh); }
void BindMeshPC(const DS_MeshBase& mesh) { BindStream<DX_V::PC>(mesh); }
void BindIndexedPT(const DS_IndexedMesh<DX_V::PT>& mesh) { BindIndexed(mesh); }
void BindIndexedPCT(const DS_IndexedMesh<DX_V::PCT>& mesh) { BindIndexed(mesh); }
void BindIndexedPNT(const DS_IndexedMesh<DX_V::PNT>& mesh) { BindIndexed(mesh); }

bool CanDraw(const DS_MeshBase& mesh) { return g_Device && mesh.vertexBuffer && mesh.primitiveCount > 0; }

bool CanDrawIndexed(const DS_MeshBase& mesh, const DS_IndexBufferRecord& indices) {
  return g_Device && mesh.vertexBuffer && indices.indexBuffer && indices.triangleCount > 0;
}

void DrawBoundPrimitives(const DS_MeshBase& mesh) {
  g_Device->DrawPrimitive(mesh.primitiveType, 0, static_cast<UINT>(mesh.primitiveCount));
}

void DrawQuadPT(const DS_TexturedQuad& quad) {
  if (!CanDraw(quad)) return;
  BindQuadPT(quad);
  DrawBoundPrimitives(quad);
}

void FillGridMeshPT(DS_GridMeshPT& mesh, const DX_V::PT (&corners)[4]) {
  FillGridVerticesPT(mesh, mesh.columns, mesh.rows, corners);
}

void FillGridVerticesPT(DS_MeshBase& mesh, int columns, int rows, const DX_V::PT (&corners)[4]) {
  const int n = columns, m = rows;
  if (n <= 0 || m <= 0 || mesh.vertexCount < (n + 1) * (m + 1)) return;
  std::vector<DX_V::PT> vertices(static_cast<size_t>((n + 1) * (m + 1)));
  ComputeGridVerticesPT(n, m, corners, vertices.data());
  if (DX_V::PT* out = static_cast<DX_V::PT*>(LockVertexBuffer(mesh)))
    for (size_t k = 0; k < vertices.size(); ++k) out[k] = vertices[k];
  UnlockVertexBuffer(mesh);
}

DX_V::PT& ScaleVertexPT(DX_V::PT& result, float factor, const DX_V::PT& vertex) {
  result = {vertex.x * factor, vertex.y * factor, vertex.z * factor, vertex.u * factor, vertex.v * factor};
  return result;
}
