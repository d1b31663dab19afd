// Test fixture: a 16-bit PCM mono RIFF WAVE of one sine tone with short fades at both ends.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

inline std::vector<unsigned char> MakeToneWav(double frequency, double seconds, int amplitude,
                                              int rate = 22050) {
  const uint32_t samples = static_cast<uint32_t>(seconds * rate);
  const uint32_t dataBytes = samples * 2;
  std::vector<unsigned char> wav(44 + dataBytes);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&wav[at], &v, 4); };
  auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&wav[at], &v, 2); };
  std::memcpy(&wav[0], "RIFF", 4);
  put32(4, 36 + dataBytes);
  std::memcpy(&wav[8], "WAVEfmt ", 8);
  put32(16, 16);
  put16(20, 1);  // PCM
  put16(22, 1);  // mono
  put32(24, static_cast<uint32_t>(rate));
  put32(28, static_cast<uint32_t>(rate) * 2);
  put16(32, 2);
  put16(34, 16);
  std::memcpy(&wav[36], "data", 4);
  put32(40, dataBytes);
  const double fade = 0.01 * rate;
  for (uint32_t i = 0; i < samples; ++i) {
    double gain = 1.0;
    if (i < fade) gain = i / fade;
    if (samples - i < fade) gain = (samples - i) / fade;
    const double value = amplitude * gain * std::sin(2.0 * 3.14159265358979 * frequency * i / rate);
    put16(44 + 2 * i, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value))));
  }
  return wav;
}
