// The fixed render, sampler and texture-stage states every layer sets on each device reset; alpha
// operations and alpha blending are left to the device defaults. Each draw sets its whole state
// itself (core/render/draw_states.h), so none depends on these or on what another draw left.
#pragma once

void SetLayerDefaultStates();
