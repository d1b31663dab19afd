#include "saver/saver_shell.h"

// Placeholders until the saver windows land.
HRESULT CSaverShell::OpenSaverWindows() { return E_FAIL; }

LRESULT CSaverShell::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

void CSaverShell::HandleUserActivity() {}
