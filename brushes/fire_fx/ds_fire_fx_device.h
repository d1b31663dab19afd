// The fire's device side: its grid. Built when the fire is bound (the live brush's clone, or the
// flame layer's embedded fire), a managed vertex buffer of 9 x 9 vertices and a managed index
// buffer of 128 triangles, so a device reset leaves it as it is; copies share both buffers.
#pragma once

#include "brushes/fire_fx/ds_fire_fx.h"
#include "core/render/mesh.h"

struct DS_FireGrid : DS_IndexedMesh<DX_V::PT> {
  int columns = 0;
  int rows = 0;
};
