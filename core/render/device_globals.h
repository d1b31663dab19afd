// The device of the output being drawn. The framework publishes it when it makes an output
// current; everything that draws reads it from here, never from the output.
#pragma once

#include <d3d9.h>

extern IDirect3DDevice9* g_Device;
