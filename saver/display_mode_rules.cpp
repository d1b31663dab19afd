#include "saver/display_mode_rules.h"

#include <algorithm>

#include "saver/saver_shell.h"

bool Is32BitFormat(D3DFORMAT format) { return format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8; }

bool Is16BitFormat(D3DFORMAT format) {
  return format == D3DFMT_R5G6B5 || format == D3DFMT_X1R5G5B5 || format == D3DFMT_A1R5G5B5 ||
         format == D3DFMT_A4R4G4B4 || format == D3DFMT_X4R4G4B4;
}

static bool IsDefaultFormat(D3DFORMAT format) {
  return format == D3DFMT_R5G6B5 || format == D3DFMT_X1R5G5B5 || format == D3DFMT_A1R5G5B5;
}

bool AddCandidateMode(const D3DDISPLAYMODE& mode, DS_SaverDisplayMode* candidates, UINT* count, UINT capacity) {
  if (*count >= capacity) return false;
  if (mode.Width < kMinListedWidth || mode.Height < kMinListedHeight) return false;
  for (UINT k = 0; k < *count; ++k) {
    if (candidates[k].width == mode.Width && candidates[k].height == mode.Height &&
        candidates[k].format == mode.Format)
      return false;
  }
  candidates[(*count)++] = DS_SaverDisplayMode{mode.Width, mode.Height, mode.Format, 0, D3DFMT_UNKNOWN};
  return true;
}

UINT CollectCandidateModes(const D3DDISPLAYMODE* modes, UINT modeCount, DS_SaverDisplayMode* candidates,
                           UINT capacity) {
  UINT kept = 0;
  for (UINT i = 0; i < modeCount && kept < capacity; ++i) AddCandidateMode(modes[i], candidates, &kept, capacity);
  return kept;
}

int CompareDisplayModes(const DS_SaverDisplayMode& a, const DS_SaverDisplayMode& b) {
  if (a.width != b.width) return a.width < b.width ? -1 : 1;
  if (a.height != b.height) return a.height < b.height ? -1 : 1;
  if (a.format != b.format) return a.format > b.format ? -1 : 1;
  return 0;
}

void SortDisplayModes(DS_SaverDisplayMode* modes, UINT count) {
  std::stable_sort(modes, modes + count, [](const DS_SaverDisplayMode& a, const DS_SaverDisplayMode& b) {
    return CompareDisplayModes(a, b) < 0;
  });
}

UINT DefaultModeIndex(const DS_SaverDisplayMode* modes, UINT count) {
  UINT chosen = 0;
  for (UINT i = 0; i < count; ++i) {
    if (modes[i].width != 640 || modes[i].height != 480) continue;
    chosen = i;
    if (IsDefaultFormat(modes[i].format)) break;
  }
  return chosen;
}

bool FindSavedMode(const DS_SaverDisplayMode* modes, UINT count, UINT width, UINT height, UINT format,
                   UINT* index) {
  for (UINT i = 0; i < count; ++i) {
    if (modes[i].width == width && modes[i].height == height && static_cast<UINT>(modes[i].format) == format) {
      *index = i;
      return true;
    }
  }
  return false;
}

static UINT SoftwareModeIndex(const DS_SaverDisplayMode* modes, UINT count) {
  bool found = false;
  UINT lowest = 0;
  for (UINT i = 0; i < count; ++i) {
    if (modes[i].height == 400) continue;
    if (!found || modes[i].height < lowest) lowest = modes[i].height;
    found = true;
  }
  if (!found) return 0;
  UINT chosen = 0;
  for (UINT i = 0; i < count; ++i) {
    if (modes[i].height != lowest) continue;
    chosen = i;
    if (Is16BitFormat(modes[i].format)) break;
  }
  return chosen;
}

static UINT HardwareModeIndex(const DS_SaverDisplayMode* modes, UINT count, const D3DDISPLAYMODE& desktop) {
  bool found = false;
  UINT chosen = 0;
  for (UINT i = 0; i < count; ++i) {
    if (modes[i].width != desktop.Width || modes[i].height != desktop.Height) continue;
    if (!found) {
      chosen = i;
      found = true;
    } else if (Is32BitFormat(modes[i].format)) {
      return i;
    }
  }
  return chosen;
}

UINT AutomaticModeIndex(const DS_SaverDisplayMode* modes, UINT count, D3DDEVTYPE kind,
                        const D3DDISPLAYMODE& desktop) {
  return kind == D3DDEVTYPE_SW ? SoftwareModeIndex(modes, count) : HardwareModeIndex(modes, count, desktop);
}

bool StepDownMode(const DS_SaverDisplayMode* modes, UINT count, UINT* chosen) {
  if (*chosen >= count) return false;
  const DS_SaverDisplayMode& current = modes[*chosen];
  const UINT area = current.width * current.height;
  const bool current32 = Is32BitFormat(current.format);
  if (current32) {
    for (UINT i = 0; i < count; ++i) {
      if (i != *chosen && modes[i].width == current.width && modes[i].height == current.height &&
          !Is32BitFormat(modes[i].format)) {
        *chosen = i;
        return true;
      }
    }
  }
  bool found = false;
  UINT best = 0;
  for (UINT i = 0; i < count; ++i) {
    if (i == *chosen) continue;
    const UINT candidateArea = modes[i].width * modes[i].height;
    if (candidateArea >= area) continue;
    if (!found) {
      best = i;
      found = true;
      continue;
    }
    const UINT bestArea = modes[best].width * modes[best].height;
    const bool best32 = Is32BitFormat(modes[best].format);
    const bool candidate32 = Is32BitFormat(modes[i].format);
    // A larger area always wins; a 32-bit mode also displaces a best that is not 32-bit.
    if (candidateArea > bestArea || (!best32 && candidate32)) best = i;
  }
  if (found) *chosen = best;
  return found;
}

UINT VertexProcessingCandidates(DWORD devCaps, DWORD* candidates) {
  UINT count = 0;
  if (devCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) {
    if (devCaps & D3DDEVCAPS_PUREDEVICE)
      candidates[count++] = D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
    candidates[count++] = D3DCREATE_HARDWARE_VERTEXPROCESSING;
    candidates[count++] = D3DCREATE_MIXED_VERTEXPROCESSING;
  }
  candidates[count++] = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  return count;
}

UINT DepthFormatCandidates(UINT minDepthBits, UINT minStencilBits, D3DFORMAT* candidates) {
  struct Entry {
    D3DFORMAT format;
    UINT depthBits;
    UINT stencilBits;
  };
  static const Entry kFormats[] = {
      {D3DFMT_D16, 16, 0},     {D3DFMT_D15S1, 15, 1},   {D3DFMT_D24X8, 24, 0},
      {D3DFMT_D24S8, 24, 8},   {D3DFMT_D24X4S4, 24, 4}, {D3DFMT_D32, 32, 0},
  };
  UINT count = 0;
  for (const Entry& entry : kFormats) {
    if (minDepthBits <= entry.depthBits && minStencilBits <= entry.stencilBits) candidates[count++] = entry.format;
  }
  return count;
}

void WindowedBackBufferCandidates(D3DFORMAT desktopFormat, D3DFORMAT* candidates) {
  candidates[0] = desktopFormat;
  candidates[1] = D3DFMT_A8R8G8B8;
  candidates[2] = D3DFMT_X8R8G8B8;
  candidates[3] = D3DFMT_A1R5G5B5;
  candidates[4] = D3DFMT_R5G6B5;
}
