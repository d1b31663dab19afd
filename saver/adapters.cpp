#include "saver/saver_shell.h"

// Placeholders until the adapters, devices and display modes land.
HRESULT CSaverShell::EnumerateDevices() { return 0; }
int CSaverShell::PickPreferredAdapter() const { return -1; }
HRESULT CSaverShell::OpenFullScreenOutput(DS_SaverOutput&) { return E_FAIL; }
HRESULT CSaverShell::OpenWindowedOutput(DS_SaverOutput&) { return E_FAIL; }
bool CSaverShell::ChooseDepthFormat(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT*) const { return false; }
bool CSaverShell::StepDownDisplayMode(DS_SaverDevice&) const { return false; }
