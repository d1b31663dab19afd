#include "core/render/device_globals.h"

IDirect3DDevice9* g_Device = nullptr;
