#include "saver/saver_shell.h"

#include "sound/music_graph.h"

namespace {

const wchar_t kWindowClassName[] = L"D3DSaverWndClass";
constexpr DWORD kTestWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT_PTR kPreviewTimer = 1;
constexpr UINT kMusicNotification = 0x8000;

// One mouse for every saver window; no real position matches the start value.
POINT g_LastMousePosition = {-1, -1};

LRESULT CALLBACK WindowProcThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return g_Saver->HandleMessage(window, message, wParam, lParam);
  } catch (...) {
    return 1;
  }
}

bool RegisterSaverClass(HINSTANCE instance) {
  WNDCLASSW windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = WindowProcThunk;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(101));
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kWindowClassName;
  // A second registration in the same process (a test program) finds the class already there.
  return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HRESULT CSaverShell::OpenSaverWindows() {
  if (!RegisterSaverClass(m_Instance)) return E_FAIL;

  switch (m_RunMode) {
    case RunMode_Preview: {
      RECT area = {0, 0, 0, 0};
      GetClientRect(m_ParentWindow, &area);
      AdjustWindowRect(&area, WS_CHILD | WS_VISIBLE, FALSE);
      m_MainWindow = CreateWindowExW(0, kWindowClassName, m_Description, WS_CHILD | WS_VISIBLE,
                                     area.left, area.top, area.right - area.left,
                                     area.bottom - area.top, m_ParentWindow, nullptr, m_Instance,
                                     this);
      break;
    }
    case RunMode_FullScreen: {
      for (UINT i = 0; i < m_MonitorCount; ++i) {
        DS_SaverMonitor& monitor = m_Monitors[i];
        if (monitor.monitor == nullptr) continue;
        const RECT& r = monitor.screenRect;
        monitor.saverWindow = CreateWindowExW(WS_EX_TOPMOST, kWindowClassName, m_Description,
                                              WS_POPUP | WS_VISIBLE, r.left, r.top,
                                              r.right - r.left, r.bottom - r.top, m_MainWindow,
                                              nullptr, m_Instance, this);
        if (monitor.saverWindow == nullptr) return E_FAIL;
        if (m_MainWindow == nullptr) m_MainWindow = monitor.saverWindow;
      }
      return m_MainWindow != nullptr ? 0 : E_FAIL;
    }
    case RunMode_TestWindow: {
      RECT area = {50, 50, 650, 450};
      AdjustWindowRect(&area, kTestWindowStyle, FALSE);
      m_MainWindow = CreateWindowExW(0, kWindowClassName, m_Description, kTestWindowStyle,
                                     area.left, area.top, area.right - area.left,
                                     area.bottom - area.top, nullptr, nullptr, m_Instance, this);
      break;
    }
    default:
      return E_FAIL;
  }

  if (m_MainWindow == nullptr) return E_FAIL;
  m_Monitors[0].saverWindow = m_MainWindow;
  GetClientRect(m_MainWindow, &m_ScreenRect);
  m_OutputRect = m_ScreenRect;
  return 0;
}

LRESULT CSaverShell::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      if (m_RunMode == RunMode_Preview || m_RunMode == RunMode_TestWindow) Quit();
      break;

    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (m_ErrorMode || m_RunMode != RunMode_Preview) {
        PaintWindow(window, dc);
      } else {
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      }
      EndPaint(window, &paint);
      return 0;
    }

    case WM_ERASEBKGND:
      return 1;

    case WM_SETCURSOR:
      if (m_RunMode == RunMode_FullScreen) {
        SetCursor(nullptr);
        return 1;
      }
      break;

    case WM_ACTIVATEAPP:
      if (wParam != FALSE) break;
      [[fallthrough]];
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (m_RunMode != RunMode_TestWindow) HandleUserActivity();
      break;

    case WM_MOUSEMOVE:
      if (m_RunMode != RunMode_TestWindow) {
        const POINT position = {static_cast<short>(LOWORD(lParam)),
                                static_cast<short>(HIWORD(lParam))};
        if (position.x != g_LastMousePosition.x || position.y != g_LastMousePosition.y) {
          g_LastMousePosition = position;
          if (++m_MouseMoveCount > 5) HandleUserActivity();
        }
      }
      break;

    case WM_POWERBROADCAST:
      if (wParam == PBT_APMSUSPEND) HandleUserActivity();
      break;

    case WM_SYSCOMMAND:
      if (m_RunMode == RunMode_FullScreen) {
        switch (wParam) {
          case SC_NEXTWINDOW:
          case SC_PREVWINDOW:
          case SC_CLOSE:
          case SC_SCREENSAVE:
            return 0;
          default:
            break;
        }
      }
      break;

    case WM_TIMER:
      m_PreviewWait = FALSE;
      KillTimer(window, kPreviewTimer);
      break;

    case WM_USER:
      SetTimer(window, kPreviewTimer, 500, nullptr);
      break;

    case kMusicNotification:
      OnMusicEvent(GetMusicEvent());
      break;

    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void CSaverShell::HandleUserActivity() {
  if (m_RunMode == RunMode_FullScreen || m_RunMode == RunMode_TestWindow) Quit();
}
