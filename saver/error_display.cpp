#include "saver/saver_shell.h"

namespace {

constexpr UINT kUnspecifiedProblemString = 2100;
constexpr float kBoxWidth = 300.0f;
constexpr float kBoxHeight = 150.0f;

struct ErrorString {
  HRESULT code;
  UINT stringId;
};

const ErrorString kErrorStrings[] = {
    {E_FAIL, 2100},
    {kErrNoDirect3D, 2101},
    {kErrInitFailed, 2102},
    {kErrCreateDeviceFailed, 2103},
    {kErrNoCompatibleDevices, 2104},
    {kErrNoHardwareDevice, 2105},
    {kErrDeviceLacksFeatures, 2106},
    {kErrDesktopModeLacksFeatures, 2107},
    {kErrMediaNotFound, 2108},
    {kErrResetFailed, 2109},
    {E_OUTOFMEMORY, 2110},
    {D3DERR_OUTOFVIDEOMEMORY, 2111},
    {kErrNoPreview, 2112},
};

UINT StringForCode(HRESULT code) {
  for (const ErrorString& entry : kErrorStrings) {
    if (entry.code == code) return entry.stringId;
  }
  return kUnspecifiedProblemString;
}

// The last move of the error boxes (0 before the first): one timer moves every output's box.
DWORD g_LastErrorBoxMove = 0;

RECT TruncatedRect(float x, float y, float width, float height) {
  return RECT{static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x + width),
              static_cast<LONG>(y + height)};
}

RECT ScreenRectInClient(HWND window, const RECT& screen) {
  POINT corners[2] = {{screen.left, screen.top}, {screen.right, screen.bottom}};
  ScreenToClient(window, &corners[0]);
  ScreenToClient(window, &corners[1]);
  return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

}  // namespace

bool CSaverShell::ErrorMessageText(HRESULT code, WCHAR* text, int capacity) {
  const UINT id = StringForCode(code);
  // A string missing from the table must still leave a terminated text.
  if (capacity > 0) text[0] = 0;
  LoadStringW(m_Instance, id, text, capacity);
  return id != kUnspecifiedProblemString;
}

HRESULT CSaverShell::ShowErrorMessage(HRESULT code) {
  WCHAR text[512];
  ErrorMessageText(code, text, 512);
  // Configure mode has no saver window; the control panel's window then owns the box.
  HWND owner = m_MainWindow != nullptr ? m_MainWindow : m_ParentWindow;
  if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
  MessageBoxW(owner, text, m_Description, MB_ICONERROR);
  return code;
}

DS_SaverMonitor* CSaverShell::ErrorBoxMonitor(HWND window) {
  // The windowed modes keep their box in the record that holds their window, whatever monitor
  // the window is on.
  for (UINT i = 0; i < m_MonitorCount; ++i) {
    if (m_Monitors[i].saverWindow == window) return &m_Monitors[i];
  }
  HMONITOR nearest = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
  for (UINT i = 0; i < m_MonitorCount; ++i) {
    if (m_Monitors[i].monitor != nullptr && m_Monitors[i].monitor == nearest) return &m_Monitors[i];
  }
  return nullptr;
}

void CSaverShell::MoveErrorBox() {
  if (m_OutputCount > 0) CloseOutputs();

  const DWORD now = timeGetTime();
  if (g_LastErrorBoxMove == 0) g_LastErrorBoxMove = now;
  const float step = static_cast<float>(now - g_LastErrorBoxMove) / 1000.0f;
  g_LastErrorBoxMove = now;

  if (m_ErrorText[0] == 0) ErrorMessageText(m_ErrorCode, m_ErrorText, 400);

  for (UINT i = 0; i < m_MonitorCount; ++i) {
    DS_SaverMonitor& monitor = m_Monitors[i];
    HWND window = monitor.saverWindow;
    if (window == nullptr) continue;
    const RECT bounds = m_RunMode == RunMode_FullScreen
                            ? ScreenRectInClient(window, monitor.screenRect)
                            : m_ScreenRect;
    const float left = static_cast<float>(bounds.left);
    const float top = static_cast<float>(bounds.top);
    const float right = static_cast<float>(bounds.right);
    const float bottom = static_cast<float>(bounds.bottom);

    if (monitor.errorBoxWidth == 0.0f) {
      if (m_RunMode == RunMode_Preview) {
        monitor.errorBoxX = 0.0f;
        monitor.errorBoxY = 0.0f;
        monitor.errorBoxWidth = right - left;
        monitor.errorBoxHeight = bottom - top;
        monitor.errorBoxSpeedX = 0.0f;
        monitor.errorBoxSpeedY = 0.0f;
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
      } else {
        monitor.errorBoxWidth = kBoxWidth;
        monitor.errorBoxHeight = kBoxHeight;
        monitor.errorBoxX = ((left + right) - kBoxWidth) * 0.5f;
        monitor.errorBoxY = ((top + bottom) - kBoxHeight) * 0.5f;
        monitor.errorBoxSpeedX = (right - left) / 10.0f;
        monitor.errorBoxSpeedY = (bottom - top) / 20.0f;
      }
      continue;
    }
    if (m_RunMode == RunMode_Preview) continue;

    const RECT oldRect = TruncatedRect(monitor.errorBoxX, monitor.errorBoxY,
                                       monitor.errorBoxWidth, monitor.errorBoxHeight);
    const float nextX = monitor.errorBoxX + monitor.errorBoxSpeedX * step;
    if ((nextX + monitor.errorBoxWidth > right && monitor.errorBoxSpeedX > 0.0f) ||
        (nextX < left && monitor.errorBoxSpeedX < 0.0f)) {
      monitor.errorBoxSpeedX = -monitor.errorBoxSpeedX;
    }
    const float nextY = monitor.errorBoxY + monitor.errorBoxSpeedY * step;
    if ((nextY + monitor.errorBoxHeight > bottom && monitor.errorBoxSpeedY > 0.0f) ||
        (nextY < top && monitor.errorBoxSpeedY < 0.0f)) {
      monitor.errorBoxSpeedY = -monitor.errorBoxSpeedY;
    }
    monitor.errorBoxX += monitor.errorBoxSpeedX * step;
    monitor.errorBoxY += monitor.errorBoxSpeedY * step;

    const RECT newRect = TruncatedRect(monitor.errorBoxX, monitor.errorBoxY,
                                       monitor.errorBoxWidth, monitor.errorBoxHeight);
    if (newRect.left != oldRect.left || newRect.top != oldRect.top) {
      InvalidateRect(window, &oldRect, FALSE);
      InvalidateRect(window, &newRect, FALSE);
      UpdateWindow(window);
    }
  }
}

void CSaverShell::PaintWindow(HWND window, HDC dc) {
  const DS_SaverMonitor* monitor = ErrorBoxMonitor(window);
  if (monitor == nullptr) return;

  RECT box = TruncatedRect(monitor->errorBoxX, monitor->errorBoxY, monitor->errorBoxWidth,
                           monitor->errorBoxHeight);
  FillRect(dc, &box, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
  FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  RECT measured = box;
  DrawTextW(dc, m_ErrorText, -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
  const LONG textHeight = measured.bottom - measured.top;
  RECT textRect = box;
  textRect.top = (box.top + box.bottom - textHeight) / 2;
  DrawTextW(dc, m_ErrorText, -1, &textRect, DT_WORDBREAK | DT_CENTER);

  ExcludeClipRect(dc, box.left, box.top, box.right, box.bottom);
  RECT background;
  if (m_RunMode == RunMode_FullScreen) {
    background = ScreenRectInClient(window, monitor->screenRect);
  } else {
    // A windowed saver may lie on another monitor than its record's: cover its whole client.
    GetClientRect(window, &background);
  }
  FillRect(dc, &background, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}
