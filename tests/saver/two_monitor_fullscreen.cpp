// Full screen on every monitor: one topmost window and one device per monitor, each output
// cleared to its own colour frame after frame, until a file named "quit" appears in the current
// folder. Writes the frames drawn per output to "frames.txt" so that a script can take screenshots
// while both outputs run. Exit code 0 when every monitor with an adapter had its own device.
#include <cstdio>
#include <cstring>

#include "test_shell.h"
#include "tools/fixtures/desktop_monitors.h"

namespace {

constexpr UINT kQuitMessage = WM_APP + 1;
TestShell* g_Shell = nullptr;

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kQuitMessage && g_Shell) {
    g_Shell->Quit();
    return 0;
  }
  if (message == WM_SETCURSOR) {
    SetCursor(nullptr);
    return TRUE;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

const DWORD kColours[kMaxOutputs] = {0xFFC04020, 0xFF20C040, 0xFF2040C0, 0xFFC0C020, 0xFFC020C0,
                                     0xFF20C0C0, 0xFF808080, 0xFF604020, 0xFF206040};

}  // namespace

int main() {
  TestShell shell;
  g_Shell = &shell;
  shell.m_RunMode = RunMode_FullScreen;
  shell.m_DepthBufferWanted = TRUE;
  VQ_ListDesktopMonitors(shell);

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = SaverWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = L"TwoMonitorSaverWindow";
  RegisterClassW(&windowClass);
  for (UINT i = 0; i < shell.m_MonitorCount; ++i) {
    DS_SaverMonitor& m = shell.m_Monitors[i];
    const RECT& r = m.screenRect;
    m.saverWindow = CreateWindowExW(WS_EX_TOPMOST, L"TwoMonitorSaverWindow", L"saver", WS_POPUP | WS_VISIBLE, r.left,
                                    r.top, r.right - r.left, r.bottom - r.top, shell.m_MainWindow, nullptr,
                                    windowClass.hInstance, nullptr);
    if (!shell.m_MainWindow) shell.m_MainWindow = m.saverWindow;
    std::printf("monitor %u: %ldx%ld at (%ld,%ld)\n", i, r.right - r.left, r.bottom - r.top, r.left, r.top);
  }

  shell.m_D3D = Direct3DCreate9(D3D_SDK_VERSION);
  if (!shell.m_D3D || shell.EnumerateDevices() < 0) {
    std::printf("no Direct3D\n");
    return 2;
  }
  UINT claimed = 0;
  for (UINT a = 0; a < shell.m_AdapterCount; ++a) {
    std::printf("adapter %u: monitor %d, %u device kinds\n", a, shell.m_Adapters[a]->monitorIndex,
                shell.m_Adapters[a]->deviceCount);
    if (shell.m_Adapters[a]->monitorIndex >= 0) ++claimed;
  }

  UINT frames[kMaxOutputs] = {};
  UINT outputs = 0;
  shell.draw = [&](UINT output) {
    g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kColours[output], 1.0f, 0);
    ++frames[output];
    outputs = shell.m_OutputCount;
    if (output + 1 != shell.m_OutputCount) return;
    if (FILE* status = std::fopen("frames.txt.new", "w")) {
      for (UINT i = 0; i < shell.m_OutputCount; ++i) std::fprintf(status, "%u ", frames[i]);
      std::fprintf(status, "\n");
      std::fclose(status);
      MoveFileExW(L"frames.txt.new", L"frames.txt", MOVEFILE_REPLACE_EXISTING);
    }
    if (GetFileAttributesW(L"quit") != INVALID_FILE_ATTRIBUTES) PostMessageW(shell.m_MainWindow, kQuitMessage, 0, 0);
  };
  const HRESULT result = shell.MainLoop();
  std::printf("main loop %ld, error mode %d code 0x%08lx, %u outputs, frames %u %u\n", static_cast<long>(result),
              shell.m_ErrorMode, static_cast<unsigned long>(shell.m_ErrorCode), outputs, frames[0], frames[1]);
  const int status = result == 0 && !shell.m_ErrorMode && outputs == claimed && outputs == shell.m_MonitorCount ? 0 : 1;
  std::printf("exit status %d\n", status);
  return status;
}
