// Test fixtures of the sound objects: the bytes of a sound object's record and of whole scene
// documents whose slides hold sound objects, laid out with the tests' own byte builder; WAV data
// the documents carry in their saved resources.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/test_bytes.h"

// The library tone of common_res.dll: 440 Hz, 1 s of whole periods.
constexpr int64_t kLibraryTone = 254;

struct TestSound {
  std::u16string link = u"common_res.dll";
  int64_t stamp = kLibraryTone;
  uint32_t volume = 100, balance = 50;
  int32_t randomReplay = 0;
  uint32_t minInterval = 0, maxInterval = 5;
  std::u16string name = u"sound";
};

inline void AppendSound(TestBytes& b, const TestSound& s) {
  b.Header(u"DS_WAV_Constructor", 1).Key(s.link, s.stamp);
  b.Header(u"DS_Sound_Ctrl", 2).U32(s.volume).U32(s.balance).I32(s.randomReplay).U32(s.minInterval).U32(s.maxInterval);
  b.BasePart(s.name);
}

// WAV bytes the document carries under (name, stamp) in its saved resources.
struct TestSavedSound {
  std::u16string name;
  int64_t stamp;
  std::vector<uint8_t> bytes;
};

// `slides` slides of `display` seconds without fades, each of the default base layer (common_res.dll
// picture 5) with the same sounds in its two lists.
inline std::vector<uint8_t> SoundDocument(const std::vector<TestSound>& list1, const std::vector<TestSound>& list2,
                                          const std::vector<TestSavedSound>& saved = {}, uint32_t slides = 1,
                                          uint32_t display = 60) {
  TestBytes b;
  b.Str(u"QXJ v 4.0.0").Header(u"DS_SlideShow_Light", 1).U32(slides);
  for (uint32_t i = 0; i < slides; ++i) {
    b.Header(u"DS_SlideContainer", 2).U32(0).U32(0).U32(display).I32(0).Str(u"S" + std::u16string(1, u'0' + i % 10));
    AppendBaseLayer(b, u"common_res.dll", 5);
    b.U32(static_cast<uint32_t>(list1.size()));
    for (const auto& s : list1) AppendSound(b, s);
    b.U32(static_cast<uint32_t>(list2.size()));
    for (const auto& s : list2) AppendSound(b, s);
  }
  b.U32(0);  // no music
  b.Header(u"DS_DocResManager", 3).U32(0).U32(0).U32(static_cast<uint32_t>(saved.size()));
  for (const auto& s : saved) b.Key(s.name, s.stamp).U32(1).Entry(0, u"", s.bytes, u"");
  b.U32(0);
  return b.bytes;
}
