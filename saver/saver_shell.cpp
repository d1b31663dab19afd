#include "saver/saver_shell.h"

#include <cstring>

CSaverShell* g_Saver = nullptr;

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

// Placeholder until the run modes land.
HRESULT CSaverShell::Prepare(HINSTANCE instance) {
  m_Instance = instance;
  return 0;
}

// Placeholder until the run modes land.
HRESULT CSaverShell::Execute() { return 0; }

// Placeholder until the run modes land.
void CSaverShell::FindMonitors() {}
