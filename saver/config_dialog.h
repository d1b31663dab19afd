// The configuration dialog that the configure mode shows, the sound settings dialog opened from
// it, and the "Website" button's browser start.
#pragma once

#include <windows.h>

class CSaverShell;

// The product's web page, opened by the "Website" button.
extern const WCHAR kProductWebPage[];

// Shows the configuration dialog owned by the command line's parent window (configure mode).
void ShowConfigurationDialog(CSaverShell& saver);

// The configuration dialog's procedure and its body, which works on `saver`.
INT_PTR CALLBACK ConfigDialogThunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR HandleConfigDialog(CSaverShell& saver, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The sound settings dialog's procedure: forwards to g_Saver->HandleDialogMessage, which the
// application answers with HandleSoundDialog.
INT_PTR CALLBACK DialogThunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR HandleSoundDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Starts the browser registered for http with `url`; returns nonzero when it was started.
BOOL OpenUrlWithBrowser(const WCHAR* url);
