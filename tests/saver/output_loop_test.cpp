// Outputs on real windowed devices: opening for the test window and the preview, drawing and
// presenting, loss and reset through the hooks, the main loop, shutdown and its references.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "table_direct3d.h"
#include "test_shell.h"
#include "tools/device/window_device.h"
#include "tools/fixtures/desktop_monitors.h"

namespace {

constexpr UINT kQuitMessage = WM_APP + 1;
constexpr UINT_PTR kQuitTimer = 7;
TestShell* g_QuitTarget = nullptr;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kQuitMessage && g_QuitTarget) {
    g_QuitTarget->Quit();
    return 0;
  }
  if (message == WM_TIMER && wParam == kQuitTimer) {
    KillTimer(window, kQuitTimer);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A visible window with the given client size; a child of `parent` when one is given.
HWND MakeWindow(int width, int height, HWND parent = nullptr) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"OutputLoopTestWindow";
    RegisterClassW(&windowClass);
    registered = true;
  }
  const DWORD style = parent ? WS_CHILD : WS_OVERLAPPEDWINDOW;
  RECT r = {0, 0, width, height};
  if (!parent) AdjustWindowRect(&r, style, FALSE);
  return CreateWindowExW(0, L"OutputLoopTestWindow", L"output test", style, parent ? 0 : 50, parent ? 0 : 50,
                         r.right - r.left, r.bottom - r.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The framework's own view of the desktop: one record per monitor, the first showing `window`.
void FillMonitors(CSaverShell& shell, HWND window) {
  VQ_ListDesktopMonitors(shell);
  shell.m_Monitors[0].saverWindow = window;
  shell.m_MainWindow = window;
}

// The back buffer's pixel, read before Present.
DWORD BackBufferPixel(IDirect3DDevice9* device, int x, int y) {
  DS_PixelReadback pixels;
  return pixels.ReadBackBuffer(device) ? pixels.At(x, y) : 0xDEADBEEF;
}

const DWORD kColours[] = {0x00C04020, 0x0020C040, 0x002040C0};

class OutputLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    window = MakeWindow(600, 400);
    ASSERT_NE(window, nullptr);
    g_QuitTarget = &shell;
    shell.m_DepthBufferWanted = TRUE;
    // Each output clears to its own colour; the pixel is read back before Present.
    shell.draw = [this](UINT output) {
      g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000 | kColours[output], 1.0f, 0);
      drawn.push_back(BackBufferPixel(g_Device, 5, 5));
    };
  }
  void TearDown() override {
    g_QuitTarget = nullptr;
    for (HWND w : {second, window, parent})
      if (w) DestroyWindow(w);
  }
  void Prepare(DS_RunMode mode) {
    shell.m_RunMode = mode;
    FillMonitors(shell, window);
    shell.m_D3D = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(shell.m_D3D, nullptr);
    ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  }
  // A second windowed output on another window of the same adapter, as a second monitor would be.
  void AddSecondOutput() {
    second = MakeWindow(320, 240);
    DS_SaverOutput& output = shell.m_Outputs[shell.m_OutputCount];
    std::memset(&output, 0, sizeof(output));
    output.adapter = shell.m_Outputs[0].adapter;
    shell.m_Adapters[output.adapter]->deviceWindow = second;
    ASSERT_EQ(shell.OpenWindowedOutput(output), S_OK);
    ++shell.m_OutputCount;
    output.deviceObjectsCreated = TRUE;
    output.deviceObjectsReset = TRUE;
  }

  HWND window = nullptr, second = nullptr, parent = nullptr;
  std::vector<DWORD> drawn;
  TestShell shell;
};

using Log = std::vector<std::string>;

TEST_F(OutputLoop, TestWindowDrawsAndPresentsOneWindowedDevice) {
  Prepare(RunMode_TestWindow);
  shell.OpenOutputs();
  ASSERT_FALSE(shell.m_ErrorMode) << std::hex << shell.m_ErrorCode;
  ASSERT_EQ(shell.m_OutputCount, 1u);
  EXPECT_TRUE(shell.m_Windowed);
  EXPECT_EQ(shell.m_ScreenRect.right - shell.m_ScreenRect.left, 600);
  EXPECT_EQ(shell.m_ScreenRect.bottom - shell.m_ScreenRect.top, 400);
  EXPECT_EQ(shell.log, (Log{"created0", "devicereset0"}));
  EXPECT_EQ(std::wstring(shell.m_Outputs[0].deviceText).rfind(L"HAL (", 0), 0u) << shell.m_Outputs[0].deviceText;

  shell.log.clear();
  ASSERT_EQ(shell.RenderOutputs(), S_OK);
  ASSERT_EQ(shell.RenderOutputs(), S_OK);
  EXPECT_EQ(shell.log, (Log{"test0", "draw0", "present0", "test0", "draw0", "present0"}));
  EXPECT_EQ(drawn, (std::vector<DWORD>{kColours[0], kColours[0]}));
  EXPECT_EQ(shell.m_BackBufferDesc.Width, 600u);
  EXPECT_EQ(shell.m_BackBufferDesc.Height, 400u);
  EXPECT_EQ(g_Device, shell.m_Outputs[0].device);

  // Shutdown releases the device and then the Direct3D object, leaving no reference behind.
  IDirect3DDevice9* device = shell.m_Outputs[0].device;
  IDirect3D9* d3d = shell.m_D3D;
  device->AddRef();
  d3d->AddRef();
  shell.log.clear();
  shell.CloseOutputs();
  EXPECT_EQ(shell.log, (Log{"lost0", "destroyed0"}));
  EXPECT_EQ(shell.m_OutputCount, 0u);
  EXPECT_EQ(shell.m_D3D, nullptr);
  EXPECT_EQ(shell.m_Device, nullptr);
  EXPECT_EQ(device->Release(), 0u);
  EXPECT_EQ(d3d->Release(), 0u);
}

TEST_F(OutputLoop, PreviewDrawsIntoTheChildOfItsParent) {
  DestroyWindow(window);
  parent = MakeWindow(152, 112);
  window = MakeWindow(152, 112, parent);
  Prepare(RunMode_Preview);
  shell.OpenOutputs();
  ASSERT_FALSE(shell.m_ErrorMode) << std::hex << shell.m_ErrorCode;
  ASSERT_EQ(shell.m_OutputCount, 1u);
  shell.RenderOutputs();
  EXPECT_EQ(drawn, (std::vector<DWORD>{kColours[0]}));
  EXPECT_EQ(shell.m_BackBufferDesc.Width, 152u);
  EXPECT_EQ(shell.m_BackBufferDesc.Height, 112u);
}

TEST_F(OutputLoop, ALostDeviceEndsTheWholeFrameAndAResetRunsTheHooksInOrder) {
  Prepare(RunMode_TestWindow);
  shell.OpenOutputs();
  AddSecondOutput();
  ASSERT_EQ(shell.m_OutputCount, 2u);
  std::vector<HRESULT> script;  // one answer per device test, in order
  shell.testDevice = [&script](UINT) {
    const HRESULT answer = script.empty() ? D3D_OK : script.front();
    if (!script.empty()) script.erase(script.begin());
    return answer;
  };

  // Lost on the first output: nothing is drawn and nothing presented.
  shell.log.clear();
  script = {D3DERR_DEVICELOST};
  shell.RenderOutputs();
  EXPECT_EQ(shell.log, (Log{"test0"}));
  // Lost on the second: the first was drawn, but neither is presented.
  shell.log.clear();
  script = {D3D_OK, D3DERR_DEVICELOST};
  shell.RenderOutputs();
  EXPECT_EQ(shell.log, (Log{"test0", "draw0", "test1"}));

  // The second can be reset: lost hook, the real Reset, reset hook, then it draws again.
  shell.log.clear();
  drawn.clear();
  script = {D3D_OK, D3DERR_DEVICENOTRESET};
  shell.RenderOutputs();
  EXPECT_EQ(shell.log, (Log{"test0", "draw0", "test1", "lost1", "reset1", "devicereset1", "draw1", "present0",
                            "present1"}));
  EXPECT_EQ(drawn, (std::vector<DWORD>{kColours[0], kColours[1]}));
  EXPECT_TRUE(shell.m_Outputs[1].deviceObjectsReset);
  EXPECT_FALSE(shell.m_ErrorMode);
  EXPECT_EQ(shell.m_BackBufferDesc.Width, 320u);
}

TEST_F(OutputLoop, AFailedResetEntersErrorModeWithoutDrawingOrPresentingThatOutput) {
  Prepare(RunMode_TestWindow);
  shell.OpenOutputs();
  AddSecondOutput();
  shell.testDevice = [](UINT output) { return output == 0 ? D3DERR_DEVICENOTRESET : D3D_OK; };
  shell.resetDevice = [](UINT) { return D3DERR_DEVICELOST; };
  shell.log.clear();
  shell.RenderOutputs();
  EXPECT_EQ(shell.log, (Log{"test0", "lost0", "reset0", "test1", "draw1", "present1"}));
  EXPECT_TRUE(shell.m_ErrorMode);
  EXPECT_EQ(shell.m_ErrorCode, S_OK);  // a failed reset brings no code of its own
  EXPECT_FALSE(shell.m_Outputs[0].deviceObjectsReset);

  // The reset succeeds but the application cannot restore its objects: the same.
  shell.resetDevice = nullptr;
  shell.resetResult = E_FAIL;
  shell.log.clear();
  shell.RenderOutputs();
  EXPECT_EQ(shell.log, (Log{"test0", "reset0", "devicereset0", "test1", "draw1", "present1"}));

  shell.log.clear();
  shell.CloseOutputs();
  EXPECT_EQ(shell.log, (Log{"destroyed0", "lost1", "destroyed1"}));
}

TEST_F(OutputLoop, MainLoopRunsFramesUntilQuitAndCountsTimeFromItsStart) {
  Prepare(RunMode_TestWindow);
  std::vector<float> times;
  shell.draw = [this, &times](UINT) {
    times.push_back(shell.m_AppTime);
    if (times.size() == 4) PostMessageW(window, kQuitMessage, 0, 0);
  };
  EXPECT_EQ(shell.MainLoop(), S_OK);
  EXPECT_EQ(shell.log, (Log{"startup", "created0", "devicereset0", "test0", "draw0", "present0", "test0", "draw0",
                            "present0", "test0", "draw0", "present0", "test0", "draw0", "present0", "lost0",
                            "destroyed0", "shutdown"}));
  ASSERT_EQ(times.size(), 4u);
  EXPECT_GE(times[0], 0.02f);  // at least one 30 ms sleep
  for (size_t i = 1; i < times.size(); ++i) EXPECT_GE(times[i] - times[i - 1], 0.02f);
  EXPECT_EQ(shell.m_D3D, nullptr);
}

TEST_F(OutputLoop, AFailedStartupEndsTheLoopWithItsCode) {
  Prepare(RunMode_TestWindow);
  shell.startupResult = E_OUTOFMEMORY;
  EXPECT_EQ(shell.MainLoop(), E_OUTOFMEMORY);
  EXPECT_EQ(shell.log, (Log{"startup"}));
  EXPECT_EQ(shell.m_OutputCount, 0u);
}

TEST_F(OutputLoop, InErrorModeTheLoopOpensNothingAndStillEnds) {
  Prepare(RunMode_TestWindow);
  shell.m_ErrorMode = TRUE;
  SetTimer(window, kQuitTimer, 200, nullptr);
  EXPECT_EQ(shell.MainLoop(), S_OK);
  EXPECT_TRUE(shell.log.empty());
  EXPECT_EQ(shell.m_OutputCount, 0u);
}

TEST_F(OutputLoop, AfterAFailedResetTheLoopDrawsNoMoreFramesAndStillEnds) {
  Prepare(RunMode_TestWindow);
  int frames = 0;
  shell.draw = [&frames](UINT) { ++frames; };
  shell.testDevice = [&frames](UINT) { return frames >= 2 ? D3DERR_DEVICENOTRESET : D3D_OK; };
  // The loop ends a few turns after the failure, time in which nothing more may be drawn.
  shell.resetDevice = [this](UINT) {
    SetTimer(window, kQuitTimer, 200, nullptr);
    return E_FAIL;
  };
  EXPECT_EQ(shell.MainLoop(), S_OK);
  EXPECT_EQ(frames, 2);
  EXPECT_TRUE(shell.m_ErrorMode);
}

TEST_F(OutputLoop, AHookFailureWhileOpeningRecordsItsCode) {
  Prepare(RunMode_TestWindow);
  shell.createdResult = E_FAIL;
  shell.OpenOutputs();
  EXPECT_EQ(shell.log, (Log{"created0"}));  // the reset hook waits for created objects
  EXPECT_TRUE(shell.m_ErrorMode);
  EXPECT_EQ(shell.m_ErrorCode, kErrDeviceHookFailed);
  EXPECT_FALSE(shell.m_Outputs[0].deviceObjectsCreated);
  shell.log.clear();
  shell.CloseOutputs();
  EXPECT_TRUE(shell.log.empty());
}

// Errors of the opening, over table adapters -------------------------------------------------

HMONITOR FakeMonitor(int n) { return reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(0x2000 + n)); }

class OpeningErrors : public OutputLoop {
 protected:
  void Table(DS_RunMode mode, std::initializer_list<HMONITOR> monitors, std::initializer_list<HMONITOR> adapters) {
    shell.m_RunMode = mode;
    shell.m_Direct3DAccess = &table;
    shell.m_MainWindow = window;
    for (HMONITOR handle : monitors) {
      DS_SaverMonitor& m = shell.m_Monitors[shell.m_MonitorCount++];
      std::memset(&m, 0, sizeof(m));
      m.monitor = handle;
      m.adapterIndex = -1;
      m.saverWindow = window;
    }
    for (HMONITOR handle : adapters) {
      table.adapters.emplace_back();
      table.adapters.back().monitor = handle;
      table.adapters.back().modes = {Mode(640, 480), Mode(800, 600)};
    }
    ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  }
  TableDirect3D table;
};

TEST_F(OpeningErrors, WindowedModesReportTheirOwnCodes) {
  struct Case {
    const char* name;
    DS_RunMode mode;
    bool adapter;
    HRESULT expected;
  };
  const Case cases[] = {
      {"test window, creation fails", RunMode_TestWindow, true, kErrCreateDeviceFailed},
      {"preview, creation fails", RunMode_Preview, true, kErrNoPreview},
      {"test window, no adapter", RunMode_TestWindow, false, kErrCreateDeviceFailed},
      {"preview, monitor without adapter", RunMode_Preview, false, kErrCreateDeviceFailed},
  };
  for (const Case& c : cases) {
    TestShell fresh;
    fresh.m_Direct3DAccess = &table;
    table.adapters.clear();
    fresh.m_RunMode = c.mode;
    fresh.m_MainWindow = window;
    fresh.m_MonitorCount = 1;
    std::memset(&fresh.m_Monitors[0], 0, sizeof(DS_SaverMonitor));
    fresh.m_Monitors[0].monitor = FakeMonitor(1);
    fresh.m_Monitors[0].adapterIndex = -1;
    if (c.adapter) {
      table.adapters.emplace_back();
      table.adapters.back().monitor = FakeMonitor(1);
      table.adapters.back().modes = {Mode(640, 480)};
    }
    ASSERT_EQ(fresh.EnumerateDevices(), S_OK);
    fresh.OpenOutputs();
    EXPECT_TRUE(fresh.m_ErrorMode) << c.name;
    EXPECT_EQ(fresh.m_ErrorCode, c.expected) << c.name;
    EXPECT_EQ(fresh.m_OutputCount, 0u) << c.name;
    EXPECT_TRUE(fresh.log.empty()) << c.name;
  }
}

TEST_F(OpeningErrors, FullScreenGivesBackAFailedSlotAndStillOpensTheOtherMonitor) {
  Table(RunMode_FullScreen, {FakeMonitor(1), FakeMonitor(2)}, {FakeMonitor(1), FakeMonitor(2)});
  table.createResult = [](const CreateCall& call) { return call.adapter == 0 ? D3DERR_NOTAVAILABLE : D3D_OK; };
  shell.OpenOutputs();
  EXPECT_FALSE(shell.m_Windowed);
  ASSERT_EQ(shell.m_OutputCount, 1u);
  EXPECT_EQ(shell.m_Outputs[0].adapter, 1u);
  EXPECT_EQ(shell.m_Outputs[0].monitor, 1u);
  EXPECT_TRUE(shell.m_ErrorMode);
  EXPECT_EQ(shell.m_ErrorCode, kErrCreateDeviceFailed);
  EXPECT_TRUE(shell.log.empty());  // in error mode no hook runs
  EXPECT_EQ(table.createCalls.front().parameters.hDeviceWindow, window);
}

TEST_F(OpeningErrors, FullScreenSkipsLeaveBlackUnusableAndUnclaimedMonitorsWithoutAnError) {
  // Monitor 0: no adapter; 1: "Leave Black"; 2: hardware disabled without software; 3: usable.
  Table(RunMode_FullScreen, {FakeMonitor(1), FakeMonitor(2), FakeMonitor(3), FakeMonitor(4)},
        {FakeMonitor(2), FakeMonitor(3), FakeMonitor(4), FakeMonitor(9)});
  shell.m_Adapters[0]->leaveBlack = TRUE;
  shell.m_Adapters[1]->disableHardware = TRUE;
  table.createResult = [](const CreateCall&) { return D3D_OK; };
  shell.OpenOutputs();
  EXPECT_FALSE(shell.m_ErrorMode);
  EXPECT_TRUE(shell.m_Adapters[1]->leaveBlack);
  ASSERT_EQ(shell.m_OutputCount, 1u);
  EXPECT_EQ(shell.m_Outputs[0].adapter, 2u);
  EXPECT_EQ(shell.m_Outputs[0].monitor, 3u);
  EXPECT_EQ(shell.log, (Log{"created0", "devicereset0"}));

  TestShell black;
  black.m_Direct3DAccess = &table;
  black.m_RunMode = RunMode_FullScreen;
  black.m_MonitorCount = 1;
  std::memset(&black.m_Monitors[0], 0, sizeof(DS_SaverMonitor));
  black.m_Monitors[0].monitor = FakeMonitor(2);
  black.m_Monitors[0].adapterIndex = -1;
  ASSERT_EQ(black.EnumerateDevices(), S_OK);
  black.m_Adapters[0]->leaveBlack = TRUE;
  black.OpenOutputs();
  EXPECT_FALSE(black.m_ErrorMode);
  EXPECT_EQ(black.m_OutputCount, 0u);
}

// Texts -------------------------------------------------------------------------------------

TEST(OutputTexts, DeviceTextNamesKindAndVertexProcessingWithinItsBounds) {
  TestShell shell;
  TableDirect3D table;
  table.adapters.emplace_back();
  table.adapters.back().description = std::string(500, 'x');
  table.adapters.back().modes = {Mode(640, 480)};
  shell.m_Direct3DAccess = &table;
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  struct Case {
    D3DDEVTYPE kind;
    DWORD flags;
    const wchar_t* text;
  };
  const Case cases[] = {
      {D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE, L"HAL (pure hw vp): xxx"},
      {D3DDEVTYPE_HAL, D3DCREATE_MIXED_VERTEXPROCESSING, L"HAL (mixed vp): xxx"},
      {D3DDEVTYPE_SW, D3DCREATE_HARDWARE_VERTEXPROCESSING, L"SW (simulated hw vp)"},
      {D3DDEVTYPE_SW, D3DCREATE_SOFTWARE_VERTEXPROCESSING, L"SW (sw vp)"},
  };
  for (const Case& c : cases) {
    shell.m_OutputCount = 1;
    std::memset(&shell.m_Outputs[0], 0, sizeof(DS_SaverOutput));
    shell.m_Outputs[0].deviceType = c.kind;
    shell.m_Outputs[0].behaviorFlags = c.flags;
    shell.DescribeDevice();
    const std::wstring text = shell.m_Outputs[0].deviceText;
    EXPECT_EQ(text.rfind(c.text, 0), 0u) << text;
    EXPECT_LE(text.size(), 89u);
    if (c.kind == D3DDEVTYPE_HAL) {
      EXPECT_EQ(text.size(), 89u);
    }
  }
  shell.m_OutputCount = 0;
}

TEST(OutputTexts, FrameTextShowsTheRateOncePerSecond) {
  TestShell shell;
  TableDirect3D table;
  table.adapters.emplace_back();
  table.adapters.back().desktop = Mode(1024, 768);
  table.adapters.back().modes = {Mode(640, 480)};
  shell.m_Direct3DAccess = &table;
  shell.m_DepthBufferWanted = TRUE;
  ASSERT_EQ(shell.EnumerateDevices(), S_OK);
  shell.m_OutputCount = 1;
  std::memset(&shell.m_Outputs[0], 0, sizeof(DS_SaverOutput));
  shell.m_Outputs[0].presentParameters.AutoDepthStencilFormat = D3DFMT_D24S8;
  for (int i = 1; i <= 9; ++i) {
    shell.m_AppTime = 0.1f * i;
    shell.MeasureFrameRate();
  }
  EXPECT_EQ(shell.m_Outputs[0].frameText[0], 0);  // not a second yet
  shell.m_AppTime = 1.25f;
  shell.MeasureFrameRate();
  EXPECT_STREQ(shell.m_Outputs[0].frameText, L"8.00 fps (1024x768x32) (D24S8)");
  EXPECT_FLOAT_EQ(shell.m_FrameRate, 8.0f);
  shell.m_OutputCount = 0;
}

}  // namespace
