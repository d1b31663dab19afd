// The screen-saver switches of the command line. Platform-free so that the host tests cover it.
#pragma once

#include <cstdint>

enum DS_RunMode : int {
  RunMode_Configure = 0,
  RunMode_Preview = 1,
  RunMode_FullScreen = 2,
  RunMode_TestWindow = 3,
  RunMode_ChangePassword = 4,
  RunMode_Nothing = 5,
};

struct DS_CommandLineSwitch {
  DS_RunMode mode = RunMode_Configure;
  std::uintptr_t parentWindow = 0;  // the window handle that follows /a, /c or /p; 0 when none
};

// Reads the run mode and the parent window from a whole command line, program name first.
// The line is a null-terminated UTF-16 string (wchar_t on Windows).
DS_CommandLineSwitch ReadRunMode(const char16_t* commandLine);
