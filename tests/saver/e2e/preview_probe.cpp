// Probe: does Wine show what a program draws into a child of another process's window, as the
// control panel's preview asks of a screen saver? A child window filled with pure red every
// 30 ms for the given time, by a Direct3D device (Clear and Present) or by GDI (FillRect); the
// caller reads the screen.
//   preview_probe <d3d|gdi> hosted <parent hwnd> <ms>   the child in another process's window
//   preview_probe <d3d|gdi> local <ms>                  the same child in a window of this
//                                          process, at (100, 100) with a 152 x 112 client
#include <windows.h>
#include <d3d9.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/com/ds_com_holder.h"

namespace {

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeLocalParent(HINSTANCE instance) {
  RECT frame = {100, 100, 100 + 152, 100 + 112};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  return CreateWindowExW(0, L"VqPreviewProbe", L"Preview probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                         frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                         nullptr, nullptr, instance, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  const bool hosted = argc == 5 && std::strcmp(argv[2], "hosted") == 0;
  const bool local = argc == 4 && std::strcmp(argv[2], "local") == 0;
  const bool gdi = argc > 1 && std::strcmp(argv[1], "gdi") == 0;
  if ((!hosted && !local) || (!gdi && std::strcmp(argv[1], "d3d") != 0)) {
    std::fprintf(stderr, "usage: preview_probe <d3d|gdi> hosted <parent hwnd> <ms> | <d3d|gdi> local <ms>\n");
    return 2;
  }
  const DWORD ms = std::strtoul(argv[hosted ? 4 : 3], nullptr, 10);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = ProbeProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = L"VqPreviewProbe";
  RegisterClassW(&windowClass);
  // The child has the saver's class name, so that the preview host finds it.
  windowClass.lpszClassName = L"D3DSaverWndClass";
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  RegisterClassW(&windowClass);

  HWND parent = hosted ? reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(argv[3], nullptr, 10)))
                       : MakeLocalParent(instance);
  RECT client = {};
  GetClientRect(parent, &client);
  HWND child = CreateWindowExW(0, L"D3DSaverWndClass", L"probe", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                               client.bottom, parent, nullptr, instance, nullptr);
  if (!child) {
    std::printf("probe: no child window\n");
    return 1;
  }
  DS_ComHolder<IDirect3D9> direct3d;
  DS_ComHolder<IDirect3DDevice9> device;
  if (!gdi) {
    direct3d = DS_ComHolder<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
    if (!direct3d) return 1;
    D3DPRESENT_PARAMETERS present = {};
    present.Windowed = TRUE;
    present.SwapEffect = D3DSWAPEFFECT_COPY;
    present.BackBufferFormat = D3DFMT_X8R8G8B8;
    present.BackBufferWidth = client.right;
    present.BackBufferHeight = client.bottom;
    present.hDeviceWindow = child;
    const HRESULT hr = direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, child,
                                              D3DCREATE_SOFTWARE_VERTEXPROCESSING, &present, device.Receive());
    std::printf("probe: device 0x%08lX\n", static_cast<unsigned long>(hr));
    if (FAILED(hr)) return 1;
  }
  HRESULT drawn = S_OK;
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    if (device) {
      device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(255, 0, 0), 1.0f, 0);
      drawn = device->Present(nullptr, nullptr, nullptr, nullptr);
    } else {
      HDC dc = GetDC(child);
      if (!FillRect(dc, &client, red)) drawn = E_FAIL;
      ReleaseDC(child, dc);
    }
    Sleep(30);
  }
  DeleteObject(red);
  std::printf("probe: drawn 0x%08lX\nexit status %d\n", static_cast<unsigned long>(drawn), SUCCEEDED(drawn) ? 0 : 1);
  return SUCCEEDED(drawn) ? 0 : 1;
}
