// The main loop: outputs opened per monitor or window, one frame on every output whenever the
// message queue is empty, device loss and reset through the application's hooks, and shutdown.
#include <cstring>
#include <cwchar>

#include "saver/frame_clock.h"
#include "saver/saver_shell.h"

HRESULT CSaverShell::MainLoop() {
  StartFrameClock();
  if (!m_ErrorMode) {
    const HRESULT startup = OnStartup();
    if (startup < 0) return startup;
    OpenOutputs();
  }
  if (m_RunMode == RunMode_FullScreen) SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0);

  for (;;) {
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) break;
      TranslateMessage(&message);
      DispatchMessageW(&message);
      continue;
    }
    Sleep(30);
    if (m_ErrorMode)
      MoveErrorBox();
    else
      RenderOutputs();
  }
  return 0;
}

// Adds one output slot; false when the table is full.
static DS_SaverOutput* AddOutputSlot(DS_SaverOutput* outputs, UINT* count, UINT adapter) {
  if (*count >= kMaxOutputs) return nullptr;
  DS_SaverOutput& output = outputs[(*count)++];
  std::memset(&output, 0, sizeof(output));
  output.adapter = adapter;
  return &output;
}

HRESULT CSaverShell::OpenOutputs() {
  if (m_RunMode == RunMode_Preview || m_RunMode == RunMode_TestWindow) {
    m_Windowed = TRUE;
    GetClientRect(m_MainWindow, &m_ScreenRect);
    m_OutputRect = m_ScreenRect;
    const int adapter = PickPreferredAdapter();
    if (adapter < 0) {
      SetError(kErrCreateDeviceFailed);
    } else {
      m_Adapters[adapter]->deviceWindow = m_MainWindow;
      DS_SaverOutput* output = AddOutputSlot(m_Outputs, &m_OutputCount, static_cast<UINT>(adapter));
      if (output && OpenWindowedOutput(*output) < 0) {
        --m_OutputCount;
        SetError(m_RunMode == RunMode_Preview ? kErrNoPreview : kErrCreateDeviceFailed);
      }
    }
  } else {
    m_Windowed = FALSE;
    for (UINT m = 0; m < m_MonitorCount; ++m) {
      const int index = m_Monitors[m].adapterIndex;
      if (index < 0 || static_cast<UINT>(index) >= m_AdapterCount || !m_Adapters[index]) continue;
      DS_SaverAdapter& adapter = *m_Adapters[index];
      if (adapter.disableHardware && !adapter.hasUsableSW) adapter.leaveBlack = TRUE;
      if (adapter.leaveBlack || (!adapter.hasUsableHAL && !adapter.hasUsableSW)) continue;
      adapter.deviceWindow = m_Monitors[m].saverWindow;
      DS_SaverOutput* output = AddOutputSlot(m_Outputs, &m_OutputCount, static_cast<UINT>(index));
      if (!output) break;
      if (OpenFullScreenOutput(*output) < 0) {
        --m_OutputCount;
        SetError(kErrCreateDeviceFailed);
      }
    }
  }

  for (UINT m = 0; m < m_MonitorCount; ++m) {
    DS_SaverMonitor& monitor = m_Monitors[m];
    if (!monitor.monitor) continue;
    MONITORINFO info;
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor.monitor, &info)) monitor.screenRect = info.rcMonitor;
    if (!m_Windowed && monitor.saverWindow) {
      const RECT& r = monitor.screenRect;
      SetWindowPos(monitor.saverWindow, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOACTIVATE);
    }
  }

  if (!m_Windowed) {
    SetRectEmpty(&m_ScreenRect);
    for (UINT i = 0; i < m_OutputCount; ++i) {
      if (m_Outputs[i].monitor < m_MonitorCount)
        UnionRect(&m_ScreenRect, &m_ScreenRect, &m_Monitors[m_Outputs[i].monitor].screenRect);
    }
  }

  if (!m_ErrorMode) {
    for (UINT i = 0; i < m_OutputCount; ++i) {
      DS_SaverOutput& output = m_Outputs[i];
      MakeOutputCurrent(i);
      if (OnDeviceCreated() < 0) {
        SetError(kErrDeviceHookFailed);
        continue;
      }
      output.deviceObjectsCreated = TRUE;
      if (OnDeviceReset() < 0) {
        SetError(kErrDeviceHookFailed);
        continue;
      }
      output.deviceObjectsReset = TRUE;
    }
    DescribeDevice();
  }
  m_MouseMoveCount = 0;
  return 0;
}

void CSaverShell::MakeOutputCurrent(UINT index) {
  if (index >= m_OutputCount) return;
  DS_SaverOutput& output = m_Outputs[index];
  m_Device = output.device;
  if (!m_Windowed && output.monitor < m_MonitorCount) m_OutputRect = m_Monitors[output.monitor].screenRect;
  if (m_Device) {
    IDirect3DSurface9* backBuffer = nullptr;
    if (SUCCEEDED(m_Device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) && backBuffer) {
      backBuffer->GetDesc(&m_BackBufferDesc);
      backBuffer->Release();
    }
  }
  lstrcpynW(m_DeviceText, output.deviceText, 90);
  lstrcpynW(m_FrameText, output.frameText, 40);
  SelectOutput(index);
}

HRESULT CSaverShell::TestOutputDevice(DS_SaverOutput& output) { return output.device->TestCooperativeLevel(); }

HRESULT CSaverShell::ResetOutputDevice(DS_SaverOutput& output) {
  D3DPRESENT_PARAMETERS parameters = output.presentParameters;  // Reset may rewrite what it is given
  return output.device->Reset(&parameters);
}

HRESULT CSaverShell::PresentOutputDevice(DS_SaverOutput& output) {
  return output.device->Present(nullptr, nullptr, nullptr, nullptr);
}

HRESULT CSaverShell::RenderOutputs() {
  m_AppTime = static_cast<float>(FrameClockSeconds());
  MeasureFrameRate();

  // An output whose reset failed is neither drawn nor presented: its device objects are gone.
  bool resetFailed[kMaxOutputs] = {};
  for (UINT i = 0; i < m_OutputCount; ++i) {
    DS_SaverOutput& output = m_Outputs[i];
    MakeOutputCurrent(i);
    if (!output.device) continue;
    const HRESULT state = TestOutputDevice(output);
    if (state == D3DERR_DEVICELOST) return 0;  // the whole frame waits for the device
    if (state == D3DERR_DEVICENOTRESET) {
      if (m_Windowed && output.adapter < m_AdapterCount && m_Adapters[output.adapter])
        Direct3D().GetAdapterDisplayMode(output.adapter, &m_Adapters[output.adapter]->desktopMode);
      if (output.deviceObjectsReset) {
        OnDeviceLost();
        output.deviceObjectsReset = FALSE;
      }
      if (ResetOutputDevice(output) >= 0 && OnDeviceReset() >= 0) {
        output.deviceObjectsReset = TRUE;
      } else {
        m_ErrorMode = TRUE;  // the error box takes over on the next loop turn
        resetFailed[i] = true;
        continue;
      }
    }
    DrawFrame();
  }

  for (UINT i = 0; i < m_OutputCount; ++i) {
    MakeOutputCurrent(i);
    if (m_Outputs[i].device && !resetFailed[i]) PresentOutputDevice(m_Outputs[i]);
  }
  return 0;
}

void CSaverShell::CloseOutputs() {
  for (UINT i = 0; i < m_OutputCount; ++i) {
    DS_SaverOutput& output = m_Outputs[i];
    MakeOutputCurrent(i);
    if (output.deviceObjectsReset) {
      OnDeviceLost();
      output.deviceObjectsReset = FALSE;
    }
    if (output.deviceObjectsCreated) {
      OnDeviceDestroyed();
      output.deviceObjectsCreated = FALSE;
    }
    if (output.device) {
      output.device->Release();
      output.device = nullptr;
    }
  }
  m_OutputCount = 0;
  m_Device = nullptr;  // no copy of a released device stays behind
  if (m_D3D) {
    m_D3D->Release();
    m_D3D = nullptr;
  }
}

void CSaverShell::Quit() {
  if (m_RunMode == RunMode_FullScreen) SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
  CloseOutputs();
  OnShutdown();
  PostQuitMessage(0);
}
