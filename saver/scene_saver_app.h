// The application: the framework with this saver's name, its device needs and (later) its
// scenes, settings and music.
#pragma once

#include "saver/saver_shell.h"

constexpr UINT kSaverNameString = 1000;

class CSceneSaverApp : public CSaverShell {
 public:
  CSceneSaverApp();

  HRESULT AcceptDeviceCaps(const D3DCAPS9* caps, DWORD behaviorFlags,
                           D3DFORMAT adapterFormat) override;

  // Settings and their dialogs (app_settings.cpp, config_dialog.cpp).
  void ShowConfiguration() override;
  void LoadSettings() override;
  INT_PTR HandleDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The application object of the process, read by its dialog procedures.
extern CSceneSaverApp* g_App;
