// Remembers the display mode that a full-screen device was finally created with, so that the next
// run starts there: "Screen %d" under the settings key of the current user.
#pragma once

#include <windows.h>

void WriteSavedDisplayMode(const WCHAR* settingsKeyPath, int screenNumber, UINT width, UINT height, UINT format,
                           const GUID& adapterId);
