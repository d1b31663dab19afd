// The cost of one frame of the framework: N windowed outputs cleared and presented through
// RenderOutputs, against a minimal program that only clears and presents one device of the same
// window size. Reports process CPU time per frame (Wine's renderer threads included).
//   vq_bench_frame_floor [outputs] [frames] [width] [height]
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/bench_support.h"
#include "core/render/device_globals.h"
#include "saver/saver_shell.h"
#include "tests/render/test_device.h"

namespace {

// Only Clear and Present, with the same present parameters as a windowed output.
double MinimalFrameCost(int frames, int width, int height) {
  DS_TestDeviceOptions likeWindowedOutput;
  likeWindowedOutput.swapEffect = D3DSWAPEFFECT_COPY;
  likeWindowedOutput.depthFormat = D3DFMT_D16;
  likeWindowedOutput.presentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
  likeWindowedOutput.behaviour = D3DCREATE_HARDWARE_VERTEXPROCESSING;
  DS_TestDevice minimal;
  if (!minimal.Open(width, height, L"frame floor", likeWindowedOutput)) {
    std::printf("minimal: no device\n");
    std::exit(2);
  }
  IDirect3DDevice9* device = minimal.Device();
  for (int i = 0; i < 10; ++i) {  // warm up
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF203040, 1.0f, 0);
    device->Present(nullptr, nullptr, nullptr, nullptr);
  }
  PumpMessages();
  const double start = CpuSeconds();
  for (int i = 0; i < frames; ++i) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF203040, 1.0f, 0);
    device->Present(nullptr, nullptr, nullptr, nullptr);
  }
  return (CpuSeconds() - start) / frames;
}

class BenchShell : public CSaverShell {
 public:
  using CSaverShell::CloseOutputs;
  using CSaverShell::EnumerateDevices;
  using CSaverShell::OpenOutputs;
  using CSaverShell::OpenWindowedOutput;
  using CSaverShell::RenderOutputs;

  void SelectOutput(UINT) override { g_Device = m_Device; }
  HRESULT DrawFrame() override {
    return g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF203040, 1.0f, 0);
  }
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT rect, LPARAM data) {
  CSaverShell& shell = *reinterpret_cast<CSaverShell*>(data);
  if (shell.m_MonitorCount >= kMaxMonitors) return FALSE;
  DS_SaverMonitor& m = shell.m_Monitors[shell.m_MonitorCount++];
  std::memset(&m, 0, sizeof(m));
  m.monitor = monitor;
  m.screenRect = *rect;
  m.adapterIndex = -1;
  return TRUE;
}

double FrameworkFrameCost(int outputs, int frames, int width, int height) {
  BenchShell shell;
  shell.m_RunMode = RunMode_TestWindow;
  shell.m_DepthBufferWanted = TRUE;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&shell));
  HWND windows[kMaxOutputs] = {};
  windows[0] = MakeTestWindow(width, height, L"frame floor");
  shell.m_MainWindow = windows[0];
  shell.m_D3D = Direct3DCreate9(D3D_SDK_VERSION);
  shell.EnumerateDevices();
  shell.OpenOutputs();
  // Further outputs on windows of their own, as further monitors would have.
  for (int i = 1; i < outputs && i < kMaxOutputs; ++i) {
    windows[i] = MakeTestWindow(width, height, L"frame floor", 40 * i);
    DS_SaverOutput& output = shell.m_Outputs[shell.m_OutputCount];
    std::memset(&output, 0, sizeof(output));
    output.adapter = shell.m_Outputs[0].adapter;
    shell.m_Adapters[output.adapter]->deviceWindow = windows[i];
    if (shell.OpenWindowedOutput(output) == 0) ++shell.m_OutputCount;
  }
  if (shell.m_ErrorMode || static_cast<int>(shell.m_OutputCount) != outputs) {
    std::printf("framework: %u of %d outputs (error 0x%08lx)\n", shell.m_OutputCount, outputs,
                static_cast<unsigned long>(shell.m_ErrorCode));
    std::exit(2);
  }
  for (int i = 0; i < 10; ++i) shell.RenderOutputs();
  PumpMessages();
  const double start = CpuSeconds();
  for (int i = 0; i < frames; ++i) shell.RenderOutputs();
  const double cost = (CpuSeconds() - start) / frames;
  shell.CloseOutputs();
  for (HWND window : windows)
    if (window) DestroyWindow(window);
  for (DS_SaverAdapter*& adapter : shell.m_Adapters) {
    delete adapter;
    adapter = nullptr;
  }
  return cost;
}

}  // namespace

int main(int argc, char** argv) {
  const int outputs = argc > 1 ? std::atoi(argv[1]) : 2;
  const int frames = argc > 2 ? std::atoi(argv[2]) : 300;
  const int width = argc > 3 ? std::atoi(argv[3]) : 600;
  const int height = argc > 4 ? std::atoi(argv[4]) : 400;
  const double minimal = MinimalFrameCost(frames, width, height);
  const double framework = FrameworkFrameCost(outputs, frames, width, height);
  std::printf("window %dx%d, %d frames\n", width, height, frames);
  std::printf("minimal Clear+Present:        %.3f ms CPU per frame\n", minimal * 1e3);
  std::printf("framework, %d output(s):       %.3f ms CPU per frame (%.3f ms per output)\n", outputs, framework * 1e3,
              framework * 1e3 / outputs);
  std::printf("ratio framework / (%d x minimal): %.2f\n", outputs, minimal > 0 ? framework / (outputs * minimal) : 0.0);
  return 0;
}
