#include "run_mode.h"

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The program name comes first: quoted, it may hold blanks, '/' and '-'.
const char16_t* SkipProgramName(const char16_t* p) {
  if (*p == u'"') {
    ++p;
    while (*p != 0 && *p != u'"') ++p;
    if (*p == u'"') ++p;  // an unterminated quote ends at the terminator, never past it
    return p;
  }
  while (*p != 0 && *p != u' ') ++p;
  if (*p == u' ') ++p;
  return p;
}

DS_RunMode ModeForLetter(char16_t letter) {
  switch (letter) {
    case u'a': case u'A': return RunMode_ChangePassword;
    case u'c': case u'C': return RunMode_Configure;
    case u'p': case u'P': return RunMode_Preview;
    case u'r': case u'R': return RunMode_Nothing;
    case u't': case u'T': return RunMode_TestWindow;
    default: return RunMode_FullScreen;
  }
}

// A window handle is a decimal number; one that does not fit a pointer keeps its low bits,
// which names no window and is handled like any other bogus handle.
std::uintptr_t ReadDecimal(const char16_t* p) {
  std::uintptr_t value = 0;
  while (IsDigit(*p)) value = value * 10 + static_cast<std::uintptr_t>(*p++ - u'0');
  return value;
}

}  // namespace

DS_CommandLineSwitch ReadRunMode(const char16_t* commandLine) {
  DS_CommandLineSwitch result;
  if (commandLine == nullptr) return result;

  const char16_t* p = SkipProgramName(commandLine);
  while (*p != 0 && *p != u'/' && *p != u'-') ++p;
  if (*p == 0) return result;  // no switch: configure, no parent

  ++p;
  const char16_t letter = *p;
  result.mode = ModeForLetter(letter);
  if (letter == 0) return result;

  if (result.mode == RunMode_ChangePassword || result.mode == RunMode_Configure ||
      result.mode == RunMode_Preview) {
    ++p;
    while (*p != 0 && !IsDigit(*p)) ++p;
    if (IsDigit(*p)) result.parentWindow = ReadDecimal(p);
  }
  return result;
}
