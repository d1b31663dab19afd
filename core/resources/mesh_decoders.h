// Mesh decoders: X-file meshes into write-only managed buffers of FVF 0x112 with their bounding
// sphere. Any failure (the load, the clone, a buffer or a lock) leaves the record empty.
#pragma once

#include <windows.h>
#include <d3dx9.h>

#include <cstdint>

#include "core/data/ds_string.h"
#include "core/resources/mesh_buffers.h"

bool CreateMeshFromMemory(const void* bytes, uint32_t size, unsigned vertexSize, DS_MeshBuffers& record);
bool LoadMeshFromFile(const ds_string& path, unsigned vertexSize, DS_MeshBuffers& record);
// "DDS" resource `id` (low 16 bits) of `module` (null: the program).
bool LoadMeshResource(HMODULE module, int id, unsigned vertexSize, DS_MeshBuffers& record);

HRESULT CopyIndexBuffer(ID3DXMesh* mesh, DS_ComHolder<IDirect3DIndexBuffer9>& buffer);
HRESULT CopyVertexBuffer(ID3DXMesh* mesh, unsigned vertexSize, DS_ComHolder<IDirect3DVertexBuffer9>& buffer);
