#include "objects/base_objects3d/ds_mesh_part.h"

#include "core/render/image_set_frames.h"
#include "core/resources/doc_res_manager.h"

void DS_MeshPart::BindTexture(const DS_FileLink3& image, DS_MeshPart& part, const DS_FileLink3& mesh) {
  part.texture.Reset();
  if (g_DocResManager) part.texture = FirstTextureOf(g_DocResManager->GetImageSet(image));
  LoadMesh(part, mesh);
}

void DS_MeshPart::LoadMesh(DS_MeshPart& part, const DS_FileLink3& mesh) {
  DS_MeshBuffers loaded;
  if (g_DocResManager) loaded = g_DocResManager->GetMesh(mesh, kMeshVertexSize);
  const bool empty = loaded.IsEmpty();
  part.triangleCount = empty ? 0 : static_cast<int>(loaded.faceCount);
  part.indexBuffer = empty ? DS_ComHolder<IDirect3DIndexBuffer9>() : loaded.indexBuffer;
  part.vertexCount = empty ? 0 : static_cast<int>(loaded.vertexCount);
  part.vertexBuffer = empty ? DS_ComHolder<IDirect3DVertexBuffer9>() : loaded.vertexBuffer;
  part.scalar = loaded.radius;
  part.position = D3DXVECTOR3(loaded.centre[0], loaded.centre[1], loaded.centre[2]);
  part.primitiveType = D3DPT_TRIANGLELIST;
}

DS_IndexedMeshPNT& AssignIndexedMeshPNT(DS_IndexedMeshPNT& target, const DS_IndexedMeshPNT& source) {
  static_cast<DS_SimpleMesh<DX_V::PNT>&>(target) = source;
  if (&target != &source) target.indexBuffer = source.indexBuffer;
  target.triangleCount = source.triangleCount;
  target.indexLockPointer = source.indexLockPointer;
  target.columns = source.columns;
  target.rows = source.rows;
  return target;
}
