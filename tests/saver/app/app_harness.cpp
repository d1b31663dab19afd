// The saver built from the product's objects and resources with an application that only watches:
// it saves the back buffer of chosen frames before they are presented, logs each record's stage,
// the music events and the error state, and can end the run after a frame. Configured by
//   VQ_APP_LOG    the log file (Windows path); one "key=value ..." line per event
//   VQ_APP_SHOTS  comma-separated frame numbers (1 = the first presented frame of an output)
//   VQ_APP_SHOT_DIR  the folder of the pictures: frame<N>-output<i>.png
//   VQ_APP_QUIT   end the saver once every output has presented this many frames
#include <windows.h>
#include <d3dx9.h>

#include <set>
#include <sstream>
#include <string>

#include "core/render/device_globals.h"
#include "core/com/ds_com_holder.h"
#include "core/resources/doc_res_manager.h"
#include "saver/scene_saver_app.h"
#include "tests/saver/harness/harness_support.h"

namespace {

const char* Stage(const DS_MonitorScene& scene) {
  if (scene.Running()) return "running";
  return scene.LoadingScreenShown() ? "loading-shown" : "new";
}

class TestApp : public CSceneSaverApp {
 public:
  TestApp() {
    std::wstringstream shots(HarnessEnv(L"VQ_APP_SHOTS"));
    std::wstring item;
    while (std::getline(shots, item, L',')) {
      if (!item.empty()) m_Shots.insert(std::stoul(item));
    }
    m_ShotDir = HarnessEnv(L"VQ_APP_SHOT_DIR");
    const std::wstring quit = HarnessEnv(L"VQ_APP_QUIT");
    if (!quit.empty()) m_QuitAfter = std::stoul(quit);
  }

  HRESULT DrawFrame() override {
    const UINT output = CurrentOutput();
    DS_MonitorScene& scene = Scene(output);
    const char* before = Stage(scene);
    const double started = HarnessSeconds();
    const HRESULT result = CSceneSaverApp::DrawFrame();
    HarnessLog(
        "event=draw output=%u frame=%u before=%s after=%s ms=%.2f apptime=%.3f manager=%p music=%d error=%d "
        "code=0x%08lX",
        output, m_Presented[output] + 1, before, Stage(scene), (HarnessSeconds() - started) * 1000.0, m_AppTime,
        static_cast<void*>(scene.Manager()), scene.MusicStarted() ? 1 : 0, m_ErrorMode ? 1 : 0, static_cast<unsigned long>(m_ErrorCode));
    return result;
  }

  void OnMusicEvent(long code) override {
    HarnessLog("event=music code=%ld running=%d", code, CurrentScene()->Running() ? 1 : 0);
    CSceneSaverApp::OnMusicEvent(code);
  }

  HRESULT OnDeviceLost() override {
    HarnessLog("event=device-lost output=%u", CurrentOutput());
    return CSceneSaverApp::OnDeviceLost();
  }

  HRESULT PresentOutputDevice(DS_SaverOutput& output) override {
    const UINT index = static_cast<UINT>(&output - m_Outputs);
    const UINT frame = ++m_Presented[index];
    if (m_Shots.count(frame) && !m_ShotDir.empty()) SaveBackBuffer(output, index, frame);
    const HRESULT result = CSceneSaverApp::PresentOutputDevice(output);
    if (m_QuitAfter != 0 && !m_QuitPosted) {
      bool all = true;
      for (UINT i = 0; i < m_OutputCount; ++i) all = all && m_Presented[i] >= m_QuitAfter;
      if (all) {
        m_QuitPosted = true;
        // The ending a person causes: the main window goes, as after a key press or closing.
        PostMessageW(m_MainWindow, m_RunMode == RunMode_TestWindow ? WM_CLOSE : WM_KEYDOWN, 0, 0);
      }
    }
    return result;
  }

  void LogState(const char* event) {
    HarnessLog("event=%s mode=%d outputs=%u error=%d code=0x%08lX text=%ls", event, static_cast<int>(m_RunMode),
               m_OutputCount, m_ErrorMode ? 1 : 0, static_cast<unsigned long>(m_ErrorCode), m_ErrorText);
  }

 private:
  void SaveBackBuffer(DS_SaverOutput& output, UINT index, UINT frame) {
    DS_ComHolder<IDirect3DSurface9> backBuffer;
    if (FAILED(output.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.Receive())) || !backBuffer)
      return;
    wchar_t name[64];
    wsprintfW(name, L"\\frame%u-output%u.png", frame, index);
    const std::wstring path = m_ShotDir + name;
    const HRESULT hr = D3DXSaveSurfaceToFileW(path.c_str(), D3DXIFF_PNG, backBuffer.Get(), nullptr, nullptr);
    HarnessLog("event=shot output=%u frame=%u saved=%d", index, frame, SUCCEEDED(hr) ? 1 : 0);
  }

  std::set<UINT> m_Shots;
  std::wstring m_ShotDir;
  UINT m_QuitAfter = 0;
  bool m_QuitPosted = false;
  UINT m_Presented[kMaxOutputs] = {};
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  OpenHarnessLog(L"VQ_APP_LOG");
  StartHarnessGdiplus();
  HarnessLog("event=start");
  return RunHarnessApp<TestApp>(instance);
}
