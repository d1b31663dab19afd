#include "core/resources/mesh_decoders.h"

#include <cstring>

#include "core/render/device_globals.h"
#include "core/resources/picture_decoders.h"
#include "core/resources/wide_path.h"

namespace {

// Copies `bytes` bytes from a locked source into a locked target.
template <class Source, class Target>
HRESULT CopyLocked(Source* source, Target* target, UINT bytes) {
  void* to = nullptr;
  void* from = nullptr;
  HRESULT hr = target->Lock(0, 0, &to, 0);
  if (FAILED(hr)) return hr;
  hr = source->Lock(0, 0, &from, 0);
  if (SUCCEEDED(hr)) {
    std::memcpy(to, from, bytes);
    source->Unlock();
  }
  target->Unlock();
  return hr;
}

// Builds the record from a loaded mesh and the loader's adjacency (steps 2 to 7).
bool BuildFromLoaded(ID3DXMesh* loaded, ID3DXBuffer* adjacency, unsigned vertexSize, DS_MeshBuffers& record) {
  DS_ComHolder<ID3DXMesh> clone;
  if (FAILED(loaded->CloneMeshFVF(D3DXMESH_SYSTEMMEM, kMeshFvf, g_Device, clone.Receive())) || !clone) return false;
  if (FAILED(D3DXComputeNormals(clone.Get(), nullptr))) return false;
  // Reordering for the vertex cache is an optimisation only; the mesh is valid without it.
  clone->OptimizeInplace(D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE,
                         adjacency ? static_cast<const DWORD*>(adjacency->GetBufferPointer()) : nullptr,
                         nullptr, nullptr, nullptr);
  DS_MeshBuffers built;
  built.vertexCount = clone->GetNumVertices();
  built.faceCount = clone->GetNumFaces();
  if (built.vertexCount == 0 || built.faceCount == 0) return false;
  if (FAILED(CopyIndexBuffer(clone.Get(), built.indexBuffer))) return false;
  if (FAILED(CopyVertexBuffer(clone.Get(), vertexSize, built.vertexBuffer))) return false;
  void* vertices = nullptr;
  if (FAILED(clone->LockVertexBuffer(D3DLOCK_READONLY, &vertices))) return false;
  D3DXVECTOR3 centre(0, 0, 0);
  const HRESULT bounded = D3DXComputeBoundingSphere(static_cast<const D3DXVECTOR3*>(vertices), built.vertexCount,
                                                    D3DXGetFVFVertexSize(kMeshFvf), &centre, &built.radius);
  clone->UnlockVertexBuffer();
  if (FAILED(bounded)) return false;
  built.centre[0] = centre.x;
  built.centre[1] = centre.y;
  built.centre[2] = centre.z;
  record = built;
  return true;
}

struct LoadedMesh {
  DS_ComHolder<ID3DXMesh> mesh;
  DS_ComHolder<ID3DXBuffer> adjacency, materials, effects;
  DWORD materialCount = 0;
};

bool Finish(LoadedMesh& loaded, HRESULT hr, unsigned vertexSize, DS_MeshBuffers& record) {
  record = DS_MeshBuffers();
  if (FAILED(hr) || !loaded.mesh) return false;
  return BuildFromLoaded(loaded.mesh.Get(), loaded.adjacency.Get(), vertexSize, record);
}

}  // namespace

HRESULT CopyIndexBuffer(ID3DXMesh* mesh, DS_ComHolder<IDirect3DIndexBuffer9>& buffer) {
  buffer.Reset();
  if (mesh->GetOptions() & D3DXMESH_32BIT) return E_FAIL;  // the buffers hold 16-bit indices
  const UINT bytes = mesh->GetNumFaces() * 6;
  HRESULT hr = g_Device->CreateIndexBuffer(bytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                           buffer.Receive(), nullptr);
  if (FAILED(hr) || !buffer) return FAILED(hr) ? hr : E_FAIL;
  DS_ComHolder<IDirect3DIndexBuffer9> source;
  hr = mesh->GetIndexBuffer(source.Receive());
  if (SUCCEEDED(hr)) hr = CopyLocked(source.Get(), buffer.Get(), bytes);
  if (FAILED(hr)) buffer.Reset();
  return hr;
}

HRESULT CopyVertexBuffer(ID3DXMesh* mesh, unsigned vertexSize, DS_ComHolder<IDirect3DVertexBuffer9>& buffer) {
  buffer.Reset();
  if (vertexSize == 0 || vertexSize > mesh->GetNumBytesPerVertex()) return E_INVALIDARG;  // would read past
  const UINT bytes = mesh->GetNumVertices() * vertexSize;
  HRESULT hr = g_Device->CreateVertexBuffer(bytes, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, buffer.Receive(), nullptr);
  if (FAILED(hr) || !buffer) return FAILED(hr) ? hr : E_FAIL;
  DS_ComHolder<IDirect3DVertexBuffer9> source;
  hr = mesh->GetVertexBuffer(source.Receive());
  if (SUCCEEDED(hr)) hr = CopyLocked(source.Get(), buffer.Get(), bytes);
  if (FAILED(hr)) buffer.Reset();
  return hr;
}

bool CreateMeshFromMemory(const void* bytes, uint32_t size, unsigned vertexSize, DS_MeshBuffers& record) {
  LoadedMesh loaded;
  HRESULT hr = E_FAIL;
  if (g_Device && bytes && size != 0)
    hr = D3DXLoadMeshFromXInMemory(bytes, size, D3DXMESH_SYSTEMMEM, g_Device, loaded.adjacency.Receive(),
                                   loaded.materials.Receive(), loaded.effects.Receive(), &loaded.materialCount,
                                   loaded.mesh.Receive());
  return Finish(loaded, hr, vertexSize, record);
}

bool LoadMeshFromFile(const ds_string& path, unsigned vertexSize, DS_MeshBuffers& record) {
  LoadedMesh loaded;
  HRESULT hr = E_FAIL;
  if (g_Device && !path.empty())
    hr = D3DXLoadMeshFromXW(WidePath(path), D3DXMESH_SYSTEMMEM, g_Device, loaded.adjacency.Receive(),
                            loaded.materials.Receive(), loaded.effects.Receive(), &loaded.materialCount,
                            loaded.mesh.Receive());
  return Finish(loaded, hr, vertexSize, record);
}

bool LoadMeshResource(HMODULE module, int id, unsigned vertexSize, DS_MeshBuffers& record) {
  const void* data = nullptr;
  DWORD size = 0;
  if (!FindModuleResource(module, id, L"DDS", data, size)) {
    record = DS_MeshBuffers();
    return false;
  }
  return CreateMeshFromMemory(data, size, vertexSize, record);
}
