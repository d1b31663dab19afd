// The cost of one frame of the framework: N windowed outputs cleared and presented through
// RenderOutputs, against a minimal program that only clears and presents one device of the same
// window size. Reports process CPU time per frame (Wine's renderer threads included).
//   vq_bench_frame_floor [outputs] [frames] [width] [height]
// Its soak (bench/soak/run.sh) runs the framework's cleared output through the soak's cadence of
// forced losses and music changes, the music on a plain DirectShow graph, so that what grows
// there is the platform's:
//   vq_bench_frame_floor soak <switches> <frames per switch> <slides per cycle> [width] [height]
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>

#include "bench/bench_support.h"
#include "bench/soak/soak_support.h"
#include "core/render/device_globals.h"
#include "saver/saver_shell.h"
#include "tools/fixtures/desktop_monitors.h"
#include "tools/fixtures/test_wav.h"
#include "tools/device/window_device.h"

namespace {

// Only Clear and Present, with the same present parameters as a windowed output.
double MinimalFrameCost(int frames, int width, int height) {
  DS_WindowDeviceOptions likeWindowedOutput;
  likeWindowedOutput.swapEffect = D3DSWAPEFFECT_COPY;
  likeWindowedOutput.depthFormat = D3DFMT_D16;
  likeWindowedOutput.presentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
  likeWindowedOutput.behaviour = D3DCREATE_HARDWARE_VERTEXPROCESSING;
  DS_WindowDevice minimal;
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

double FrameworkFrameCost(int outputs, int frames, int width, int height) {
  BenchShell shell;
  shell.m_RunMode = RunMode_TestWindow;
  shell.m_DepthBufferWanted = TRUE;
  VQ_ListDesktopMonitors(shell);
  HWND windows[kMaxOutputs] = {};
  windows[0] = MakeDeviceWindow(width, height, L"frame floor");
  shell.m_MainWindow = windows[0];
  shell.m_D3D = Direct3DCreate9(D3D_SDK_VERSION);
  shell.EnumerateDevices();
  shell.OpenOutputs();
  // Further outputs on windows of their own, as further monitors would have.
  for (int i = 1; i < outputs && i < kMaxOutputs; ++i) {
    windows[i] = MakeDeviceWindow(width, height, L"frame floor", 40 * i);
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

using SoakShell = ForcedLossShell<BenchShell>;

// The plainest use of DirectShow for a change of music file: stop, empty the graph, render the
// next file, run; one graph for the whole run, as the soak of the application keeps one.
class PlainMusicGraph {
 public:
  void Open() {
    m_Graph.Reset();
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                     reinterpret_cast<void**>(m_Graph.Receive()));
  }
  void Play(const std::wstring& path) {
    if (!m_Graph) return;
    DS_ComHolder<IMediaControl> control;
    if (FAILED(m_Graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(control.Receive())))) return;
    control->Stop();
    for (;;) {
      DS_ComHolder<IEnumFilters> filters;
      DS_ComHolder<IBaseFilter> filter;
      if (FAILED(m_Graph->EnumFilters(filters.Receive())) || filters->Next(1, filter.Receive(), nullptr) != S_OK) break;
      if (FAILED(m_Graph->RemoveFilter(filter.Get()))) break;
    }
    if (SUCCEEDED(m_Graph->RenderFile(path.c_str(), nullptr))) control->Run();
  }
  void Close() { m_Graph.Reset(); }
  IGraphBuilder* Graph() const { return m_Graph.Get(); }

 private:
  DS_ComHolder<IGraphBuilder> m_Graph;
};

std::wstring WriteToneFile(const wchar_t* name, double frequency) {
  WCHAR directory[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, directory);
  const std::wstring path = std::wstring(directory) + name;
  const std::vector<unsigned char> wav = MakeToneWav(frequency, 2.0, 4000);
  std::ofstream(path.c_str(), std::ios::binary).write(reinterpret_cast<const char*>(wav.data()),
                                                       static_cast<std::streamsize>(wav.size()));
  return path;
}

int RunFloorSoak(int switchesWanted, int framesPerSwitch, int slides, int width, int height) {
  if (switchesWanted < 1 || slides < 1 || width < 16 || height < 16) {
    std::printf("usage: vq_bench_frame_floor soak <switches >= 1> <frames per switch> <slides >= 1> [width] [height]\n");
    return 2;
  }
  CoInitialize(nullptr);
  const std::wstring tones[] = {WriteToneFile(L"vq_floor_soak_a.wav", 440), WriteToneFile(L"vq_floor_soak_b.wav", 660)};
  SoakShell shell;
  shell.m_RunMode = RunMode_TestWindow;
  shell.m_DepthBufferWanted = TRUE;
  VQ_ListDesktopMonitors(shell);
  HWND window = MakeDeviceWindow(width, height, L"frame floor soak");
  shell.m_MainWindow = window;
  shell.m_D3D = Direct3DCreate9(D3D_SDK_VERSION);
  shell.EnumerateDevices();
  shell.OpenOutputs();
  if (shell.m_ErrorMode || shell.m_OutputCount != 1) {
    std::printf("floor: no output (error 0x%08lx)\n", static_cast<unsigned long>(shell.m_ErrorCode));
    return 2;
  }
  PlainMusicGraph music;
  music.Open();
  int switches = 0, musicChanges = 0;
  auto changeMusic = [&] { music.Play(tones[musicChanges++ % 2]); };
  changeMusic();
  // One "slide" is framesPerSwitch frames; a loss a third into the slide after every 25th switch.
  auto runTo = [&](int target) {
    for (int frame = 1; switches < target; ++frame) {
      if (frame == framesPerSwitch / 3 && switches > 0 && switches % kSwitchesPerLoss == 0) shell.lossDue = true;
      const int resetsBefore = shell.resets;
      shell.RenderOutputs();
      PumpMessages();
      if (shell.resets != resetsBefore) changeMusic();
      if (frame == framesPerSwitch) {
        frame = 0;
        ++switches;
        if (switches % kSwitchesPerMusicChange == 0) changeMusic();
        if (switches % kSwitchesPerTrace == 0)
          TraceSoakSample("floor", switches, TakeSoakSample(shell.m_Outputs[0].device, music.Graph()));
      }
    }
  };
  const int warmUp = WarmUpSwitches(slides);
  runTo(warmUp);
  const SoakSample warm = TakeSoakSample(shell.m_Outputs[0].device, music.Graph());
  const int resetsAtWarm = shell.resets, musicAtWarm = musicChanges;
  const int measured = MeasuredSwitches(slides, switchesWanted);
  runTo(warmUp + measured);
  const SoakSample end = TakeSoakSample(shell.m_Outputs[0].device, music.Graph());
  std::printf("floor soak: Clear+Present at %dx%d, %d frames per switch; measured %d switches, %d forced losses, "
              "%d music changes\n", width, height, framesPerSwitch, measured, shell.resets - resetsAtWarm,
              musicChanges - musicAtWarm);
  const bool ok = ReportSoakGrowth("floor", warm, end, measured);
  std::printf("floor resets: %d of %d returned D3D_OK\n", shell.resets - shell.failedResets, shell.resets);
  music.Close();
  shell.CloseOutputs();
  DestroyWindow(window);
  for (DS_SaverAdapter*& adapter : shell.m_Adapters) {
    delete adapter;
    adapter = nullptr;
  }
  return ok && shell.failedResets == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "soak") == 0) {
    return RunFloorSoak(argc > 2 ? std::atoi(argv[2]) : 500, argc > 3 ? std::max(3, std::atoi(argv[3])) : 18,
                        argc > 4 ? std::atoi(argv[4]) : 6, argc > 5 ? std::atoi(argv[5]) : 1024,
                        argc > 6 ? std::atoi(argv[6]) : 768);
  }
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
