// Drawing helpers of the layer that objects may call directly.
#pragma once

#include "core/render/mesh.h"

// A coloured picture-space PC quad, alpha-blended with its vertex colours; the caller has set the
// world.
void DrawColouredQuadPC(const DS_MeshBase& quad);
// The alpha byte of the selection markers at pulse time t.
unsigned MarkerAlpha(int mode, bool highlighted, float t);
