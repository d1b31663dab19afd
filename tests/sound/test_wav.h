// Test fixture: a mono RIFF WAVE of one sine tone with short fades at both ends, as 16-bit PCM or
// 32-bit IEEE float, in the plain or the extensible form. The amplitude is given in 16-bit units
// (a float sample is the 16-bit value / 32768), so the forms sound alike.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

enum class ToneForm { Pcm16, Float32, ExtensiblePcm16, ExtensibleFloat32 };

inline std::vector<unsigned char> MakeToneWavIn(ToneForm form, double frequency, double seconds, int amplitude,
                                                int rate = 22050) {
  const bool isFloat = form == ToneForm::Float32 || form == ToneForm::ExtensibleFloat32;
  const bool extensible = form == ToneForm::ExtensiblePcm16 || form == ToneForm::ExtensibleFloat32;
  const uint16_t bytesPerSample = isFloat ? 4 : 2;
  const uint32_t fmtBytes = extensible ? 40 : (isFloat ? 18 : 16);
  const uint32_t samples = static_cast<uint32_t>(seconds * rate);
  const uint32_t dataBytes = samples * bytesPerSample;
  const size_t dataAt = 20 + fmtBytes + 8;
  std::vector<unsigned char> wav(dataAt + dataBytes);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&wav[at], &v, 4); };
  auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&wav[at], &v, 2); };
  const uint16_t tag = extensible ? 0xFFFE : (isFloat ? 3 : 1);
  std::memcpy(&wav[0], "RIFF", 4);
  put32(4, static_cast<uint32_t>(wav.size() - 8));
  std::memcpy(&wav[8], "WAVEfmt ", 8);
  put32(16, fmtBytes);
  put16(20, tag);
  put16(22, 1);  // mono
  put32(24, static_cast<uint32_t>(rate));
  put32(28, static_cast<uint32_t>(rate) * bytesPerSample);
  put16(32, bytesPerSample);
  put16(34, static_cast<uint16_t>(bytesPerSample * 8));
  if (fmtBytes >= 18) put16(36, static_cast<uint16_t>(fmtBytes - 18));
  if (extensible) {
    put16(38, static_cast<uint16_t>(bytesPerSample * 8));  // every bit valid
    put32(40, 0x4);                                         // front centre
    // The sub-format: {0000000t-0000-0010-8000-00AA00389B71} for format tag t.
    static const unsigned char kRest[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    put32(44, isFloat ? 3 : 1);
    std::memcpy(&wav[48], kRest, sizeof(kRest));
  }
  std::memcpy(&wav[dataAt - 8], "data", 4);
  put32(dataAt - 4, dataBytes);
  const double fade = 0.01 * rate;
  for (uint32_t i = 0; i < samples; ++i) {
    double gain = 1.0;
    if (i < fade) gain = i / fade;
    if (samples - i < fade) gain = (samples - i) / fade;
    const double value = amplitude * gain * std::sin(2.0 * 3.14159265358979 * frequency * i / rate);
    if (isFloat) {
      const float sample = static_cast<float>(value / 32768.0);
      std::memcpy(&wav[dataAt + 4 * i], &sample, 4);
    } else {
      put16(dataAt + 2 * i, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value))));
    }
  }
  return wav;
}

// The 16-bit PCM tone.
inline std::vector<unsigned char> MakeToneWav(double frequency, double seconds, int amplitude, int rate = 22050) {
  return MakeToneWavIn(ToneForm::Pcm16, frequency, seconds, amplitude, rate);
}
