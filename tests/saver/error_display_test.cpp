// The error texts, the drifting box and the painting of the error screen.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "tests/saver/shell_test_support.h"

namespace {

struct ErrorTextCase {
  HRESULT code;
  const wchar_t* text;
  bool specific;
};

const ErrorTextCase kErrorTexts[] = {
    {E_FAIL, L"There was an unspecified problem with this screen saver.", false},
    {kErrNoDirect3D, L"Direct3D 8.0 could not be initialized.  Please install the latest version of DirectX.", true},
    {kErrInitFailed, L"Could not initialize the screen saver.", true},
    {kErrCreateDeviceFailed, L"Could not create the Direct3D device.", true},
    {kErrNoCompatibleDevices, L"Could not find any compatible Direct3D devices.", true},
    {kErrNoHardwareDevice, L"No hardware-accelerated Direct3D devices were found.", true},
    {kErrDeviceLacksFeatures, L"This screen saver requires functionality that is not available on your Direct3D hardware accelerator.", true},
    {kErrDesktopModeLacksFeatures, L"This screen saver requires functionality that is not available on your Direct3D hardware accelerator with the current desktop display settings.", true},
    {kErrMediaNotFound, L"Could not load required media.", true},
    {kErrResetFailed, L"Could not reset the Direct3D device.", true},
    {E_OUTOFMEMORY, L"Not enough memory.", true},
    {D3DERR_OUTOFVIDEOMEMORY, L"Not enough video memory.", true},
    {kErrNoPreview, L"No preview available", true},
    // Codes without a message of their own, the device-hook failure among them.
    {kErrDeviceHookFailed, L"There was an unspecified problem with this screen saver.", false},
    {static_cast<HRESULT>(0x80070005), L"There was an unspecified problem with this screen saver.", false},
    {S_OK, L"There was an unspecified problem with this screen saver.", false},
};

TEST(ErrorMessageText, EveryCodeHasItsMessage) {
  auto shell = std::make_unique<TestShell>();
  for (const ErrorTextCase& c : kErrorTexts) {
    WCHAR text[512];
    const bool specific = shell->ErrorMessageText(c.code, text, 512);
    EXPECT_EQ(std::wstring(text), std::wstring(c.text)) << std::hex << c.code;
    EXPECT_EQ(specific, c.specific) << std::hex << c.code;
  }
}

TEST(ErrorMessageText, MissingStringLeavesAnEmptyText) {
  auto shell = std::make_unique<TestShell>();
  shell->m_Instance = GetModuleHandleW(L"ntdll.dll");  // a module without this string table
  WCHAR text[512];
  wmemset(text, L'X', 512);
  shell->ErrorMessageText(kErrNoCompatibleDevices, text, 512);
  EXPECT_EQ(text[0], 0);
}

TEST(ErrorBox, StartsCentredAndDriftsAtItsSpeed) {
  auto shell = std::make_unique<TestShell>();
  ASSERT_NE(shell->OpenFullScreen(800, 600), nullptr);
  shell->SetError(kErrNoCompatibleDevices);
  const DWORD beforeFirst = timeGetTime();
  shell->MoveErrorBox();
  const DWORD afterFirst = timeGetTime();
  const DS_SaverMonitor& m = shell->m_Monitors[0];
  EXPECT_FLOAT_EQ(m.errorBoxX, 250.0f);
  EXPECT_FLOAT_EQ(m.errorBoxY, 225.0f);
  EXPECT_FLOAT_EQ(m.errorBoxWidth, 300.0f);
  EXPECT_FLOAT_EQ(m.errorBoxHeight, 150.0f);
  EXPECT_FLOAT_EQ(m.errorBoxSpeedX, 80.0f);
  EXPECT_FLOAT_EQ(m.errorBoxSpeedY, 30.0f);
  EXPECT_EQ(std::wstring(shell->m_ErrorText), L"Could not find any compatible Direct3D devices.");

  Sleep(300);
  const DWORD beforeSecond = timeGetTime();
  shell->MoveErrorBox();
  const DWORD afterSecond = timeGetTime();
  // The step is the time between the two calls' clock readings.
  const float shortest = static_cast<float>(beforeSecond - afterFirst) / 1000.0f;
  const float longest = static_cast<float>(afterSecond - beforeFirst) / 1000.0f;
  EXPECT_GE(m.errorBoxX, 250.0f + 80.0f * shortest - 1.0f);
  EXPECT_LE(m.errorBoxX, 250.0f + 80.0f * longest + 1.0f);
  EXPECT_GE(m.errorBoxY, 225.0f + 30.0f * shortest - 1.0f);
  EXPECT_LE(m.errorBoxY, 225.0f + 30.0f * longest + 1.0f);
  // Both speeds act over the same step: the box drifts along its diagonal.
  EXPECT_NEAR((m.errorBoxY - 225.0f) / (m.errorBoxX - 250.0f), 30.0f / 80.0f, 0.01f);
  DestroyWindow(shell->m_MainWindow);
}

TEST(ErrorBox, BouncesOffTheEdgesAndStaysOnTheMonitor) {
  auto shell = std::make_unique<TestShell>();
  ASSERT_NE(shell->OpenFullScreen(800, 600), nullptr);
  shell->SetError(kErrNoCompatibleDevices);
  shell->MoveErrorBox();
  DS_SaverMonitor& m = shell->m_Monitors[0];
  m.errorBoxX = 499.0f;  // one pixel from the right edge, moving right
  m.errorBoxY = 1.0f;    // one pixel from the top edge
  m.errorBoxSpeedY = -30.0f;
  Sleep(100);
  shell->MoveErrorBox();
  EXPECT_LT(m.errorBoxSpeedX, 0.0f);
  EXPECT_GT(m.errorBoxSpeedY, 0.0f);
  EXPECT_LE(m.errorBoxX + m.errorBoxWidth, 800.0f);
  EXPECT_GE(m.errorBoxY, 0.0f);
  DestroyWindow(shell->m_MainWindow);
}

TEST(ErrorBox, PreviewBoxIsTheWholeWindowAndStaysStill) {
  auto shell = std::make_unique<TestShell>();
  ASSERT_NE(shell->OpenTestWindow(), nullptr);
  shell->m_RunMode = RunMode_Preview;
  shell->m_ScreenRect = RECT{0, 0, 152, 112};
  shell->SetError(kErrNoPreview);
  shell->MoveErrorBox();
  Sleep(100);
  shell->MoveErrorBox();
  const DS_SaverMonitor& m = shell->m_Monitors[0];
  EXPECT_EQ(m.errorBoxX, 0.0f);
  EXPECT_EQ(m.errorBoxY, 0.0f);
  EXPECT_EQ(m.errorBoxWidth, 152.0f);
  EXPECT_EQ(m.errorBoxHeight, 112.0f);
  EXPECT_EQ(std::wstring(shell->m_ErrorText), L"No preview available");
  shell->m_RunMode = RunMode_Configure;  // no shutdown sequence when the window goes
  DestroyWindow(shell->m_MainWindow);
}

// Paints the window's error screen into a 32-bit bitmap first filled with grey.
class PaintedScreen {
 public:
  PaintedScreen(CSaverShell& shell, HWND window, int width, int height)
      : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                               nullptr, 0);
    SelectObject(dc_, bitmap_);
    for (int i = 0; i < width * height; ++i) bits_[i] = 0x808080;
    shell.PaintWindow(window, dc_);
    GdiFlush();
  }
  ~PaintedScreen() {
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  DWORD At(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }
  int DarkPixels(const RECT& r) const {
    int dark = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) dark += (At(x, y) & 0xFF) < 128 ? 1 : 0;
    return dark;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  DWORD* bits_ = nullptr;
};

DWORD WindowColour() {
  const COLORREF c = GetSysColor(COLOR_WINDOW);  // 0x00BBGGRR; the bitmap holds 0x00RRGGBB
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

TEST(PaintWindow, WhiteFramedBoxWithCentredTextOverBlack) {
  auto shell = std::make_unique<TestShell>();
  HWND window = shell->OpenFullScreen(800, 600);
  ASSERT_NE(window, nullptr);
  shell->SetError(kErrNoCompatibleDevices);
  shell->MoveErrorBox();
  PaintedScreen screen(*shell, window, 800, 600);
  EXPECT_EQ(screen.At(252, 227), WindowColour());      // inside the box
  EXPECT_EQ(screen.At(548, 373), WindowColour());
  EXPECT_EQ(screen.At(250, 300), 0u);                  // its frame
  EXPECT_EQ(screen.At(549, 300), 0u);
  EXPECT_EQ(screen.At(10, 10), 0u);                    // the black screen around it
  EXPECT_EQ(screen.At(790, 590), 0u);
  EXPECT_EQ(screen.At(249, 300), 0u);
  // The message lies in the middle band of the box, not at its top or bottom.
  EXPECT_GT(screen.DarkPixels(RECT{252, 270, 548, 330}), 100);
  EXPECT_EQ(screen.DarkPixels(RECT{252, 228, 548, 250}), 0);
  EXPECT_EQ(screen.DarkPixels(RECT{252, 350, 548, 372}), 0);
  DestroyWindow(window);
}

TEST(PaintWindow, OutsideErrorModeTheWindowIsBlack) {
  auto shell = std::make_unique<TestShell>();
  HWND window = shell->OpenFullScreen(640, 480);
  ASSERT_NE(window, nullptr);
  PaintedScreen screen(*shell, window, 640, 480);
  EXPECT_EQ(screen.At(320, 240), 0u);
  EXPECT_EQ(screen.At(1, 1), 0u);
  DestroyWindow(window);
}

// The windowed modes keep their box in the record that holds their window, even when that
// record is a device without a monitor of its own.
TEST(PaintWindow, TestWindowShowsItsBoxWhateverTheMonitorRecord) {
  auto shell = std::make_unique<TestShell>();
  HWND window = shell->OpenTestWindow();
  ASSERT_NE(window, nullptr);
  shell->m_Monitors[0].monitor = nullptr;
  shell->SetError(kErrCreateDeviceFailed);
  shell->MoveErrorBox();
  PaintedScreen screen(*shell, window, 600, 400);
  EXPECT_EQ(screen.At(152, 127), WindowColour());  // the box at (150, 125)
  EXPECT_EQ(screen.At(5, 5), 0u);
  EXPECT_EQ(screen.At(595, 395), 0u);
  shell->m_RunMode = RunMode_Configure;
  DestroyWindow(window);
}

}  // namespace
