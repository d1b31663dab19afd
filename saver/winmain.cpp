#include <windows.h>
#include <gdiplus.h>

#include "saver/scene_saver_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // GDI+ stays up until the process ends.
  ULONG_PTR gdiplusToken = 0;
  Gdiplus::GdiplusStartupInput gdiplusInput;
  Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);

  CSceneSaverApp app;
  app.CSaverShell::Prepare(instance);
  return app.CSaverShell::Execute();
}
