// A Direct3D 9 enumeration answered from a table, so that the device choice can be tested with
// adapters, modes and capabilities that the test machine does not have. Devices that a test lets
// "succeed" are real windowed devices on a hidden window.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "saver/direct3d_access.h"

struct TableAdapter {
  D3DDISPLAYMODE desktop = {800, 600, 60, D3DFMT_X8R8G8B8};
  std::vector<D3DDISPLAYMODE> modes;  // what EnumAdapterModes lists for X8R8G8B8
  HMONITOR monitor = nullptr;
  GUID id = {};
  std::string description = "Table adapter";
  bool hal = true;
  bool sw = false;
  DWORD halDevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE;
  DWORD swDevCaps = 0;
  DWORD textureOpCaps = D3DTEXOPCAPS_BUMPENVMAP;
  bool v8u8 = true;
  std::set<D3DFORMAT> depthFormats = {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D32};
  std::set<D3DFORMAT> windowedFormats = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8};
};

struct CreateCall {
  UINT adapter;
  D3DDEVTYPE kind;
  DWORD behaviorFlags;
  D3DPRESENT_PARAMETERS parameters;
};

class TableDirect3D : public DS_Direct3DAccess {
 public:
  TableDirect3D();
  ~TableDirect3D() override;

  std::vector<TableAdapter> adapters;
  // Decides each CreateDevice call; by default every call fails with D3DERR_NOTAVAILABLE.
  std::function<HRESULT(const CreateCall&)> createResult;
  std::vector<CreateCall> createCalls;
  std::vector<D3DFORMAT> windowedChecks;  // back-buffer formats asked for windowed, in order
  // When set, the table holds a reference of its own on every device it made.
  bool keepCreated = false;
  std::vector<IDirect3DDevice9*> kept;

  UINT GetAdapterCount() override { return static_cast<UINT>(adapters.size()); }
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
  const TableAdapter* Find(UINT adapter) const;
  bool KindOffered(const TableAdapter& adapter, D3DDEVTYPE kind) const;
  IDirect3D9* m_Real = nullptr;
  HWND m_Window = nullptr;
};

D3DDISPLAYMODE Mode(UINT width, UINT height, D3DFORMAT format = D3DFMT_X8R8G8B8, UINT refresh = 60);
