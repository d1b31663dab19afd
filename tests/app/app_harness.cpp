// The saver built from the product's objects and resources with an application that only watches:
// it saves the back buffer of chosen frames before they are presented, logs each record's stage,
// the music events and the error state, and can end the run after a frame. Configured by
//   VQ_APP_LOG    the log file (Windows path); one "key=value ..." line per event
//   VQ_APP_SHOTS  comma-separated frame numbers (1 = the first presented frame of an output)
//   VQ_APP_SHOT_DIR  the folder of the pictures: frame<N>-output<i>.png
//   VQ_APP_QUIT   end the saver once every output has presented this many frames
#include <windows.h>
#include <d3dx9.h>
#include <gdiplus.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include "core/render/device_globals.h"
#include "core/resources/doc_res_manager.h"
#include "saver/scene_saver_app.h"
#include "sound/sound_device.h"

namespace {

FILE* g_Log = nullptr;
LARGE_INTEGER g_Start, g_Frequency;

double Seconds() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - g_Start.QuadPart) / static_cast<double>(g_Frequency.QuadPart);
}

void Log(const char* format, ...) {
  if (g_Log == nullptr) return;
  va_list args;
  va_start(args, format);
  std::fprintf(g_Log, "t=%.3f ", Seconds());
  std::vfprintf(g_Log, format, args);
  std::fputc('\n', g_Log);
  std::fflush(g_Log);
  va_end(args);
}

std::wstring Env(const wchar_t* name) {
  wchar_t buffer[1024];
  const DWORD n = GetEnvironmentVariableW(name, buffer, 1024);
  return n > 0 && n < 1024 ? std::wstring(buffer, n) : std::wstring();
}

const char* Stage(const DS_MonitorScene& scene) {
  if (scene.Running()) return "running";
  return scene.LoadingScreenShown() ? "loading-shown" : "new";
}

class TestApp : public CSceneSaverApp {
 public:
  TestApp() {
    std::wstringstream shots(Env(L"VQ_APP_SHOTS"));
    std::wstring item;
    while (std::getline(shots, item, L',')) {
      if (!item.empty()) m_Shots.insert(std::stoul(item));
    }
    m_ShotDir = Env(L"VQ_APP_SHOT_DIR");
    const std::wstring quit = Env(L"VQ_APP_QUIT");
    if (!quit.empty()) m_QuitAfter = std::stoul(quit);
  }

  HRESULT DrawFrame() override {
    const UINT output = CurrentOutput();
    DS_MonitorScene& scene = Scene(output);
    const char* before = Stage(scene);
    const double started = Seconds();
    const HRESULT result = CSceneSaverApp::DrawFrame();
    Log("event=draw output=%u frame=%u before=%s after=%s ms=%.2f apptime=%.3f manager=%p error=%d code=0x%08lX",
        output, m_Presented[output] + 1, before, Stage(scene), (Seconds() - started) * 1000.0, m_AppTime,
        static_cast<void*>(scene.Manager()), m_ErrorMode ? 1 : 0, static_cast<unsigned long>(m_ErrorCode));
    return result;
  }

  void OnMusicEvent(long code) override {
    Log("event=music code=%ld running=%d", code, CurrentScene()->Running() ? 1 : 0);
    CSceneSaverApp::OnMusicEvent(code);
  }

  HRESULT OnDeviceLost() override {
    Log("event=device-lost output=%u", CurrentOutput());
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
    Log("event=%s mode=%d outputs=%u error=%d code=0x%08lX text=%ls", event, static_cast<int>(m_RunMode),
        m_OutputCount, m_ErrorMode ? 1 : 0, static_cast<unsigned long>(m_ErrorCode), m_ErrorText);
  }

 private:
  void SaveBackBuffer(DS_SaverOutput& output, UINT index, UINT frame) {
    IDirect3DSurface9* backBuffer = nullptr;
    if (FAILED(output.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) || !backBuffer) return;
    wchar_t name[64];
    wsprintfW(name, L"\\frame%u-output%u.png", frame, index);
    const std::wstring path = m_ShotDir + name;
    const HRESULT hr = D3DXSaveSurfaceToFileW(path.c_str(), D3DXIFF_PNG, backBuffer, nullptr, nullptr);
    backBuffer->Release();
    Log("event=shot output=%u frame=%u saved=%d", index, frame, SUCCEEDED(hr) ? 1 : 0);
  }

  std::set<UINT> m_Shots;
  std::wstring m_ShotDir;
  UINT m_QuitAfter = 0;
  bool m_QuitPosted = false;
  UINT m_Presented[kMaxOutputs] = {};
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  QueryPerformanceFrequency(&g_Frequency);
  QueryPerformanceCounter(&g_Start);
  const std::wstring logPath = Env(L"VQ_APP_LOG");
  if (!logPath.empty()) g_Log = _wfopen(logPath.c_str(), L"a");

  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartupInput gdiplusInput;
  Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

  int result = 0;
  {
    TestApp app;
    Log("event=start");
    app.CSaverShell::Prepare(instance);
    app.LogState("prepared");
    result = app.CSaverShell::Execute();
    app.LogState("executed");
  }
  // As the saver does once its application is gone.
  ReleaseSoundDevice();
  if (g_Log != nullptr) std::fclose(g_Log);
  return result;
}
