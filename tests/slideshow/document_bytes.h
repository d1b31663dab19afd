// Test documents laid out byte by byte, independently of the product's writers: the base layer,
// a slide, a music file, the slide show and an empty resource manager.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/core/test_bytes.h"

struct TestSlide {
  uint32_t fadeIn = 1, fadeOut = 1, display = 10;
  std::u16string name = u"S1";
  std::u16string layerClass = u"DS_2D_Light";
  std::u16string picture = u"common_res.dll";
  int64_t pictureStamp = 5;
  uint32_t version = 2;
  std::vector<std::u16string> list1, list2;  // names of recording objects
  std::u16string objectClass = u"VQTest_Recorder";
};

inline void AppendBaseLayer(TestBytes& b, const std::u16string& picture, int64_t stamp) {
  b.Header(u"DS_2D_Light", 3).Str(picture).I64(stamp);
  b.Header(u"DSM_Camera", 2).I32(0).U32(120).U32(50).Str(u"common_res.dll").I64(6);
}

inline void AppendRecorder(TestBytes& b, const std::u16string& className, const std::u16string& name) {
  b.Header(className, 1).BasePart(name);
}

inline void AppendSlide(TestBytes& b, const TestSlide& s) {
  b.Header(u"DS_SlideContainer", s.version).U32(s.fadeIn).U32(s.fadeOut).U32(s.display).I32(0).Str(s.name);
  if (s.layerClass == u"DS_2D_Light") {
    AppendBaseLayer(b, s.picture, s.pictureStamp);
  } else {
    b.Header(s.layerClass, 3);
    AppendBaseLayer(b, s.picture, s.pictureStamp);
  }
  b.U32(static_cast<uint32_t>(s.list1.size()));
  for (const auto& n : s.list1) AppendRecorder(b, s.objectClass, n);
  if (s.version > 1) {
    b.U32(static_cast<uint32_t>(s.list2.size()));
    for (const auto& n : s.list2) AppendRecorder(b, s.objectClass, n);
  }
}

struct TestMusic {
  std::u16string name, path;
  std::vector<uint8_t> bytes;
};

inline std::vector<uint8_t> MakeDocument(const std::vector<TestSlide>& slides, const std::vector<TestMusic>& music = {},
                                         const std::u16string& tag = u"QXJ v 4.0.0") {
  TestBytes b;
  b.Str(tag).Header(u"DS_SlideShow_Light", 1).U32(static_cast<uint32_t>(slides.size()));
  for (const auto& s : slides) AppendSlide(b, s);
  b.U32(static_cast<uint32_t>(music.size()));
  for (const auto& m : music) {
    b.Header(u"DS_AudioFile", 1).Str(m.name).U32(static_cast<uint32_t>(m.bytes.size())).Raw(m.bytes).Str(m.path);
  }
  b.Header(u"DS_DocResManager", 3).U32(0).U32(0).U32(0).U32(0);
  return b.bytes;
}
