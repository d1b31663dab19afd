#include "saver/direct3d_access.h"

#include <cstring>

// Without a Direct3D object every query fails the way a missing adapter would.
UINT DS_Direct3DCalls::GetAdapterCount() { return *m_D3D ? (*m_D3D)->GetAdapterCount() : 0; }

HRESULT DS_Direct3DCalls::GetAdapterIdentifier(UINT adapter, D3DADAPTER_IDENTIFIER9* identifier) {
  return *m_D3D ? (*m_D3D)->GetAdapterIdentifier(adapter, 0, identifier) : E_FAIL;
}

HRESULT DS_Direct3DCalls::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
  return *m_D3D ? (*m_D3D)->GetAdapterDisplayMode(adapter, mode) : E_FAIL;
}

HMONITOR DS_Direct3DCalls::GetAdapterMonitor(UINT adapter) {
  return *m_D3D ? (*m_D3D)->GetAdapterMonitor(adapter) : nullptr;
}

UINT DS_Direct3DCalls::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
  return *m_D3D ? (*m_D3D)->GetAdapterModeCount(adapter, format) : 0;
}

HRESULT DS_Direct3DCalls::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index, D3DDISPLAYMODE* mode) {
  return *m_D3D ? (*m_D3D)->EnumAdapterModes(adapter, format, index, mode) : E_FAIL;
}

HRESULT DS_Direct3DCalls::CheckDeviceType(UINT adapter, D3DDEVTYPE kind, D3DFORMAT adapterFormat,
                                          D3DFORMAT backBufferFormat, BOOL windowed) {
  return *m_D3D ? (*m_D3D)->CheckDeviceType(adapter, kind, adapterFormat, backBufferFormat, windowed) : E_FAIL;
}

HRESULT DS_Direct3DCalls::GetDeviceCaps(UINT adapter, D3DDEVTYPE kind, D3DCAPS9* caps) {
  return *m_D3D ? (*m_D3D)->GetDeviceCaps(adapter, kind, caps) : E_FAIL;
}

HRESULT DS_Direct3DCalls::CheckDeviceFormat(UINT adapter, D3DDEVTYPE kind, D3DFORMAT adapterFormat, DWORD usage,
                                            D3DRESOURCETYPE type, D3DFORMAT format) {
  return *m_D3D ? (*m_D3D)->CheckDeviceFormat(adapter, kind, adapterFormat, usage, type, format) : E_FAIL;
}

HRESULT DS_Direct3DCalls::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE kind, D3DFORMAT adapterFormat,
                                                 D3DFORMAT renderTargetFormat, D3DFORMAT depthFormat) {
  return *m_D3D ? (*m_D3D)->CheckDepthStencilMatch(adapter, kind, adapterFormat, renderTargetFormat, depthFormat)
                : E_FAIL;
}

HRESULT DS_Direct3DCalls::CreateDevice(UINT adapter, D3DDEVTYPE kind, HWND focusWindow, DWORD behaviorFlags,
                                       D3DPRESENT_PARAMETERS* presentParameters, IDirect3DDevice9** device) {
  *device = nullptr;
  return *m_D3D ? (*m_D3D)->CreateDevice(adapter, kind, focusWindow, behaviorFlags, presentParameters, device)
                : E_FAIL;
}
