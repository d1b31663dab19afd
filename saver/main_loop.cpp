#include "saver/saver_shell.h"

// Placeholders until the main loop and the outputs land.
HRESULT CSaverShell::MainLoop() { return 0; }
HRESULT CSaverShell::OpenOutputs() { return 0; }
void CSaverShell::MakeOutputCurrent(UINT) {}
HRESULT CSaverShell::RenderOutputs() { return 0; }
void CSaverShell::CloseOutputs() {}
void CSaverShell::Quit() {}
void CSaverShell::DescribeDevice() {}
void CSaverShell::MeasureFrameRate() {}
