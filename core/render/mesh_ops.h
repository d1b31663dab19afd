// What every quad, particle array, sprite-batch chunk and 3D-object part uses to get a 4-vertex
// strip buffer and to bind itself to the fixed-function pipeline of the current device.
#pragma once

#include "core/render/mesh.h"

class DS_TexturedQuad;

// A new 4-vertex strip buffer of the record kind (write-only, managed) replacing the mesh's:
// vertex count 4, primitive type strip, primitive count 2. Returns whether a buffer was made.
bool CreateQuadBufferPT(DS_MeshBase& mesh);
bool CreateQuadBufferTPC(DS_MeshBase& mesh);
bool CreateQuadBufferPC(DS_MeshBase& mesh);
bool CreateQuadBufferTPCT(DS_MeshBase& mesh);

// Binders: null vertex shader, the format code, stream 0 at offset 0 with the record's stride;
// the quad binders also set the quad's texture on stage 0, the indexed ones the index buffer.
void BindQuadPT(const DS_TexturedQuad& quad);
void BindQuadTPCT(const DS_TexturedQuad& quad);
void BindMeshTPC(const DS_MeshBase& mesh);
void BindMeshPT(const DS_MeshBase& mesh);  // no texture: an effect's passes set theirs
void BindMeshPC(const DS_MeshBase& mesh);
void BindIndexedPT(const DS_IndexedMesh<DX_V::PT>& mesh);
void BindIndexedPCT(const DS_IndexedMesh<DX_V::PCT>& mesh);
void BindIndexedPNT(const DS_IndexedMesh<DX_V::PNT>& mesh);

// Whether a mesh has what a draw needs: a vertex buffer and at least one primitive. A draw
// without them is skipped rather than handed to the device.
bool CanDraw(const DS_MeshBase& mesh);
bool CanDrawIndexed(const DS_MeshBase& mesh, const DS_IndexBufferRecord& indices);

// Draws the mesh's primitives from vertex 0 as bound.
void DrawBoundPrimitives(const DS_MeshBase& mesh);
// Binds a PT quad and draws it (skipped without buffer) with the states that are current.
void DrawQuadPT(const DS_TexturedQuad& quad);

// Fills the grid's buffer with the bilinear interpolation of four PT corners in strip order
// (c0, c1 one side, c2, c3 the opposite side), texture coordinates included: i runs from the
// c0-c1 side, j from c0 towards c2; vertex i + (n + 1) j.
void FillGridMeshPT(DS_GridMeshPT& mesh, const DX_V::PT (&corners)[4]);
// The same for any PT mesh of columns x rows cells (an indexed grid, for example); nothing when
// its buffer holds fewer than (columns + 1)(rows + 1) vertices.
void FillGridVerticesPT(DS_MeshBase& mesh, int columns, int rows, const DX_V::PT (&corners)[4]);

// All five floats of the vertex times the factor.
DX_V::PT& ScaleVertexPT(DX_V::PT& result, float factor, const DX_V::PT& vertex);
