// The per-monitor settings ("Screen %d" subkeys, "AllScreensSame") and the display settings
// dialogs 200 and 201. The operations themselves are members of CSaverShell, declared in
// saver_shell.h; this header adds what the dialogs' callers and the tests need besides.
#pragma once

#include <windows.h>
#include <d3d9.h>

struct DS_SaverAdapter;
struct DS_SaverMonitor;

// Dialog procedure of the display settings dialogs: forwards to g_Saver->HandleDisplayDialog.
INT_PTR CALLBACK DisplayDialogThunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The help text (a string id) that describes what `adapter` can do on `monitor`; `adapter` is
// null when no adapter claims the monitor.
UINT DisplayHelpStringId(const DS_SaverMonitor& monitor, const DS_SaverAdapter* adapter);

// The mode list's bit depth of a back-buffer format.
UINT DisplayModeBitDepth(D3DFORMAT format);
