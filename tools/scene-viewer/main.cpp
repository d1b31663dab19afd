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
#include "objects/clock/clock_time.h"
#include "tools/device/window_device.h"
#include "tools/scene-viewer/layer_document.h"
#include "tools/scene-viewer/viewed_scene.h"
#include "tools/scene-viewer/viewer_options.h"

namespace {

// The viewer's own frame time, for its one window.
float g_ApplicationTime = 0.0f;
float ApplicationTime() { return g_ApplicationTime; }

// The viewer's own calendar: clocks show 15 January 2026, never the wall clock.
__time64_t g_ClockTime = 0;
__time64_t ClockTime() { return g_ClockTime; }
void FixClock(int secondsAfterMidnight) {
  struct tm local = {};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 0;
  local.tm_mday = 15;
  local.tm_hour = secondsAfterMidnight / 3600;
  local.tm_min = secondsAfterMidnight / 60 % 60;
  local.tm_sec = secondsAfterMidnight % 60;
  local.tm_isdst = -1;
  g_ClockTime = _mktime64(&local);
  SetClockCalendarSource(ClockTime);
}

int Fail(const std::wstring& message) {
  fwprintf(stderr, L"scene-viewer: %ls\n", message.c_str());
  return 2;
}

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

  DS_WindowDevice device;
  if (!device.Open(options.width, options.height, L"scene viewer")) return Fail(L"no Direct3D device");
  std::srand(options.seed);
  SetPulseClock(ApplicationTime);
  FixClock(options.clockSeconds);

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
      const HRESULT hr = device.Device()->Reset(&device.PresentParameters());
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
