#include "table_direct3d.h"

#include <cstring>

D3DDISPLAYMODE Mode(UINT width, UINT height, D3DFORMAT format, UINT refresh) {
  return D3DDISPLAYMODE{width, height, refresh, format};
}

TableDirect3D::TableDirect3D() {
  createResult = [](const CreateCall&) { return D3DERR_NOTAVAILABLE; };
}

TableDirect3D::~TableDirect3D() {
  for (IDirect3DDevice9* device : kept) device->Release();
  if (m_Real) m_Real->Release();
  if (m_Window) DestroyWindow(m_Window);
}

const TableAdapter* TableDirect3D::Find(UINT adapter) const {
  return adapter < adapters.size() ? &adapters[adapter] : nullptr;
}

bool TableDirect3D::KindOffered(const TableAdapter& adapter, D3DDEVTYPE kind) const {
  return (kind == D3DDEVTYPE_HAL && adapter.hal) || (kind == D3DDEVTYPE_SW && adapter.sw);
}

HRESULT TableDirect3D::GetAdapterIdentifier(UINT adapter, D3DADAPTER_IDENTIFIER9* identifier) {
  const TableAdapter* a = Find(adapter);
  if (!a) return D3DERR_INVALIDCALL;
  std::memset(identifier, 0, sizeof(*identifier));
  std::strncpy(identifier->Description, a->description.c_str(), MAX_DEVICE_IDENTIFIER_STRING - 1);
  identifier->DeviceIdentifier = a->id;
  return D3D_OK;
}

HRESULT TableDirect3D::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
  const TableAdapter* a = Find(adapter);
  if (!a) return D3DERR_INVALIDCALL;
  *mode = a->desktop;
  return D3D_OK;
}

HMONITOR TableDirect3D::GetAdapterMonitor(UINT adapter) {
  const TableAdapter* a = Find(adapter);
  return a ? a->monitor : nullptr;
}

UINT TableDirect3D::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
  const TableAdapter* a = Find(adapter);
  return a && format == D3DFMT_X8R8G8B8 ? static_cast<UINT>(a->modes.size()) : 0;
}

HRESULT TableDirect3D::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index, D3DDISPLAYMODE* mode) {
  const TableAdapter* a = Find(adapter);
  if (!a || format != D3DFMT_X8R8G8B8 || index >= a->modes.size()) return D3DERR_INVALIDCALL;
  *mode = a->modes[index];
  return D3D_OK;
}

HRESULT TableDirect3D::CheckDeviceType(UINT adapter, D3DDEVTYPE kind, D3DFORMAT adapterFormat,
                                       D3DFORMAT backBufferFormat, BOOL windowed) {
  const TableAdapter* a = Find(adapter);
  if (!a || !KindOffered(*a, kind) || adapterFormat == D3DFMT_UNKNOWN) return D3DERR_NOTAVAILABLE;
  if (windowed) {
    windowedChecks.push_back(backBufferFormat);
    if (adapterFormat != a->desktop.Format) return D3DERR_NOTAVAILABLE;
    return a->windowedFormats.count(backBufferFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
  }
  return adapterFormat == backBufferFormat && adapterFormat == D3DFMT_X8R8G8B8 ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT TableDirect3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE kind, D3DCAPS9* caps) {
  const TableAdapter* a = Find(adapter);
  std::memset(caps, 0, sizeof(*caps));
  if (!a || !KindOffered(*a, kind)) return D3DERR_NOTAVAILABLE;
  caps->DeviceType = kind;
  caps->AdapterOrdinal = adapter;
  caps->DevCaps = kind == D3DDEVTYPE_HAL ? a->halDevCaps : a->swDevCaps;
  caps->TextureOpCaps = a->textureOpCaps;
  return D3D_OK;
}

HRESULT TableDirect3D::CheckDeviceFormat(UINT adapter, D3DDEVTYPE kind, D3DFORMAT, DWORD usage,
                                         D3DRESOURCETYPE type, D3DFORMAT format) {
  const TableAdapter* a = Find(adapter);
  if (!a || !KindOffered(*a, kind)) return D3DERR_NOTAVAILABLE;
  if (usage & D3DUSAGE_DEPTHSTENCIL) return a->depthFormats.count(format) ? D3D_OK : D3DERR_NOTAVAILABLE;
  if (type == D3DRTYPE_TEXTURE && format == D3DFMT_V8U8) return a->v8u8 ? D3D_OK : D3DERR_NOTAVAILABLE;
  return D3D_OK;
}

HRESULT TableDirect3D::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE kind, D3DFORMAT, D3DFORMAT,
                                              D3DFORMAT depthFormat) {
  const TableAdapter* a = Find(adapter);
  if (!a || !KindOffered(*a, kind)) return D3DERR_NOTAVAILABLE;
  return a->depthFormats.count(depthFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

static LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

HRESULT TableDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE kind, HWND, DWORD behaviorFlags,
                                    D3DPRESENT_PARAMETERS* presentParameters, IDirect3DDevice9** device) {
  *device = nullptr;
  const CreateCall call{adapter, kind, behaviorFlags, *presentParameters};
  createCalls.push_back(call);
  const HRESULT result = createResult(call);
  if (FAILED(result)) return result;
  // A success stands for a device of that mode; a small real windowed device plays its part.
  if (!m_Real) m_Real = Direct3DCreate9(D3D_SDK_VERSION);
  if (!m_Window) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = HiddenWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TableDirect3DWindow";
    RegisterClassW(&windowClass);
    m_Window = CreateWindowExW(0, L"TableDirect3DWindow", L"", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
  }
  if (!m_Real || !m_Window) return E_FAIL;
  D3DPRESENT_PARAMETERS windowed = {};
  windowed.BackBufferWidth = 64;
  windowed.BackBufferHeight = 64;
  windowed.BackBufferFormat = D3DFMT_X8R8G8B8;
  windowed.BackBufferCount = 1;
  windowed.SwapEffect = D3DSWAPEFFECT_COPY;
  windowed.hDeviceWindow = m_Window;
  windowed.Windowed = TRUE;
  const HRESULT real = m_Real->CreateDevice(0, D3DDEVTYPE_HAL, m_Window, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                            &windowed, device);
  if (SUCCEEDED(real) && keepCreated) {
    (*device)->AddRef();
    kept.push_back(*device);
  }
  return real;
}
