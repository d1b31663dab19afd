// The saver windows, their window procedure and the start-up steps that must never hang.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "tests/saver/shell_test_support.h"

namespace {

constexpr UINT kThrowingMessage = WM_APP + 7;

class ThrowingShell : public TestShell {
 public:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kThrowingMessage) throw std::runtime_error("test");
    return TestShell::HandleMessage(window, message, wParam, lParam);
  }
};

// The control panel destroys the preview before its timer fires.
class VanishingPreviewShell : public TestShell {
 public:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_USER) {
      DestroyWindow(window);
      return 0;
    }
    return TestShell::HandleMessage(window, message, wParam, lParam);
  }
};

TEST(SaverWindows, TestWindowHasItsClientAreaAndStyle) {
  auto shell = std::make_unique<TestShell>();
  HWND window = shell->OpenTestWindow();
  ASSERT_NE(window, nullptr);
  wchar_t className[64];
  GetClassNameW(window, className, 64);
  EXPECT_STREQ(className, L"D3DSaverWndClass");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & 0x10CA0000u, 0x10CA0000u);
  RECT client;
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  EXPECT_EQ(origin.x, 50);
  EXPECT_EQ(origin.y, 50);
  EXPECT_EQ(client.right, 600);
  EXPECT_EQ(client.bottom, 400);
  EXPECT_EQ(shell->m_Monitors[0].saverWindow, window);
  EXPECT_EQ(shell->m_ScreenRect.right, 600);
  EXPECT_EQ(shell->m_OutputRect.bottom, 400);
  shell->m_RunMode = RunMode_Configure;
  DestroyWindow(window);
}

TEST(SaverWindows, PreviewWithoutAParentHasNoWindow) {
  auto shell = std::make_unique<TestShell>();
  shell->m_RunMode = RunMode_Preview;
  shell->m_ParentWindow = reinterpret_cast<HWND>(static_cast<UINT_PTR>(12345));
  EXPECT_EQ(shell->OpenSaverWindows(), E_FAIL);
  EXPECT_EQ(shell->m_MainWindow, nullptr);
}

TEST(SaverWindows, AnExceptionInTheWindowProcedureAnswersOne) {
  auto shell = std::make_unique<ThrowingShell>();
  HWND window = shell->OpenTestWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SendMessageW(window, kThrowingMessage, 0, 0), 1);
  EXPECT_TRUE(IsWindow(window));
  shell->m_RunMode = RunMode_Configure;
  DestroyWindow(window);
}

TEST(SaverWindows, FullScreenSwallowsCloseAndScreenSaveCommands) {
  auto shell = std::make_unique<TestShell>();
  HWND window = shell->OpenFullScreen(640, 480);
  ASSERT_NE(window, nullptr);
  for (WPARAM command : {SC_CLOSE, SC_SCREENSAVE, SC_NEXTWINDOW, SC_PREVWINDOW}) {
    EXPECT_EQ(SendMessageW(window, WM_SYSCOMMAND, command, 0), 0);
    EXPECT_TRUE(IsWindow(window)) << command;
  }
  EXPECT_EQ(SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT), 1);
  EXPECT_EQ(SendMessageW(window, WM_ERASEBKGND, 0, 0), 1);
  DestroyWindow(window);
}

TEST(SaverWindows, TestWindowClosesOnTheCloseCommand) {
  ASSERT_TRUE(FinishesWithin(10000, [] {
    auto shell = std::make_unique<TestShell>();
    HWND window = shell->OpenTestWindow();
    ASSERT_NE(window, nullptr);
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(window));
    DrainQuit();
  }));
}

TEST(SaverWindows, FullScreenCountsOnlyMovesToNewPositions) {
  auto shell = std::make_unique<TestShell>();
  HWND window = shell->OpenFullScreen(640, 480);
  ASSERT_NE(window, nullptr);
  shell->m_MouseMoveCount = 0;
  const POINT moves[] = {{301, 7}, {301, 7}, {302, 7}, {302, 7}, {303, 7}, {304, 7}, {305, 7}};
  for (const POINT& p : moves) SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  EXPECT_EQ(shell->m_MouseMoveCount, 5u);
  // Negative client positions are read as signed 16-bit values, not as large numbers.
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(-3), static_cast<WORD>(-4)));
  EXPECT_EQ(shell->m_MouseMoveCount, 6u);
  DestroyWindow(window);
  DrainQuit();
}

TEST(SaverWindows, TestWindowIgnoresMoves) {
  auto shell = std::make_unique<TestShell>();
  HWND window = shell->OpenTestWindow();
  ASSERT_NE(window, nullptr);
  shell->m_MouseMoveCount = 0;
  for (int i = 0; i < 8; ++i) SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(400 + i, 9));
  EXPECT_EQ(shell->m_MouseMoveCount, 0u);
  shell->m_RunMode = RunMode_Configure;
  DestroyWindow(window);
}

TEST(PreviewWait, EndsAfterTheTimerOfItsWindow) {
  ASSERT_TRUE(FinishesWithin(10000, [] {
    auto shell = std::make_unique<TestShell>();
    HWND window = shell->OpenTestWindow();
    ASSERT_NE(window, nullptr);
    shell->m_RunMode = RunMode_Preview;
    const DWORD started = GetTickCount();
    shell->WaitForPreviewTimer();
    const DWORD waited = GetTickCount() - started;
    EXPECT_GE(waited, 450u);
    EXPECT_LT(waited, 3000u);
    EXPECT_FALSE(shell->m_PreviewWait);
    shell->m_RunMode = RunMode_Configure;
    DestroyWindow(window);
  }));
}

TEST(PreviewWait, EndsAtOnceWithoutAWindow) {
  ASSERT_TRUE(FinishesWithin(5000, [] {
    auto shell = std::make_unique<TestShell>();
    shell->m_RunMode = RunMode_Preview;
    shell->WaitForPreviewTimer();
    EXPECT_FALSE(shell->m_PreviewWait);
  }));
}

TEST(PreviewWait, EndsWhenTheWindowIsDestroyedDuringTheWait) {
  ASSERT_TRUE(FinishesWithin(5000, [] {
    auto shell = std::make_unique<VanishingPreviewShell>();
    HWND window = shell->OpenTestWindow();
    ASSERT_NE(window, nullptr);
    shell->m_RunMode = RunMode_Preview;
    shell->WaitForPreviewTimer();
    EXPECT_FALSE(IsWindow(window));
    DrainQuit();
  }));
}

TEST(Execute, WindowedModesWithoutAWindowEndAtOnce) {
  for (DS_RunMode mode : {RunMode_Preview, RunMode_FullScreen, RunMode_TestWindow}) {
    EXPECT_TRUE(FinishesWithin(5000, [mode] {
      auto shell = std::make_unique<TestShell>();
      shell->m_RunMode = mode;
      shell->SetError(E_FAIL);
      EXPECT_EQ(shell->Execute(), 0);
    })) << mode;
  }
}

TEST(Execute, FreesTheAdapterRecords) {
  auto shell = std::make_unique<TestShell>();
  shell->m_RunMode = RunMode_Nothing;
  shell->m_Adapters[0] = new DS_SaverAdapter();
  shell->m_Adapters[3] = new DS_SaverAdapter();
  shell->m_AdapterCount = 4;
  EXPECT_EQ(shell->Execute(), 0);
  for (DS_SaverAdapter* adapter : shell->m_Adapters) EXPECT_EQ(adapter, nullptr);
}

TEST(FindMonitors, EveryAttachedMonitorHasItsRectangle) {
  auto shell = std::make_unique<TestShell>();
  shell->FindMonitors();
  ASSERT_GE(shell->m_MonitorCount, 1u);
  EXPECT_LE(shell->m_MonitorCount, static_cast<UINT>(kMaxMonitors));
  int withHandle = 0;
  for (UINT i = 0; i < shell->m_MonitorCount; ++i) {
    const DS_SaverMonitor& m = shell->m_Monitors[i];
    EXPECT_EQ(m.adapterIndex, -1);
    if (m.monitor == nullptr) continue;
    ++withHandle;
    EXPECT_GT(m.screenRect.right - m.screenRect.left, 0) << i;
    EXPECT_GT(m.screenRect.bottom - m.screenRect.top, 0) << i;
  }
  EXPECT_EQ(withHandle, GetSystemMetrics(SM_CMONITORS));
  EXPECT_EQ(shell->m_Monitors[0].screenRect.left, 0);
  EXPECT_EQ(shell->m_Monitors[0].screenRect.top, 0);
}

}  // namespace
