#include <windows.h>

#include "saver/saver_shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  CSaverShell saver;
  saver.CSaverShell::Prepare(instance);
  return saver.CSaverShell::Execute();
}
