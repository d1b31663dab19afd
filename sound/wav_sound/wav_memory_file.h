// A RIFF WAVE held in memory, read through the multimedia RIFF functions as a memory file: its
// format and its sample data, checked so that no read, format or copy goes past the bytes given.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstddef>
#include <cstdint>
#include <vector>

struct DS_WavData {
  // The "fmt " chunk: for PCM and IEEE float the whole chunk, at least a WAVEFORMATEX long, with
  // cbSize 0; for the extensible form its 40 bytes, with cbSize 22.
  std::vector<uint8_t> format;
  std::vector<uint8_t> samples;  // whole sample frames, at least 4 bytes

  const WAVEFORMATEX* Format() const { return reinterpret_cast<const WAVEFORMATEX*>(format.data()); }
};

// Fills `wav` from the bytes of a RIFF WAVE file in a format DirectSound plays: 8-, 16-, 24- or
// 32-bit PCM, 32-bit IEEE float, or the extensible form with either as its sub-format. False,
// with `wav` emptied, for anything else: no bytes, no "WAVE" form, a missing, short or
// inconsistent "fmt " chunk, another format (compressed ones among them), a "data" chunk missing
// or running past the bytes, or fewer than 4 bytes of whole sample frames.
bool ReadWavFromMemory(const void* bytes, size_t size, DS_WavData& wav);
