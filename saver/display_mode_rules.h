// The device-free rules of the display-mode and device choice: which enumerated modes are listed,
// their order, the default and automatic choices, the step-down, and the candidate orders for
// vertex processing, depth formats and windowed back buffers. Plain functions over plain arrays.
#pragma once

#include <windows.h>
#include <d3d9.h>

struct DS_SaverDisplayMode;

constexpr UINT kMinListedWidth = 640;
constexpr UINT kMinListedHeight = 400;

bool Is32BitFormat(D3DFORMAT format);  // X8R8G8B8, A8R8G8B8
bool Is16BitFormat(D3DFORMAT format);  // R5G6B5, X1R5G5B5, A1R5G5B5, A4R4G4B4, X4R4G4B4

// Appends one enumerated mode when it is at least 640 x 400, not yet kept (width, height and
// format; refresh-rate variants count once) and there is room; true when it was kept.
bool AddCandidateMode(const D3DDISPLAYMODE& mode, DS_SaverDisplayMode* candidates, UINT* count, UINT capacity);

// Appends each enumerated mode of at least 640 x 400 that no kept mode already has (width, height
// and format; refresh-rate variants count once) until `capacity` modes are kept; returns the count.
UINT CollectCandidateModes(const D3DDISPLAYMODE* modes, UINT modeCount, DS_SaverDisplayMode* candidates,
                           UINT capacity);

// Width ascending, then height ascending, then format value descending; <0, 0, >0.
int CompareDisplayModes(const DS_SaverDisplayMode& a, const DS_SaverDisplayMode& b);
void SortDisplayModes(DS_SaverDisplayMode* modes, UINT count);

// The enumeration's default: the first 640 x 480 mode in a 15/16-bit format, else the last
// 640 x 480 mode, else 0.
UINT DefaultModeIndex(const DS_SaverDisplayMode* modes, UINT count);

// The first mode with exactly this width, height and format.
bool FindSavedMode(const DS_SaverDisplayMode* modes, UINT count, UINT width, UINT height, UINT format,
                   UINT* index);

// The automatic full-screen choice. Software: the lowest mode that is not exactly 400 high, its
// first 16-bit variant, else the last of that height. HAL: the desktop's size, preferring a 32-bit
// variant. Mode 0 when the rule finds nothing.
UINT AutomaticModeIndex(const DS_SaverDisplayMode* modes, UINT count, D3DDEVTYPE kind,
                        const D3DDISPLAYMODE& desktop);

// The next smaller mode after `*chosen` failed: first the same size in a format that is not 32-bit,
// else the largest area below the chosen one. False when there is none.
bool StepDownMode(const DS_SaverDisplayMode* modes, UINT count, UINT* chosen);

// Behaviour flags to try, best first, for a device with these DevCaps; returns the count (at most 4).
UINT VertexProcessingCandidates(DWORD devCaps, DWORD* candidates);

// Depth-stencil formats to try, in order, that meet the minimum depth and stencil bits (at most 6).
UINT DepthFormatCandidates(UINT minDepthBits, UINT minStencilBits, D3DFORMAT* candidates);

// Back-buffer formats a windowed device tries, in order: the desktop's first (always 5).
constexpr UINT kWindowedFormatCount = 5;
void WindowedBackBufferCandidates(D3DFORMAT desktopFormat, D3DFORMAT* candidates);
