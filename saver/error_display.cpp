#include "saver/saver_shell.h"

// Placeholders until the error display lands.
bool CSaverShell::ErrorMessageText(HRESULT, WCHAR* text, int capacity) {
  if (capacity > 0) text[0] = 0;
  return false;
}

HRESULT CSaverShell::ShowErrorMessage(HRESULT code) { return code; }

void CSaverShell::MoveErrorBox() {}

void CSaverShell::PaintWindow(HWND, HDC) {}
