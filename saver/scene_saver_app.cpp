#include "saver/scene_saver_app.h"

#include <commctrl.h>

#include "saver/app_settings.h"
#include "saver/config_dialog.h"

CSceneSaverApp* g_App = nullptr;

CSceneSaverApp::CSceneSaverApp() {
  g_App = this;
  InitCommonControls();
  lstrcpynW(m_SettingsKeyPath, kSettingsKeyPath, 200);
  g_SettingsKeyPath = kSettingsKeyPath;
  LoadStringW(GetModuleHandleW(nullptr), kSaverNameString, m_Description, 200);
  m_DepthBufferWanted = TRUE;
}

// The layers distort pictures through bump-environment mapping over V8U8 offset textures.
HRESULT CSceneSaverApp::AcceptDeviceCaps(const D3DCAPS9* caps, DWORD, D3DFORMAT adapterFormat) {
  if (caps == nullptr || m_D3D == nullptr) return E_FAIL;
  if ((caps->TextureOpCaps & D3DTEXOPCAPS_BUMPENVMAP) == 0) return E_FAIL;
  if (FAILED(m_D3D->CheckDeviceFormat(caps->AdapterOrdinal, caps->DeviceType, adapterFormat, 0,
                                      D3DRTYPE_TEXTURE, D3DFMT_V8U8))) {
    return E_FAIL;
  }
  return 0;
}

void CSceneSaverApp::ShowConfiguration() { ShowConfigurationDialog(*this); }
void CSceneSaverApp::LoadSettings() { LoadSavedSettings(*this); }
INT_PTR CSceneSaverApp::HandleDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return HandleSoundDialog(dialog, message, wParam, lParam);
}
