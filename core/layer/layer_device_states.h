// The fixed render, sampler and texture-stage states every layer sets on each device reset.
// The draws change some of them and put back only what they name; alpha operations and alpha
// blending are left to the device defaults until a draw enables blending.
#pragma once

void SetLayerDefaultStates();
