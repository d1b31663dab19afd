// What the soak of the application and the soak of the frame floor share: the cadence of slide
// switches, device losses and music changes, the figures sampled after the warm-up and at the
// end, and the report of their growth with the limit each must keep.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <dshow.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "core/com/ds_com_holder.h"
#include "saver/saver_shell.h"

// A forced device loss and reset every this many slide switches, some seconds of application
// time into the slide so that the frame drawn after the reset shows the picture, not the fade.
constexpr int kSwitchesPerLoss = 25;
// A music-file change every this many slide switches, and one at each reopening of the graph.
constexpr int kSwitchesPerMusicChange = 4;
constexpr int kMinimumMusicChanges = 100;
// A line of figures every this many switches.
constexpr int kSwitchesPerTrace = 50;

// The warm-up: whole cycles of the show, at least as many switches as bring the first loss.
inline int WarmUpSwitches(int slideCount) {
  const int cycle = slideCount > 0 ? slideCount : 1;
  return ((kSwitchesPerLoss + cycle) / cycle) * cycle;
}

// The run after the warm-up: whole cycles, at least `wanted` switches.
inline int MeasuredSwitches(int slideCount, int wanted) {
  const int cycle = slideCount > 0 ? slideCount : 1;
  return ((wanted + cycle - 1) / cycle) * cycle;
}

// A framework (the application, or the bare shell of the floor) whose device reports that it needs
// a reset, as after a display change, on the frame after `lossDue` is set: the framework then runs
// the device-lost hook, Reset and the device-reset hook before it draws. Counts the resets and
// those that did not answer D3D_OK.
template <class Shell>
class ForcedLossShell : public Shell {
 public:
  bool lossDue = false;
  bool resetThisFrame = false;  // set from the forced loss until the caller clears it
  int resets = 0;
  int failedResets = 0;

 protected:
  HRESULT TestOutputDevice(DS_SaverOutput& output) override {
    if (lossDue) {
      lossDue = false;
      resetThisFrame = true;
      return D3DERR_DEVICENOTRESET;
    }
    return Shell::TestOutputDevice(output);
  }
  HRESULT ResetOutputDevice(DS_SaverOutput& output) override {
    const HRESULT result = Shell::ResetOutputDevice(output);
    ++resets;
    if (result != D3D_OK) {
      ++failedResets;
      std::printf("reset %d: Reset returned 0x%08lx\n", resets, static_cast<unsigned long>(result));
    }
    return result;
  }
};

struct SoakSample {
  double residentMb = 0;   // the working set: resident memory
  double privateMb = 0;    // committed private memory (anonymous resident memory under Wine)
  long handles = -1;       // kernel handles of the process
  double heapMb = 0;       // blocks in use on the Windows heaps: this program's, its libraries' and Wine's PE side
  long threads = -1;
  long unixFiles = -1;     // open file descriptors of the Wine process
  long gdiObjects = -1;
  long userObjects = -1;
  long deviceRefs = -1;    // references to the Direct3D device: every live resource holds one
  long graphFilters = -1;  // filters in the music graph
};

// Filters in a graph, -1 without one.
inline long CountGraphFilters(IGraphBuilder* graph) {
  if (!graph) return -1;
  DS_ComHolder<IEnumFilters> filters;
  if (FAILED(graph->EnumFilters(filters.Receive())) || !filters) return -1;
  long count = 0;
  DS_ComHolder<IBaseFilter> filter;
  while (filters->Next(1, filter.Receive(), nullptr) == S_OK) ++count;
  return count;
}

// Under Wine the process is a Linux process whose /proc entry is reached through drive Z:. Files
// are opened by the Wine server, so /proc/self is the server's: the program's own entry is found
// by its command line and, where the environment names the Wine prefix, by that prefix too (two
// benches of one program in two prefixes must not read each other's figures), once. Empty on
// Windows.
inline std::string UnixProcessFolder() {
  static std::string folder = [] {
    WCHAR module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring name(module);
    name = name.substr(name.find_last_of(L"\\/") + 1);
    const std::string needle(name.begin(), name.end());  // the programs' names are ASCII
    char prefix[MAX_PATH] = {};
    const DWORD prefixLength = GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
    const std::string prefixEntry =
        prefixLength > 0 && prefixLength < MAX_PATH ? std::string("WINEPREFIX=") + prefix + '\0' : std::string();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return std::string();
    std::string match;
    do {
      if (found.cFileName[0] < '0' || found.cFileName[0] > '9') continue;
      const std::string candidate = std::string("Z:\\proc\\") + found.cFileName;
      std::ifstream cmdline(candidate + "\\cmdline", std::ios::binary);
      std::string text((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
      const size_t end = text.find('\0');  // the program path, without its arguments
      if (text.substr(0, end).find(needle) == std::string::npos) continue;
      if (!prefixEntry.empty()) {
        std::ifstream environment(candidate + "\\environ", std::ios::binary);
        const std::string entries = '\0' + std::string((std::istreambuf_iterator<char>(environment)),
                                                       std::istreambuf_iterator<char>());
        if (entries.find('\0' + prefixEntry) == std::string::npos) continue;
      }
      match = candidate;
    } while (match.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return match;
  }();
  return folder;
}

inline void ReadUnixProcessFigures(SoakSample& sample) {
  const std::string folder = UnixProcessFolder();
  if (folder.empty()) return;
  std::ifstream status(folder + "\\status");
  std::string line;
  auto value = [&](const char* key) { return std::strtod(line.c_str() + std::strlen(key), nullptr); };
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) sample.residentMb = value("VmRSS:") / 1024.0;
    if (line.rfind("RssAnon:", 0) == 0) sample.privateMb = value("RssAnon:") / 1024.0;
    if (line.rfind("Threads:", 0) == 0) sample.threads = static_cast<long>(value("Threads:"));
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\fd\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  long count = 0;
  do {
    if (found.cFileName[0] != '.') ++count;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  sample.unixFiles = count;
}

// Kernel handles counted by asking for each handle value's flags, where the process's handle
// count is not reported. Handle values are multiples of four.
inline long ProbeHandleCount() {
  long count = 0;
  for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

// The bytes in use on every heap of the process. Memory that grows outside them (and outside
// the device's resources) belongs to the platform's native side: under Wine, the OpenGL driver.
inline double HeapInUseMb() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  double bytes = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
    }
    HeapUnlock(heaps[i]);
  }
  return bytes / (1024.0 * 1024.0);
}

inline SoakSample TakeSoakSample(IDirect3DDevice9* device, IGraphBuilder* graph) {
  SoakSample sample;
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof(memory);
  if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof(memory))) {
    sample.residentMb = static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
    sample.privateMb = static_cast<double>(memory.PrivateUsage) / (1024.0 * 1024.0);
  }
  DWORD handles = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &handles) && handles > 0) sample.handles = static_cast<long>(handles);
  if (sample.handles <= 0) sample.handles = ProbeHandleCount();
  ReadUnixProcessFigures(sample);
  sample.heapMb = HeapInUseMb();
  sample.gdiObjects = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  sample.userObjects = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  if (device) {
    device->AddRef();
    sample.deviceRefs = static_cast<long>(device->Release());
  }
  sample.graphFilters = CountGraphFilters(graph);
  return sample;
}

// One line of the figures along the run, to see where a growth happens and whether it levels off.
inline void TraceSoakSample(const char* who, int switches, const SoakSample& s) {
  std::printf("%s trace: %5d switches  resident %7.2f MB  private %7.2f MB  heaps %7.2f MB  handles %5ld  "
              "threads %3ld  fds %4ld  device refs %3ld  graph filters %2ld\n",
              who, switches, s.residentMb, s.privateMb, s.heapMb, s.handles, s.threads, s.unixFiles, s.deviceRefs, s.graphFilters);
}

// One line per figure: after the warm-up, at the end, growth per 100 slide switches and the limit
// over the run. Returns false when a judged figure grew beyond its limit. A figure the platform
// does not report (0 or -1 at both samples) is shown and not judged. The program's own memory is
// judged by the heap blocks in use (every allocation of this program and its libraries) and by the
// device's references (every device resource); resident and private memory are shown beside them,
// since they also hold the platform's native side (under Wine, the OpenGL driver's memory).
inline bool ReportSoakGrowth(const char* who, const SoakSample& warm, const SoakSample& end, int switches) {
  const double per100 = switches > 0 ? 100.0 / switches : 0.0;
  bool grew = false;
  auto line = [&](const char* name, double a, double b, double limit, const char* unit, bool judged) {
    const bool reported = a > 0 || b > 0;
    const bool over = judged && reported && b - a > limit;
    grew = grew || over;
    char limitText[48];
    if (judged)
      std::snprintf(limitText, sizeof(limitText), "limit %+.1f over the run", limit);
    else
      std::snprintf(limitText, sizeof(limitText), "shown, not judged");
    std::printf("%s %-22s %10.2f %10.2f %+10.3f %-2s per 100 switches  (%s)%s\n", who, name, a, b, (b - a) * per100,
                unit, limitText, !reported ? "  not reported by the platform" : over ? "  GREW" : "");
  };
  std::printf("%s figure                 after warm-up     at end       growth\n", who);
  line("resident memory", warm.residentMb, end.residentMb, 1.0, "MB", false);
  line("private memory", warm.privateMb, end.privateMb, 1.0, "MB", false);
  line("heap blocks in use", warm.heapMb, end.heapMb, 1.0, "MB", true);
  line("handles", warm.handles, end.handles, 4, "", true);
  line("threads", warm.threads, end.threads, 2, "", true);
  line("Unix file descriptors", warm.unixFiles, end.unixFiles, 4, "", true);
  line("GDI objects", warm.gdiObjects, end.gdiObjects, 2, "", true);
  line("USER objects", warm.userObjects, end.userObjects, 2, "", true);
  line("device references", warm.deviceRefs, end.deviceRefs, 0, "", true);
  line("music graph filters", warm.graphFilters, end.graphFilters, 0, "", true);
  return !grew;
}

// Checks a frame drawn after a reset: false when the back buffer is one flat colour (nothing drawn).
inline bool BackBufferShowsAPicture(IDirect3DDevice9* device) {
  DS_ComHolder<IDirect3DSurface9> backBuffer;
  if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.Receive())) || !backBuffer) return false;
  D3DSURFACE_DESC desc = {};
  backBuffer->GetDesc(&desc);
  DS_ComHolder<IDirect3DSurface9> copy;
  if (FAILED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM,
                                                 copy.Receive(), nullptr)) ||
      FAILED(device->GetRenderTargetData(backBuffer.Get(), copy.Get()))) {
    return false;
  }
  D3DLOCKED_RECT locked = {};
  if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return false;
  const auto* bytes = static_cast<const unsigned char*>(locked.pBits);
  const DWORD first = *reinterpret_cast<const DWORD*>(bytes) & 0x00FFFFFFu;
  bool varied = false;
  for (UINT y = 0; y < desc.Height && !varied; y += 7) {
    const auto* row = reinterpret_cast<const DWORD*>(bytes + static_cast<size_t>(y) * locked.Pitch);
    for (UINT x = 0; x < desc.Width; x += 7) {
      if ((row[x] & 0x00FFFFFFu) != first) {
        varied = true;
        break;
      }
    }
  }
  copy->UnlockRect();
  return varied;
}
