#include <windows.h>
#include <gdiplus.h>

#include <cstdio>

#include "saver/scene_saver_app.h"
#include "sound/sound_device.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // GDI+ stays up until the process ends.
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartupInput gdiplusInput;
  Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

  int result = 0;
  {
    CSceneSaverApp app;
    app.CSaverShell::Prepare(instance);
    result = app.CSaverShell::Execute();
  }
  // Everything the saver made is released here, so the process ends at once. The libraries'
  // own teardown at a normal exit can hang or crash in the audio and media drivers under Wine
  // after the saver has finished, and the system then kills the process.
  ReleaseSoundDevice();
  std::fflush(nullptr);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
  return result;
}
