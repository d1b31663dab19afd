// The saver built from the product's objects and resources with an application that overrides
// virtual hooks only: it logs the framework's state and can inject failures. Configured by
//   VQ_HARNESS      comma-separated words: fail_caps (AcceptDeviceCaps rejects every device),
//                   fail_created (OnDeviceCreated fails), probe_loop (see ProbeLoop)
//   VQ_HARNESS_LOG  the log file (Windows path); one "key=value ..." line per event
#include <windows.h>

#include <string>

#include "saver/scene_saver_app.h"
#include "tests/saver/harness/harness_support.h"

namespace {

std::string g_Options;

bool HasOption(const char* word) {
  const std::string list = "," + g_Options + ",";
  return list.find("," + std::string(word) + ",") != std::string::npos;
}

unsigned long long Handle(HWND window) {
  return static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window));
}

class TestApp : public CSceneSaverApp {
 public:
  HRESULT AcceptDeviceCaps(const D3DCAPS9* caps, DWORD behavior, D3DFORMAT format) override {
    if (HasOption("fail_caps")) return E_FAIL;
    return CSceneSaverApp::AcceptDeviceCaps(caps, behavior, format);
  }
  // Called by Prepare right after the preview's start-up wait.
  HRESULT AddSoftwareRasterizer() override {
    HarnessLog("event=after-wait main=%llu", Handle(m_MainWindow));
    return CSceneSaverApp::AddSoftwareRasterizer();
  }
  HRESULT OnDeviceCreated() override {
    HarnessLog("event=device-created");
    if (HasOption("fail_created")) return E_FAIL;
    return CSceneSaverApp::OnDeviceCreated();
  }
  HRESULT OnShutdown() override {
    HarnessLog("event=shutdown");
    return CSceneSaverApp::OnShutdown();
  }
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CREATE) HarnessLog("event=window-created hwnd=%llu", Handle(window));
    return CSceneSaverApp::HandleMessage(window, message, wParam, lParam);
  }

  void LogState(const char* event) {
    HarnessLog("event=%s mode=%d parent=%llu main=%llu monitors=%u error=%d code=0x%08lX text=%ls", event,
               static_cast<int>(m_RunMode), Handle(m_ParentWindow), Handle(m_MainWindow), m_MonitorCount,
               m_ErrorMode ? 1 : 0, static_cast<unsigned long>(m_ErrorCode), m_ErrorText);
    for (UINT i = 0; i < m_MonitorCount; ++i) {
      const DS_SaverMonitor& m = m_Monitors[i];
      HarnessLog("event=monitor index=%u handle=%d rect=%ld,%ld,%ld,%ld window=%llu", i, m.monitor != nullptr ? 1 : 0,
                 m.screenRect.left, m.screenRect.top, m.screenRect.right, m.screenRect.bottom, Handle(m.saverWindow));
    }
  }

  // Tells whether this build has the real main loop: the shutdown sequence posts WM_QUIT and
  // the loop consumes it. Exit code 0 when it does, 77 when the loop is still a stand-in.
  int ProbeLoop() {
    m_RunMode = RunMode_Configure;
    SetError(E_FAIL);
    Quit();
    MSG message;
    const bool quitPosted = PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    PostQuitMessage(0);
    MainLoop();
    const bool quitLeft = PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    const bool real = quitPosted && !quitLeft;
    HarnessLog("event=probe-loop real=%d", real ? 1 : 0);
    return real ? 0 : 77;
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  OpenHarnessLog(L"VQ_HARNESS_LOG");
  char buffer[512];
  if (GetEnvironmentVariableA("VQ_HARNESS", buffer, sizeof(buffer)) > 0) g_Options = buffer;

  StartHarnessGdiplus();
  if (HasOption("probe_loop")) {
    TestApp app;
    return app.ProbeLoop();
  }
  HarnessLog("event=start options=%s", g_Options.c_str());
  return RunHarnessApp<TestApp>(instance);
}
