// Adapters, their device kinds and display modes; the device choice per output and the step-down
// to smaller modes when a full-screen device cannot be created.
#include <cstring>
#include <new>

#include "saver/display_mode_rules.h"
#include "saver/saved_display_mode.h"
#include "saver/saver_shell.h"

DS_Direct3DAccess& CSaverShell::Direct3D() const {
  if (m_Direct3DAccess) return *m_Direct3DAccess;
  return m_Direct3DCalls;
}

void CSaverShell::DeleteAdapterRecords() {
  for (DS_SaverAdapter*& adapter : m_Adapters) {
    delete adapter;
    adapter = nullptr;
  }
  m_AdapterCount = 0;
}

bool CSaverShell::ChooseVertexProcessing(const D3DCAPS9& caps, D3DFORMAT format, DWORD* behaviorFlags) {
  DWORD candidates[4];
  const UINT count = VertexProcessingCandidates(caps.DevCaps, candidates);
  for (UINT i = 0; i < count; ++i) {
    if (AcceptDeviceCaps(&caps, candidates[i], format) >= 0) {
      *behaviorFlags = candidates[i];
      return true;
    }
  }
  return false;
}

bool CSaverShell::ChooseDepthFormat(UINT adapter, D3DDEVTYPE kind, D3DFORMAT format,
                                    D3DFORMAT* depthFormat) const {
  D3DFORMAT candidates[6];
  const UINT count = DepthFormatCandidates(m_MinDepthBits, m_MinStencilBits, candidates);
  DS_Direct3DAccess& d3d = Direct3D();
  for (UINT i = 0; i < count; ++i) {
    if (SUCCEEDED(d3d.CheckDeviceFormat(adapter, kind, format, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                        candidates[i])) &&
        SUCCEEDED(d3d.CheckDepthStencilMatch(adapter, kind, format, format, candidates[i]))) {
      *depthFormat = candidates[i];
      return true;
    }
  }
  return false;
}

namespace {

// The formats a device kind is tried with: the desktop's first, then each format of the modes.
struct FormatList {
  D3DFORMAT formats[kMaxCandidateModes + 1];
  UINT count = 0;

  void Add(D3DFORMAT format) {
    for (UINT i = 0; i < count; ++i) {
      if (formats[i] == format) return;
    }
    if (count < kMaxCandidateModes + 1) formats[count++] = format;
  }
};

// What one format turned out to be worth for one device kind.
struct FormatChoice {
  bool accepted;
  DWORD behaviorFlags;
  D3DFORMAT depthFormat;
};

}  // namespace

HRESULT CSaverShell::EnumerateDevices() {
  DS_Direct3DAccess& d3d = Direct3D();
  UINT adapterCount = d3d.GetAdapterCount();
  if (adapterCount > kMaxAdapters) adapterCount = kMaxAdapters;  // the rest are ignored
  for (UINT a = 0; a < adapterCount; ++a) {
    if (!m_Adapters[a]) {
      m_Adapters[a] = new (std::nothrow) DS_SaverAdapter;
      if (!m_Adapters[a]) return E_OUTOFMEMORY;
    }
    DS_SaverAdapter& adapter = *m_Adapters[a];
    std::memset(&adapter, 0, sizeof(adapter));
    adapter.monitorIndex = -1;
    d3d.GetAdapterIdentifier(a, &adapter.identifier);
    d3d.GetAdapterDisplayMode(a, &adapter.desktopMode);
    m_AdapterCount = a + 1;

    // Detached monitor records hold a null handle; a null answer must not claim one of them.
    const HMONITOR monitor = d3d.GetAdapterMonitor(a);
    for (UINT m = 0; monitor && m < m_MonitorCount; ++m) {
      if (m_Monitors[m].monitor == monitor) {
        adapter.monitorIndex = static_cast<int>(m);
        m_Monitors[m].adapterIndex = static_cast<int>(a);
        break;
      }
    }

    // Candidate modes, one enumerated mode at a time; the table's bound drops the rest.
    DS_SaverDisplayMode candidates[kMaxCandidateModes];
    UINT candidateCount = 0;
    const UINT modeCount = d3d.GetAdapterModeCount(a, D3DFMT_X8R8G8B8);
    for (UINT i = 0; i < modeCount && candidateCount < kMaxCandidateModes; ++i) {
      D3DDISPLAYMODE mode;
      if (SUCCEEDED(d3d.EnumAdapterModes(a, D3DFMT_X8R8G8B8, i, &mode)))
        AddCandidateMode(mode, candidates, &candidateCount, kMaxCandidateModes);
    }

    FormatList formats;
    formats.Add(adapter.desktopMode.Format);
    for (UINT i = 0; i < candidateCount; ++i) formats.Add(candidates[i].format);

    SortDisplayModes(candidates, candidateCount);

    static const D3DDEVTYPE kKinds[] = {D3DDEVTYPE_HAL, D3DDEVTYPE_SW};
    for (D3DDEVTYPE kind : kKinds) {
      if (adapter.deviceCount >= kMaxDeviceKinds) break;
      DS_SaverDevice& device = adapter.devices[adapter.deviceCount];
      std::memset(&device, 0, sizeof(device));
      device.kind = kind;
      d3d.GetDeviceCaps(a, kind, &device.caps);
      lstrcpynW(device.description, kind == D3DDEVTYPE_HAL ? L"HAL" : L"SW", 40);
      device.multiSampleType = D3DMULTISAMPLE_NONE;

      FormatChoice choices[kMaxCandidateModes + 1];
      for (UINT f = 0; f < formats.count; ++f) {
        FormatChoice& choice = choices[f];
        choice = FormatChoice{false, 0, D3DFMT_UNKNOWN};
        const D3DFORMAT format = formats.formats[f];
        if (FAILED(d3d.CheckDeviceType(a, kind, format, format, FALSE))) continue;
        if (kind == D3DDEVTYPE_HAL)
          adapter.hasHAL = TRUE;
        else
          adapter.hasSW = TRUE;
        if (!ChooseVertexProcessing(device.caps, format, &choice.behaviorFlags)) continue;
        choice.accepted = true;
        if (m_DepthBufferWanted && !ChooseDepthFormat(a, kind, format, &choice.depthFormat)) choice.accepted = false;
      }

      for (UINT i = 0; i < candidateCount && device.modeCount < kMaxDisplayModes; ++i) {
        for (UINT f = 0; f < formats.count; ++f) {
          if (!choices[f].accepted || formats.formats[f] != candidates[i].format) continue;
          DS_SaverDisplayMode mode = candidates[i];
          mode.behaviorFlags = choices[f].behaviorFlags;
          mode.depthStencilFormat = choices[f].depthFormat;
          device.modes[device.modeCount++] = mode;
          break;
        }
      }
      device.chosenMode = DefaultModeIndex(device.modes, device.modeCount);
      if (choices[0].accepted) {
        device.canDoWindowed = TRUE;
        device.windowed = TRUE;
      }
      if (device.modeCount > 0) {
        ++adapter.deviceCount;
        if (kind == D3DDEVTYPE_HAL)
          adapter.hasUsableHAL = TRUE;
        else
          adapter.hasUsableSW = TRUE;
      }
    }
  }
  return 0;
}

int CSaverShell::PickPreferredAdapter() const {
  int software = -1;
  for (UINT m = 0; m < m_MonitorCount; ++m) {
    const int index = m_Monitors[m].adapterIndex;
    // A monitor that no adapter claims has nothing to offer.
    if (index < 0 || static_cast<UINT>(index) >= m_AdapterCount || !m_Adapters[index]) continue;
    if (m_Adapters[index]->hasUsableHAL) return index;
    if (m_Adapters[index]->hasUsableSW) software = index;
  }
  return software;
}

bool CSaverShell::StepDownDisplayMode(DS_SaverDevice& device) const {
  return StepDownMode(device.modes, device.modeCount, &device.chosenMode);
}

// The index of the device of `kind` in the adapter, or -1.
static int FindDeviceKind(const DS_SaverAdapter& adapter, D3DDEVTYPE kind, bool needWindowed) {
  for (UINT i = 0; i < adapter.deviceCount && i < kMaxDeviceKinds; ++i) {
    if (adapter.devices[i].kind == kind && (!needWindowed || adapter.devices[i].canDoWindowed))
      return static_cast<int>(i);
  }
  return -1;
}

static int ChooseDeviceKind(const DS_SaverAdapter& adapter, bool windowed) {
  int index = -1;
  if (!adapter.disableHardware) index = FindDeviceKind(adapter, D3DDEVTYPE_HAL, windowed);
  if (index < 0) index = FindDeviceKind(adapter, D3DDEVTYPE_SW, windowed);
  return index;
}

HRESULT CSaverShell::OpenFullScreenOutput(DS_SaverOutput& output) {
  if (output.adapter >= m_AdapterCount || !m_Adapters[output.adapter]) return E_FAIL;
  DS_SaverAdapter& adapter = *m_Adapters[output.adapter];
  if (adapter.deviceCount == 0) return E_FAIL;
  const int deviceIndex = ChooseDeviceKind(adapter, false);
  if (deviceIndex < 0) return kErrNoHardwareDevice;
  DS_SaverDevice& device = adapter.devices[deviceIndex];

  UINT saved = 0;
  if (adapter.savedWidth != 0 &&
      FindSavedMode(device.modes, device.modeCount, adapter.savedWidth, adapter.savedHeight, adapter.savedFormat,
                    &saved)) {
    device.chosenMode = saved;
  } else {
    device.chosenMode = AutomaticModeIndex(device.modes, device.modeCount, device.kind, adapter.desktopMode);
  }

  output.deviceType = device.kind;
  output.monitor = static_cast<UINT>(adapter.monitorIndex);
  bool steppedDown = false;
  HRESULT result = E_FAIL;
  for (;;) {
    const DS_SaverDisplayMode& mode = device.modes[device.chosenMode];
    D3DPRESENT_PARAMETERS& pp = output.presentParameters;
    std::memset(&pp, 0, sizeof(pp));
    pp.BackBufferWidth = mode.width;
    pp.BackBufferHeight = mode.height;
    pp.BackBufferFormat = mode.format;
    pp.BackBufferCount = 1;
    pp.MultiSampleType = D3DMULTISAMPLE_NONE;
    pp.SwapEffect = static_cast<D3DSWAPEFFECT>(m_FullScreenSwapEffect);
    pp.hDeviceWindow = adapter.deviceWindow;
    pp.Windowed = FALSE;
    pp.EnableAutoDepthStencil = m_DepthBufferWanted;
    pp.AutoDepthStencilFormat = mode.depthStencilFormat;
    pp.Flags = 0;
    pp.FullScreen_RefreshRateInHz = 0;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    output.behaviorFlags = mode.behaviorFlags;

    D3DPRESENT_PARAMETERS used = pp;  // CreateDevice may rewrite what it is given
    IDirect3DDevice9* created = nullptr;
    result = Direct3D().CreateDevice(output.adapter, device.kind, m_MainWindow, mode.behaviorFlags, &used, &created);
    if (SUCCEEDED(result) && created) {
      result = AcceptDisplayMode(created);
      if (result >= 0) {
        output.device = created;
        break;
      }
      created->Release();
    } else if (SUCCEEDED(result)) {
      result = E_FAIL;  // success without a device is no success
    }
    steppedDown = true;
    if (!StepDownDisplayMode(device)) return result;
  }

  if (steppedDown && m_SettingsKeyPath[0] != 0) {
    const DS_SaverDisplayMode& mode = device.modes[device.chosenMode];
    adapter.savedWidth = mode.width;
    adapter.savedHeight = mode.height;
    adapter.savedFormat = static_cast<UINT>(mode.format);
    WriteSavedDisplayMode(m_SettingsKeyPath, adapter.monitorIndex + 1, mode.width, mode.height,
                          static_cast<UINT>(mode.format), adapter.identifier.DeviceIdentifier);
  }
  return 0;
}

HRESULT CSaverShell::OpenWindowedOutput(DS_SaverOutput& output) {
  if (output.adapter >= m_AdapterCount || !m_Adapters[output.adapter]) return E_FAIL;
  DS_SaverAdapter& adapter = *m_Adapters[output.adapter];
  const int deviceIndex = ChooseDeviceKind(adapter, true);
  if (deviceIndex < 0) return kErrNoHardwareDevice;
  adapter.chosenDevice = static_cast<UINT>(deviceIndex);
  const DS_SaverDevice& device = adapter.devices[deviceIndex];
  const D3DFORMAT desktopFormat = adapter.desktopMode.Format;

  D3DFORMAT candidates[kWindowedFormatCount];
  WindowedBackBufferCandidates(desktopFormat, candidates);
  bool found = false;
  D3DFORMAT backBufferFormat = D3DFMT_UNKNOWN;
  DWORD behaviorFlags = 0;
  D3DFORMAT depthFormat = D3DFMT_UNKNOWN;
  for (D3DFORMAT candidate : candidates) {
    if (FAILED(Direct3D().CheckDeviceType(output.adapter, device.kind, desktopFormat, candidate, TRUE))) continue;
    if (!ChooseVertexProcessing(device.caps, candidate, &behaviorFlags)) continue;
    if (m_DepthBufferWanted && !ChooseDepthFormat(output.adapter, device.kind, candidate, &depthFormat)) continue;
    backBufferFormat = candidate;
    found = true;
    break;
  }
  if (!found) return E_FAIL;

  output.deviceType = device.kind;
  output.behaviorFlags = behaviorFlags;
  output.monitor = adapter.monitorIndex < 0 ? 0 : static_cast<UINT>(adapter.monitorIndex);
  D3DPRESENT_PARAMETERS& pp = output.presentParameters;
  std::memset(&pp, 0, sizeof(pp));
  pp.BackBufferWidth = 0;
  pp.BackBufferHeight = 0;
  pp.BackBufferFormat = backBufferFormat;
  pp.BackBufferCount = 1;
  pp.MultiSampleType = D3DMULTISAMPLE_NONE;
  pp.SwapEffect = static_cast<D3DSWAPEFFECT>(m_WindowedSwapEffect);
  pp.hDeviceWindow = adapter.deviceWindow;
  pp.Windowed = TRUE;
  pp.EnableAutoDepthStencil = m_DepthBufferWanted;
  pp.AutoDepthStencilFormat = m_DepthBufferWanted ? depthFormat : D3DFMT_UNKNOWN;
  pp.Flags = 0;
  pp.FullScreen_RefreshRateInHz = 0;
  pp.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;

  D3DPRESENT_PARAMETERS used = pp;
  IDirect3DDevice9* created = nullptr;
  const HRESULT result =
      Direct3D().CreateDevice(output.adapter, device.kind, m_MainWindow, behaviorFlags, &used, &created);
  if (FAILED(result)) return result;
  if (!created) return E_FAIL;
  output.device = created;
  return 0;
}
