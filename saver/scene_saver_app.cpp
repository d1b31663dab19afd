#include "saver/scene_saver_app.h"

#include <commctrl.h>

CSceneSaverApp* g_App = nullptr;

CSceneSaverApp::CSceneSaverApp() {
  g_App = this;
  InitCommonControls();
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
