// The application as the benches drive it: the framework steps the main loop would take made
// public, and one windowed output on a test window of a chosen size.
#pragma once

#include <cstdio>

#include "saver/scene_saver_app.h"
#include "sound/sound_device.h"
#include "tools/device/window_device.h"

class BenchApp : public CSceneSaverApp {
 public:
  using CSaverShell::CloseOutputs;
  using CSaverShell::EnumerateDevices;
  using CSaverShell::FindMonitors;
  using CSaverShell::OpenOutputs;
  using CSaverShell::RenderOutputs;

  // The test-window mode on a width x height window; false, after saying why, without an output.
  bool OpenWindowOutput(int width, int height, const wchar_t* title) {
    m_RunMode = RunMode_TestWindow;
    m_MainWindow = MakeDeviceWindow(width, height, title);
    FindMonitors();
    m_D3D = Direct3DCreate9(D3D_SDK_VERSION);
    EnumerateDevices();
    OpenOutputs();
    if (m_ErrorMode || m_OutputCount != 1) {
      std::printf("no output (error 0x%08lx)\n", static_cast<unsigned long>(m_ErrorCode));
      return false;
    }
    return true;
  }

  // The full-screen mode, one output per monitor, as the saver's /s opens it; false, after saying
  // why, without an output.
  bool OpenFullScreenOutputs() {
    m_RunMode = RunMode_FullScreen;
    m_Instance = GetModuleHandleW(nullptr);
    FindMonitors();
    if (FAILED(OpenSaverWindows())) {
      std::printf("no full-screen window\n");
      return false;
    }
    m_D3D = Direct3DCreate9(D3D_SDK_VERSION);
    EnumerateDevices();
    OpenOutputs();
    if (m_ErrorMode || m_OutputCount < 1) {
      std::printf("no full-screen output (error 0x%08lx)\n", static_cast<unsigned long>(m_ErrorCode));
      return false;
    }
    return true;
  }
};

// The application with its clock in the bench's hands once `fixedClock` is set.
class ClockedBenchApp : public BenchApp {
 public:
  bool fixedClock = false;
  double clock = 0;

  HRESULT DrawFrame() override {
    if (fixedClock) m_AppTime = static_cast<float>(clock);
    return BenchApp::DrawFrame();
  }
};

// Runs a bench of the application; the application opened the sound device, which is released
// as the saver releases it, after the application.
inline int RunAppBench(int (*run)(int, char**), int argc, char** argv) {
  const int result = run(argc, argv);
  ReleaseSoundDevice();
  return result;
}
