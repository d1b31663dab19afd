// The end-to-end test driver: starts programs with exact command lines, lists and pokes windows,
// hosts a preview parent and reads or writes the registry. Results go to stdout, one line each.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

DWORD Elapsed(DWORD since) { return GetTickCount() - since; }

// Starts the command line, `started` the tick it was started at; prints "cannot-start <error>"
// when it does not start.
bool Launch(const std::wstring& commandLine, PROCESS_INFORMATION* process, DWORD* started) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  std::wstring line = commandLine;  // CreateProcessW may write into its command line
  *started = GetTickCount();
  if (CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, process)) {
    return true;
  }
  std::printf("cannot-start %lu\n", static_cast<unsigned long>(GetLastError()));
  return false;
}

// Waits for the process and prints "exit <code> ms <elapsed>", or "timeout" (the process is
// then ended so that no test leaves one behind).
int ReportExit(PROCESS_INFORMATION& process, DWORD started, DWORD limitMs) {
  const DWORD waited = WaitForSingleObject(process.hProcess, limitMs);
  int rc = 0;
  if (waited == WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("exit %lu ms %lu\n", static_cast<unsigned long>(code),
                static_cast<unsigned long>(Elapsed(started)));
  } else {
    std::printf("timeout ms %lu\n", static_cast<unsigned long>(Elapsed(started)));
    TerminateProcess(process.hProcess, 255);
    rc = 3;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return rc;
}

int Run(DWORD limitMs, const std::wstring& commandLine) {
  PROCESS_INFORMATION process = {};
  DWORD started = 0;
  if (!Launch(commandLine, &process, &started)) return 2;
  return ReportExit(process, started, limitMs);
}

void PrintWindow(HWND window) {
  wchar_t className[128] = L"";
  wchar_t title[256] = L"";
  GetClassNameW(window, className, 128);
  GetWindowTextW(window, title, 256);
  RECT rect = {}, client = {};
  GetWindowRect(window, &rect);
  GetClientRect(window, &client);
  POINT clientOrigin = {0, 0};
  ClientToScreen(window, &clientOrigin);
  OffsetRect(&client, clientOrigin.x, clientOrigin.y);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HWND parent = GetAncestor(window, GA_PARENT);
  if (parent == GetDesktopWindow()) parent = nullptr;
  std::printf(
      "hwnd=%llu pid=%lu class=%ls style=0x%08lX exstyle=0x%08lX rect=%ld,%ld,%ld,%ld "
      "client=%ld,%ld,%ld,%ld owner=%llu parent=%llu visible=%d title=%ls\n",
      static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
      static_cast<unsigned long>(pid), className,
      static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
      static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)), rect.left, rect.top,
      rect.right, rect.bottom, client.left, client.top, client.right, client.bottom,
      static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(GetWindow(window, GW_OWNER))),
      static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(parent)),
      IsWindowVisible(window) ? 1 : 0, title);
}

BOOL CALLBACK PrintChild(HWND window, LPARAM) {
  PrintWindow(window);
  return TRUE;
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM) {
  PrintWindow(window);
  EnumChildWindows(window, PrintChild, 0);
  return TRUE;
}

HWND ParseWindow(const wchar_t* text) {
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(text, nullptr, 0)));
}

int Post(const wchar_t* window, const wchar_t* message, const wchar_t* wParam,
         const wchar_t* lParam) {
  const BOOL posted = PostMessageW(ParseWindow(window), std::wcstoul(message, nullptr, 0),
                                   static_cast<WPARAM>(std::wcstoull(wParam, nullptr, 0)),
                                   static_cast<LPARAM>(std::wcstoll(lParam, nullptr, 0)));
  std::printf("posted %d\n", posted ? 1 : 0);
  return posted ? 0 : 1;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

void PumpFor(DWORD ms) {
  const DWORD started = GetTickCount();
  while (Elapsed(started) < ms) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

HWND CreateHostWindow(int width, int height) {
  WNDCLASSW hostClass = {};
  hostClass.lpfnWndProc = HostProc;
  hostClass.hInstance = GetModuleHandleW(nullptr);
  hostClass.lpszClassName = L"VqPreviewHost";
  hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClassW(&hostClass);
  RECT frame = {100, 100, 100 + width, 100 + height};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  return CreateWindowExW(0, L"VqPreviewHost", L"Preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                         frame.left, frame.top, frame.right - frame.left,
                         frame.bottom - frame.top, nullptr, nullptr, hostClass.hInstance, nullptr);
}

// Creates a host window of the given client size and prints "host <handle>", then starts the
// command with %HWND% replaced by the host's decimal handle. The host, or null when the command
// did not start (the caller then answers 2).
HWND LaunchHosted(int width, int height, std::wstring commandLine, PROCESS_INFORMATION* process, DWORD* started) {
  HWND host = CreateHostWindow(width, height);
  std::printf("host %llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(host)));
  const size_t at = commandLine.find(L"%HWND%");
  if (at != std::wstring::npos) commandLine.replace(at, 6, std::to_wstring(reinterpret_cast<UINT_PTR>(host)));
  return Launch(commandLine, process, started) ? host : nullptr;
}

// Runs the command with %HWND% replaced by a window of this program (the owner a control panel
// would pass), pumping its messages until the process ends.
int HostRun(DWORD limitMs, const std::wstring& commandLine) {
  PROCESS_INFORMATION process = {};
  DWORD started = 0;
  if (!LaunchHosted(200, 100, commandLine, &process, &started)) return 2;
  while (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT && Elapsed(started) < limitMs) {
    PumpFor(20);
  }
  return ReportExit(process, started, 0);
}

// Hosts a preview parent of the given client size, starts the command with %HWND% replaced by
// the parent's decimal handle, reports the child, leaves it drawing for watchMs (while the caller
// looks at it), pokes it with input that must not end it, destroys the parent and reports how
// the process ended.
int PreviewHost(int width, int height, DWORD limitMs, DWORD watchMs, const std::wstring& commandLine) {
  PROCESS_INFORMATION process = {};
  DWORD started = 0;
  HWND host = LaunchHosted(width, height, commandLine, &process, &started);
  if (!host) return 2;
  HWND child = nullptr;
  while (child == nullptr && Elapsed(started) < limitMs) {
    PumpFor(20);
    child = FindWindowExW(host, nullptr, L"D3DSaverWndClass", nullptr);
    // A child still inside its CreateWindowExW is not yet shown: wait for the finished window.
    if (child != nullptr && !IsWindowVisible(child)) child = nullptr;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
  }
  if (child != nullptr) {
    std::printf("child-ms %lu\n", static_cast<unsigned long>(Elapsed(started)));
    PrintWindow(child);
    RECT hostClient;
    GetClientRect(host, &hostClient);
    std::printf("host-client %ld,%ld\n", hostClient.right, hostClient.bottom);
    // Input the preview must ignore, after its start-up wait.
    PumpFor(watchMs);
    PostMessageW(child, WM_KEYDOWN, 'A', 0);
    PostMessageW(child, WM_LBUTTONDOWN, 0, 0);
    PostMessageW(child, WM_ACTIVATEAPP, FALSE, 0);
    for (int i = 0; i < 8; ++i) PostMessageW(child, WM_MOUSEMOVE, 0, MAKELPARAM(10 + i, 20 + i));
    PumpFor(1000);
    std::printf("alive-after-input %d\n",
                WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT ? 1 : 0);
  } else {
    std::printf("no-child\n");
  }
  DestroyWindow(host);
  std::printf("host-destroyed\n");
  return ReportExit(process, GetTickCount(), limitMs);
}

HKEY RootKey(const wchar_t* name) {
  if (std::wcscmp(name, L"HKCR") == 0) return HKEY_CLASSES_ROOT;
  if (std::wcscmp(name, L"HKLM") == 0) return HKEY_LOCAL_MACHINE;
  return HKEY_CURRENT_USER;
}

// reg-get <root> <key> <value>: prints "dword <n>", "sz <text>", "binary <hex>" or "missing".
int RegGet(const wchar_t* root, const wchar_t* path, const wchar_t* name) {
  HKEY key;
  if (RegOpenKeyExW(RootKey(root), path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    std::printf("missing-key\n");
    return 1;
  }
  BYTE data[1024];
  DWORD size = sizeof(data) - 2, type = 0;
  const LONG read = RegQueryValueExW(key, name, nullptr, &type, data, &size);
  RegCloseKey(key);
  if (read != ERROR_SUCCESS) {
    std::printf("missing\n");
    return 1;
  }
  if (type == REG_DWORD && size == 4) {
    DWORD value;
    std::memcpy(&value, data, 4);
    std::printf("dword %lu\n", static_cast<unsigned long>(value));
  } else if (type == REG_SZ) {
    data[size] = data[size + 1] = 0;
    std::printf("sz %ls\n", reinterpret_cast<const wchar_t*>(data));
  } else {
    std::printf("binary ");
    for (DWORD i = 0; i < size; ++i) std::printf("%02X", data[i]);
    std::printf("\n");
  }
  return 0;
}

// reg-set <root> <key> <value> dword <n> | sz <text>
int RegSet(const wchar_t* root, const wchar_t* path, const wchar_t* name, const wchar_t* type,
           const wchar_t* value) {
  HKEY key;
  if (RegCreateKeyExW(RootKey(root), path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return 1;
  }
  LONG written;
  if (std::wcscmp(type, L"dword") == 0) {
    const DWORD number = std::wcstoul(value, nullptr, 0);
    written = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
  } else {
    written = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                             static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t)));
  }
  RegCloseKey(key);
  std::printf("set %d\n", written == ERROR_SUCCESS ? 1 : 0);
  return written == ERROR_SUCCESS ? 0 : 1;
}

int Usage() {
  std::printf(
      "usage: saverctl run <ms> <command line>\n"
      "       saverctl windows\n"
      "       saverctl post <hwnd> <message> <wparam> <lparam>\n"
      "       saverctl cursor <hwnd>\n"
      "       saverctl host-run <ms> <command line with %%HWND%%>\n"
      "       saverctl preview-host <width> <height> <ms> <watch ms> <command line with %%HWND%%>\n"
      "       saverctl reg-get <HKCU|HKCR|HKLM> <key> <value>\n"
      "       saverctl reg-set <HKCU|HKCR|HKLM> <key> <value> <dword|sz> <data>\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) return Usage();
  const std::wstring command = argv[1];
  if (command == L"run" && argc == 4) return Run(std::wcstoul(argv[2], nullptr, 10), argv[3]);
  if (command == L"windows" && argc == 2) {
    EnumWindows(PrintTopLevel, 0);
    return 0;
  }
  if (command == L"post" && argc == 6) return Post(argv[2], argv[3], argv[4], argv[5]);
  if (command == L"host-run" && argc == 4) return HostRun(std::wcstoul(argv[2], nullptr, 10), argv[3]);
  if (command == L"preview-host" && argc == 7) {
    return PreviewHost(_wtoi(argv[2]), _wtoi(argv[3]), std::wcstoul(argv[4], nullptr, 10),
                       std::wcstoul(argv[5], nullptr, 10), argv[6]);
  }
  if (command == L"cursor" && argc == 3) {
    // The pointer in the window's client coordinates: where the system's own mouse messages for
    // that window report it.
    POINT position;
    GetCursorPos(&position);
    ScreenToClient(ParseWindow(argv[2]), &position);
    std::printf("cursor %ld %ld\n", position.x, position.y);
    return 0;
  }
  if (command == L"reg-get" && argc == 5) return RegGet(argv[2], argv[3], argv[4]);
  if (command == L"reg-set" && argc == 7) return RegSet(argv[2], argv[3], argv[4], argv[5], argv[6]);
  return Usage();
}
