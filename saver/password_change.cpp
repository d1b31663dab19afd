#include "saver/saver_shell.h"

namespace {

// The screen-saver password dialog of the multiple-provider router.
using PwdChangePasswordAProc = BOOL(WINAPI*)(LPCSTR provider, HWND owner, DWORD, LPVOID);

}  // namespace

void CSaverShell::RunPasswordChange() {
  HMODULE library = LoadLibraryW(L"MPR.DLL");
  if (library == nullptr) return;
  const FARPROC entry = GetProcAddress(library, "PwdChangePasswordA");
  if (entry != nullptr) {
    const auto changePassword =
        reinterpret_cast<PwdChangePasswordAProc>(reinterpret_cast<void (*)()>(entry));
    changePassword("SCRSAVE", m_ParentWindow, 0, nullptr);
  }
  FreeLibrary(library);
}
