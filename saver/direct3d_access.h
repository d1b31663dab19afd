// The Direct3D 9 calls that the adapter enumeration and the device choice make, behind one small
// interface: the framework calls the real IDirect3D9 through DS_Direct3DCalls, and tests answer
// from tables of adapters, modes and capabilities that no machine of theirs has.
#pragma once

#include <windows.h>
#include <d3d9.h>

class DS_Direct3DAccess {
 public:
  virtual ~DS_Direct3DAccess() = default;

  virtual UINT GetAdapterCount() = 0;
  virtual HRESULT GetAdapterIdentifier(UINT adapter, D3DADAPTER_IDENTIFIER9* identifier) = 0;
  virtual HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) = 0;
  virtual HMONITOR GetAdapterMonitor(UINT adapter) = 0;
  virtual UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format) = 0;
  virtual HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index, D3DDISPLAYMODE* mode) = 0;
  virtual HRESULT CheckDeviceType(UINT adapter, D3DDEVTYPE kind, D3DFORMAT adapterFormat,
                                  D3DFORMAT backBufferFormat, BOOL windowed) = 0;
  virtual HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE kind, D3DCAPS9* caps) = 0;
  virtual HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE kind, D3DFORMAT adapterFormat, DWORD usage,
                                    D3DRESOURCETYPE type, D3DFORMAT format) = 0;
  virtual HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE kind, D3DFORMAT adapterFormat,
                                         D3DFORMAT renderTargetFormat, D3DFORMAT depthFormat) = 0;
  virtual HRESULT CreateDevice(UINT adapter, D3DDEVTYPE kind, HWND focusWindow, DWORD behaviorFlags,
                               D3DPRESENT_PARAMETERS* presentParameters, IDirect3DDevice9** device) = 0;
};

// The real calls, on the IDirect3D9 object that `*d3d` holds at the time of each call.
class DS_Direct3DCalls final : public DS_Direct3DAccess {
 public:
  explicit DS_Direct3DCalls(IDirect3D9* const* d3d) : m_D3D(d3d) {}

  UINT GetAdapterCount() override;
  HRESULT GetAdapterIdentifier(UINT adapter, D3DADAPTER_IDENTIFIER9* identifier) override;
  HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
  HMONITOR GetAdapterMonitor(UINT adapter) override;
  UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
  HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index, D3DDISPLAYMODE* mode) override;
  HRESULT CheckDeviceType(UINT adapter, D3DDEVTYPE kind, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                          BOOL windowed) override;
  HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE kind, D3DCAPS9* caps) override;
  HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE kind, D3DFORMAT adapterFormat, DWORD usage,
                            D3DRESOURCETYPE type, D3DFORMAT format) override;
  HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE kind, D3DFORMAT adapterFormat,
                                 D3DFORMAT renderTargetFormat, D3DFORMAT depthFormat) override;
  HRESULT CreateDevice(UINT adapter, D3DDEVTYPE kind, HWND focusWindow, DWORD behaviorFlags,
                       D3DPRESENT_PARAMETERS* presentParameters, IDirect3DDevice9** device) override;

 private:
  IDirect3D9* const* m_D3D;
};
