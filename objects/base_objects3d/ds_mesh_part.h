// One drawable part of a 3D object: a textured X-file mesh (an indexed PNT triangle list) drawn
// at every frame of its frame list, and the assignment of the same mesh layout that the fire
// effect's grid uses.
#pragma once

#include <vector>

#include "core/data/file_links.h"
#include "core/render/mesh.h"

class DS_MeshPart : public DS_SpriteArrayT<DX_V::PNT> {
 public:
  // The flag word's low byte: alpha-blended, both faces drawn.
  static constexpr DWORD kTranslucent = 1;

  // The part's texture := the first texture of the picture link's set (none for a set without
  // frames), then LoadMesh. Without a resource manager the part keeps no texture and no mesh.
  static void BindTexture(const DS_FileLink3& image, DS_MeshPart& part, const DS_FileLink3& mesh);
  // Buffers, counts and bounding sphere (frame scalar and position) of the mesh link's mesh,
  // as a triangle list; a mesh that does not load leaves the part without buffers and counts 0.
  static void LoadMesh(DS_MeshPart& part, const DS_FileLink3& mesh);

  bool IsTranslucent() const { return (flags & 0xFF) != 0; }

  std::vector<DS_Frame*> frames;  // where the part is drawn; not owned
};

// An indexed PNT mesh followed by two counts (the fire effect's grid: columns and rows).
struct DS_IndexedMeshPNT : DS_IndexedMesh<DX_V::PNT> {
  int columns = 0;
  int rows = 0;
};

// The simple-mesh level assigned, the index buffer shared (unchanged when assigned to itself),
// the triangle count, index lock pointer and both counts copied.
DS_IndexedMeshPNT& AssignIndexedMeshPNT(DS_IndexedMeshPNT& target, const DS_IndexedMeshPNT& source);
