#include "saver/saver_shell.h"

#include <cstring>

#include "sound/music_graph.h"

// The one shell of the process, found here by its window and dialog procedures.
CSaverShell* g_Saver = nullptr;

namespace {

struct DeviceMonitorSearch {
  const WCHAR* deviceName;
  RECT rect;
  bool found;
  HMONITOR handle;
};

BOOL CALLBACK MatchDeviceMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto* search = reinterpret_cast<DeviceMonitorSearch*>(data);
  MONITORINFOEXW info;
  std::memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info) && lstrcmpiW(info.szDevice, search->deviceName) == 0) {
    search->rect = info.rcMonitor;
    search->found = true;
    search->handle = monitor;
    return FALSE;
  }
  return TRUE;
}

// Some display drivers report no current mode for a secondary device (Wine's Xinerama driver
// gives 0 x 0); the desktop's own monitor list still knows where that device's screen lies.
bool MonitorRectOfDevice(const WCHAR* deviceName, RECT* rect) {
  DeviceMonitorSearch search = {deviceName, {0, 0, 0, 0}, false, nullptr};
  EnumDisplayMonitors(nullptr, nullptr, MatchDeviceMonitor, reinterpret_cast<LPARAM>(&search));
  if (search.found) *rect = search.rect;
  return search.found;
}

// The desktop's monitor of a display device, by name. Screens that overlap (Wine's Xinerama
// driver places every screen at the origin) make a search by rectangle find the same monitor
// for all of them.
HMONITOR MonitorOfDevice(const WCHAR* deviceName) {
  DeviceMonitorSearch search = {deviceName, {0, 0, 0, 0}, false, nullptr};
  EnumDisplayMonitors(nullptr, nullptr, MatchDeviceMonitor, reinterpret_cast<LPARAM>(&search));
  return search.handle;
}

}  // namespace

CSaverShell::CSaverShell() {
  m_RunMode = RunMode_Configure;
  m_AllScreensSame = 0;
  m_MainWindow = nullptr;
  m_ParentWindow = nullptr;
  m_Instance = nullptr;
  m_PreviewWait = FALSE;
  m_MouseMoveCount = 0;
  m_Windowed = FALSE;
  m_ErrorMode = FALSE;
  m_ErrorCode = S_OK;
  m_ErrorText[0] = 0;
  std::memset(m_Monitors, 0, sizeof(m_Monitors));
  m_MonitorCount = 0;
  std::memset(m_Outputs, 0, sizeof(m_Outputs));
  m_OutputCount = 0;
  for (DS_SaverAdapter*& adapter : m_Adapters) adapter = nullptr;
  m_AdapterCount = 0;
  m_D3D = nullptr;
  m_Device = nullptr;
  SetRectEmpty(&m_ScreenRect);
  SetRectEmpty(&m_OutputRect);
  std::memset(&m_BackBufferDesc, 0, sizeof(m_BackBufferDesc));
  lstrcpynW(m_Description, L"Screen Saver", 200);
  m_DepthBufferWanted = FALSE;
  m_SettingsKeyPath[0] = 0;
  m_MinDepthBits = 16;
  m_MinStencilBits = 0;
  m_FullScreenSwapEffect = D3DSWAPEFFECT_DISCARD;
  m_WindowedSwapEffect = D3DSWAPEFFECT_COPY;
  m_AppTime = 0.0f;
  m_FrameRate = 0.0f;
  m_DeviceText[0] = 0;
  m_FrameText[0] = 0;
  g_Saver = this;
}

void CSaverShell::SetError(HRESULT code) {
  m_ErrorMode = TRUE;
  m_ErrorCode = code;
}

bool CSaverShell::HasSaverWindowMode() const {
  return m_RunMode == RunMode_Preview || m_RunMode == RunMode_FullScreen ||
         m_RunMode == RunMode_TestWindow;
}

void CSaverShell::WaitForPreviewTimer() {
  // The preview's devices are created only once its 500 ms timer has fired. Without a window
  // there is no timer, and a window destroyed during the wait makes GetMessageW fail: both end
  // the wait instead of blocking or spinning.
  if (m_MainWindow == nullptr) return;
  m_PreviewWait = TRUE;
  PostMessageW(m_MainWindow, WM_USER, 0, 0);
  while (m_PreviewWait) {
    MSG message;
    const BOOL got = GetMessageW(&message, m_MainWindow, 0, 0);
    if (got == 0) {
      PostQuitMessage(0);
      break;
    }
    if (got == -1 || !IsWindow(m_MainWindow)) break;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  m_PreviewWait = FALSE;
}

bool CSaverShell::HasUsableAdapter() const {
  for (UINT i = 0; i < m_AdapterCount && i < kMaxAdapters; ++i) {
    const DS_SaverAdapter* adapter = m_Adapters[i];
    if (adapter != nullptr && (adapter->hasUsableHAL || adapter->hasUsableSW)) return true;
  }
  return false;
}

HRESULT CSaverShell::Prepare(HINSTANCE instance) {
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE);

  m_Instance = instance;
  const DS_CommandLineSwitch commandSwitch =
      ReadRunMode(reinterpret_cast<const char16_t*>(GetCommandLineW()));
  m_RunMode = commandSwitch.mode;
  m_ParentWindow = reinterpret_cast<HWND>(commandSwitch.parentWindow);

  FindMonitors();

  if (HasSaverWindowMode()) {
    const HRESULT opened = OpenSaverWindows();
    if (FAILED(opened)) SetError(opened);
  }
  if (m_RunMode == RunMode_Preview) WaitForPreviewTimer();

  m_D3D = Direct3DCreate9(D3D_SDK_VERSION);
  if (m_D3D == nullptr) {
    SetError(kErrNoDirect3D);
    return 0;
  }
  HRESULT result = AddSoftwareRasterizer();
  if (FAILED(result)) {
    SetError(result);
    return 0;
  }
  result = EnumerateDevices();
  if (FAILED(result)) {
    SetError(result);
    return 0;
  }
  if (HasUsableAdapter()) {
    LoadSettings();
    // The music graph tells the main window of its events; the result does not matter, since
    // without a graph every music call does nothing.
    if (m_RunMode == RunMode_FullScreen || m_RunMode == RunMode_TestWindow) OpenMusicGraph(m_MainWindow);
  } else {
    SetError(kErrNoCompatibleDevices);
  }
  return 0;
}

HRESULT CSaverShell::Execute() {
  switch (m_RunMode) {
    case RunMode_Configure:
      if (m_ErrorMode) {
        ShowErrorMessage(m_ErrorCode);
      } else {
        ShowConfiguration();
      }
      break;
    case RunMode_Preview:
    case RunMode_FullScreen:
    case RunMode_TestWindow:
      // Every ending of the saver is a message to one of its windows: without a window the
      // loop could never end, so the run ends here.
      if (m_MainWindow != nullptr && IsWindow(m_MainWindow)) {
        const HRESULT result = MainLoop();
        if (FAILED(result)) ShowErrorMessage(result);
      }
      break;
    case RunMode_ChangePassword:
      RunPasswordChange();
      break;
    case RunMode_Nothing:
      break;
  }

  for (DS_SaverAdapter*& adapter : m_Adapters) {
    delete adapter;
    adapter = nullptr;
  }
  m_AdapterCount = 0;
  if (m_D3D != nullptr) {
    m_D3D->Release();
    m_D3D = nullptr;
  }
  return 0;
}

void CSaverShell::FindMonitors() {
  m_MonitorCount = 0;
  for (DWORD n = 0; m_MonitorCount < kMaxMonitors; ++n) {
    DISPLAY_DEVICEW device;
    std::memset(&device, 0, sizeof(device));
    device.cb = sizeof(device);
    if (!EnumDisplayDevicesW(nullptr, n, &device, 0)) break;
    if (device.StateFlags & DISPLAY_DEVICE_MIRRORING_DRIVER) continue;

    DS_SaverMonitor& monitor = m_Monitors[m_MonitorCount];
    std::memset(&monitor, 0, sizeof(monitor));
    lstrcpynW(monitor.adapterDeviceString, device.DeviceString, 128);
    DISPLAY_DEVICEW screen;
    std::memset(&screen, 0, sizeof(screen));
    screen.cb = sizeof(screen);
    if (EnumDisplayDevicesW(device.DeviceName, 0, &screen, 0)) {
      lstrcpynW(monitor.monitorDeviceString, screen.DeviceString, 128);
    }
    monitor.adapterIndex = -1;

    if (device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) {
      DEVMODEW mode;
      std::memset(&mode, 0, sizeof(mode));
      mode.dmSize = sizeof(mode);
      mode.dmDriverExtra = 0;
      const bool haveMode =
          EnumDisplaySettingsW(device.DeviceName, ENUM_CURRENT_SETTINGS, &mode) &&
          mode.dmPelsWidth != 0 && mode.dmPelsHeight != 0;
      if (haveMode) {
        POINT origin = {0, 0};
        if (!(device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE)) {
          origin = {mode.dmPosition.x, mode.dmPosition.y};
        }
        monitor.screenRect.left = origin.x;
        monitor.screenRect.top = origin.y;
        monitor.screenRect.right = origin.x + static_cast<LONG>(mode.dmPelsWidth);
        monitor.screenRect.bottom = origin.y + static_cast<LONG>(mode.dmPelsHeight);
      } else {
        MonitorRectOfDevice(device.DeviceName, &monitor.screenRect);
      }
      monitor.monitor = MonitorOfDevice(device.DeviceName);
      if (monitor.monitor == nullptr) monitor.monitor = MonitorFromRect(&monitor.screenRect, MONITOR_DEFAULTTONULL);
    }
    ++m_MonitorCount;
  }
}
