// The application: the framework with this saver's name, its device needs, its settings, and one
// scene record per output that shows the loading picture, loads the output's own copy of the
// scene and plays it with its music.
#pragma once

#include "saver/monitor_scene.h"
#include "saver/saver_shell.h"

constexpr UINT kSaverNameString = 1000;
constexpr UINT kSceneRecordCount = 10;  // output i uses record i

class CSceneSaverApp : public CSaverShell {
 public:
  CSceneSaverApp();

  HRESULT AcceptDeviceCaps(const D3DCAPS9* caps, DWORD behaviorFlags,
                           D3DFORMAT adapterFormat) override;

  // Settings and their dialogs (app_settings.cpp, config_dialog.cpp).
  void ShowConfiguration() override;
  void LoadSettings() override;
  INT_PTR HandleDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

  // Publishes output `index` to everything that draws: its device, its scene's resource manager
  // and its render context (with its view state).
  void SelectOutput(UINT index) override;
  HRESULT OnDeviceReset() override;
  HRESULT OnDeviceLost() override;
  HRESULT OnDeviceDestroyed() override;
  HRESULT DrawFrame() override;
  void OnMusicEvent(long code) override;

  DS_MonitorScene& Scene(UINT index) { return m_Scenes[index]; }
  DS_MonitorScene* CurrentScene() const { return m_CurrentScene; }
  UINT CurrentOutput() const { return m_CurrentOutput; }

 private:
  DS_MonitorScene m_Scenes[kSceneRecordCount];
  DS_MonitorScene* m_CurrentScene = &m_Scenes[0];
  UINT m_CurrentOutput = 0;
};

// The application object of the process, read by its dialog procedures.
extern CSceneSaverApp* g_App;
