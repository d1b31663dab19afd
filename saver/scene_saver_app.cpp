#include "saver/scene_saver_app.h"

#include <commctrl.h>

#include "core/render/device_globals.h"
#include "core/resources/doc_res_manager.h"
#include "saver/app_settings.h"
#include "saver/config_dialog.h"
#include "sound/music_graph.h"
#include "sound/sound_device.h"

// The one application of the process, found here by its dialog procedures.
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

void CSceneSaverApp::SelectOutput(UINT index) {
  if (index >= kSceneRecordCount) return;
  m_CurrentOutput = index;
  m_CurrentScene = &m_Scenes[index];
  g_Device = m_Device;
  if (m_CurrentScene->Manager() != nullptr) g_DocResManager = m_CurrentScene->Manager();
  m_CurrentScene->Context().MakeCurrent();
}

HRESULT CSceneSaverApp::OnDeviceReset() {
  try {
    OpenSoundDevice(m_MainWindow);  // once per process; without a sound server all stays silent
    // After a reset the current slide needs its render targets and default states again.
    m_CurrentScene->OnDeviceReset();
  } catch (...) {
    SetError(kErrMediaNotFound);
  }
  return 0;
}

HRESULT CSceneSaverApp::OnDeviceLost() {
  try {
    StopPrimarySoundBuffer();
    StopAndCloseMusicGraph();  // nothing opens it again: the music stays silent from here on
    m_CurrentScene->OnDeviceLost();
  } catch (...) {
    SetError(kErrMediaNotFound);
  }
  return 0;
}

HRESULT CSceneSaverApp::OnDeviceDestroyed() {
  m_CurrentScene->Context().ReleaseView();
  return 0;
}

HRESULT CSceneSaverApp::DrawFrame() {
  if (m_ErrorMode) return 0;  // the error box takes over on the next loop turn
  // A scene that cannot be loaded or played ends in the error box, never in a crash.
  try {
    m_CurrentScene->DrawFrame(m_AppTime);
  } catch (...) {
    SetError(kErrMediaNotFound);
  }
  return 0;
}

void CSceneSaverApp::OnMusicEvent(long code) { m_CurrentScene->OnMusicEvent(code); }
