// The application as the benches drive it: the framework steps the main loop would take made
// public, and one windowed output on a test window of a chosen size.
#pragma once

#include <cstdio>

#include "saver/scene_saver_app.h"
#include "tests/render/test_device.h"

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
    m_MainWindow = MakeTestWindow(width, height, title);
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
