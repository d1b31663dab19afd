// The scene viewer: loads a scene document with its resource manager, steps it at fixed
// application times and writes the back buffer of chosen frames as PNG files, so that pictures
// of the scene never depend on the wall clock. It plays a whole scene document as the saver does,
// or a single layer record as a slide drives its layer.
#include <d3dx9.h>
#include <shellapi.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/layer/ds_2d_light.h"
#include "core/layer/pulse_clock.h"
#include "core/render/device_globals.h"
#include "tools/scene-viewer/layer_document.h"
#include "tools/scene-viewer/viewed_scene.h"
#include "tools/scene-viewer/viewer_options.h"

namespace {

float g_ApplicationTime = 0.0f;
float ApplicationTime() { return g_ApplicationTime; }

int Fail(const std::wstring& message) {
  fwprintf(stderr, L"scene-viewer: %ls\n", message.c_str());
  return 2;
}

LRESULT CALLBACK ViewerWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

class ViewerDevice {
 public:
  ~ViewerDevice() {
    if (g_Device == m_Device) g_Device = nullptr;
    if (m_Device) m_Device->Release();
    if (m_D3D) m_D3D->Release();
    if (m_Window) DestroyWindow(m_Window);
  }
  bool Open(int width, int height) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ViewerWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"VqSceneViewer";
    RegisterClassW(&wc);
    m_Window = CreateWindowW(L"VqSceneViewer", L"scene viewer", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                             instance, nullptr);
    if (!m_Window) return false;
    m_D3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (!m_D3D) return false;
    m_Present.BackBufferWidth = static_cast<UINT>(width);
    m_Present.BackBufferHeight = static_cast<UINT>(height);
    m_Present.BackBufferFormat = D3DFMT_X8R8G8B8;
    m_Present.BackBufferCount = 1;
    m_Present.SwapEffect = D3DSWAPEFFECT_DISCARD;
    m_Present.hDeviceWindow = m_Window;
    m_Present.Windowed = TRUE;
    m_Present.EnableAutoDepthStencil = TRUE;
    m_Present.AutoDepthStencilFormat = D3DFMT_D24S8;
    m_Present.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    if (FAILED(m_D3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_Window,
                                   D3DCREATE_SOFTWARE_VERTEXPROCESSING, &m_Present, &m_Device)))
      return false;
    g_Device = m_Device;
    return true;
  }
  HRESULT Reset() { return m_Device->Reset(&m_Present); }
  IDirect3DDevice9* Device() const { return m_Device; }

 private:
  HWND m_Window = nullptr;
  IDirect3D9* m_D3D = nullptr;
  IDirect3DDevice9* m_Device = nullptr;
  D3DPRESENT_PARAMETERS m_Present = {};
};

std::wstring FramePath(const std::wstring& dir, float t) {
  wchar_t name[64];
  swprintf(name, 64, L"\\frame-%06d.png", static_cast<int>(t * 1000.0f + 0.5f));
  return dir + name;
}

bool SaveBackBuffer(IDirect3DDevice9* device, const std::wstring& path) {
  IDirect3DSurface9* back = nullptr;
  if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) return false;
  const HRESULT hr = D3DXSaveSurfaceToFileW(path.c_str(), D3DXIFF_PNG, back, nullptr, nullptr);
  back->Release();
  return SUCCEEDED(hr);
}

bool IsRequested(const std::vector<float>& times, float t) {
  for (float r : times)
    if (r == t) return true;
  return false;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);

  ViewerOptions options;
  std::wstring error;
  if (!ParseViewerOptions(args, options, error)) return Fail(error);
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(options.document, bytes)) return Fail(L"cannot read " + options.document);
  CreateDirectoryW(options.outputDir.c_str(), nullptr);

  ViewerDevice device;
  if (!device.Open(options.width, options.height)) return Fail(L"no Direct3D device");
  std::srand(options.seed);
  SetPulseClock(ApplicationTime);

  std::unique_ptr<ViewedScene> scene = LoadViewedScene(bytes, options, error);
  if (!scene) return Fail(options.document + L": " + error);

  FILE* trace = nullptr;
  if (options.trace) trace = _wfopen((options.outputDir + L"\\camera.txt").c_str(), L"w");
  bool resetDone = options.resetBefore < 0.0f;
  int written = 0;
  for (float t : FrameSchedule(options.times, options.step)) {
    if (!resetDone && t >= options.resetBefore) {
      resetDone = true;
      scene->OnDeviceLost();
      const HRESULT hr = device.Reset();
      if (hr != D3D_OK) return Fail(L"the device reset failed");
      scene->OnDeviceReset();
    }
    g_ApplicationTime = t;
    IDirect3DDevice9* d = device.Device();
    if (FAILED(d->BeginScene())) return Fail(L"BeginScene failed");
    scene->Frame(t);
    d->EndScene();
    if (!IsRequested(options.times, t)) continue;
    if (!SaveBackBuffer(d, FramePath(options.outputDir, t))) return Fail(L"cannot write a frame");
    ++written;
    DS_2D_Light* layer = scene->TracedLayer();
    if (trace && layer) {
      const DSM_Camera& camera = layer->Camera();
      const DS_CameraPose& pose = camera.LastPose();
      fprintf(trace, "%.3f %.5f %.5f %.5f %.5f\n", t, camera.Clock(), pose.zoom, pose.panX, pose.panY);
    }
  }
  if (trace) fclose(trace);
  scene.reset();
  fwprintf(stdout, L"scene-viewer: %d frames written to %ls\n", written, options.outputDir.c_str());
  return 0;
}
