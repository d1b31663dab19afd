// The one byte builder of the tests' golden fixtures, written independently of the product's
// writers: every value is laid out byte by byte, little-endian, so that reader tests never check
// the product against itself. Below it, whole scene documents (the base layer, slides, music
// files, the slide show and an empty resource manager) laid out with it.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

class TestBytes {
 public:
  TestBytes& U8(uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  TestBytes& U16(uint16_t v) { return U8(static_cast<uint8_t>(v)).U8(static_cast<uint8_t>(v >> 8)); }
  TestBytes& U32(uint32_t v) { return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16)); }
  TestBytes& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  TestBytes& I64(int64_t v) {
    const auto u = static_cast<uint64_t>(v);
    return U32(static_cast<uint32_t>(u)).U32(static_cast<uint32_t>(u >> 32));
  }
  TestBytes& F32(float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    return U32(u);
  }
  TestBytes& Raw(const std::vector<uint8_t>& raw) {
    bytes.insert(bytes.end(), raw.begin(), raw.end());
    return *this;
  }
  TestBytes& Raw(const void* data, size_t size) {
    const auto* first = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), first, first + size);
    return *this;
  }
  TestBytes& Units(const std::u16string& s) {
    for (char16_t c : s) U16(c);
    return *this;
  }
  // The shortest archive-string form: FF FE FF, then 1, 3 or 7 length bytes.
  TestBytes& Str(const std::u16string& s) {
    const size_t n = s.size();
    if (n < 255) return StrForm(s, 4);
    if (n < 65535) return StrForm(s, 6);
    return StrForm(s, 10);
  }
  // A chosen header size (4, 6 or 10 bytes), longer forms included.
  TestBytes& StrForm(const std::u16string& s, int headerBytes) {
    U8(0xFF).U8(0xFE).U8(0xFF);
    if (headerBytes == 4) {
      U8(static_cast<uint8_t>(s.size()));
    } else if (headerBytes == 6) {
      U8(0xFF).U16(static_cast<uint16_t>(s.size()));
    } else {
      U8(0xFF).U16(0xFFFF).U32(static_cast<uint32_t>(s.size()));
    }
    return Units(s);
  }
  TestBytes& Header(const std::u16string& name, uint32_t version) { return Str(name).U32(version); }
  TestBytes& BasePart(const std::u16string& objectName) { return Header(u"DS_ABObj_Constructor", 1).Str(objectName); }
  // A named blob: u32 n, n bytes, the name.
  TestBytes& Blob(const std::vector<uint8_t>& data, const std::u16string& name) {
    return U32(static_cast<uint32_t>(data.size())).Raw(data).Str(name);
  }
  // A resource entry: id, library path, then a named blob.
  TestBytes& Entry(int32_t id, const std::u16string& library, const std::vector<uint8_t>& data,
                   const std::u16string& name) {
    return I32(id).Str(library).Blob(data, name);
  }
  // A file link or resource key: the name and its 8-byte stamp.
  TestBytes& Key(const std::u16string& name, int64_t stamp) { return Str(name).I64(stamp); }

  std::vector<uint8_t> bytes;
};

// Scene documents ----------------------------------------------------------------------------------

struct TestSlide {
  uint32_t fadeIn = 1, fadeOut = 1, display = 10;
  std::u16string name = u"S1";
  std::u16string layerClass = u"DS_2D_Light";
  uint32_t layerVersion = 3;           // a layer kind's record: its header's version
  std::vector<uint8_t> layerFields;    // and its own fields, before the base layer
  std::u16string picture = u"common_res.dll";
  int64_t pictureStamp = 5;
  uint32_t version = 2;
  std::vector<std::u16string> list1, list2;  // names of recording objects
  std::u16string objectClass = u"VQTest_Recorder";
  std::vector<std::vector<uint8_t>> records1;  // whole records of list 1, after the recording objects
};

inline void AppendBaseLayer(TestBytes& b, const std::u16string& picture, int64_t stamp) {
  b.Header(u"DS_2D_Light", 3).Key(picture, stamp);
  b.Header(u"DSM_Camera", 2).I32(0).U32(120).U32(50).Key(u"common_res.dll", 6);
}

inline void AppendRecorder(TestBytes& b, const std::u16string& className, const std::u16string& name) {
  b.Header(className, 1).BasePart(name);
}

inline void AppendSlide(TestBytes& b, const TestSlide& s) {
  b.Header(u"DS_SlideContainer", s.version).U32(s.fadeIn).U32(s.fadeOut).U32(s.display).I32(0).Str(s.name);
  if (s.layerClass != u"DS_2D_Light") b.Header(s.layerClass, s.layerVersion).Raw(s.layerFields);
  AppendBaseLayer(b, s.picture, s.pictureStamp);
  b.U32(static_cast<uint32_t>(s.list1.size() + s.records1.size()));
  for (const auto& n : s.list1) AppendRecorder(b, s.objectClass, n);
  for (const auto& record : s.records1) b.Raw(record);
  if (s.version > 1) {
    b.U32(static_cast<uint32_t>(s.list2.size()));
    for (const auto& n : s.list2) AppendRecorder(b, s.objectClass, n);
  }
}

struct TestMusic {
  std::u16string name, path;
  std::vector<uint8_t> bytes;
};

// A document around slide records laid out elsewhere: the tag, the show (under the root name
// given) with `slideCount` slides and the music files, and an empty resource manager.
inline std::vector<uint8_t> MakeDocumentAround(const std::vector<uint8_t>& slideRecords, uint32_t slideCount,
                                               const std::vector<TestMusic>& music = {},
                                               const std::u16string& tag = u"QXJ v 4.0.0",
                                               const std::u16string& root = u"DS_SlideShow_Light") {
  TestBytes b;
  b.Str(tag).Header(root, 1).U32(slideCount).Raw(slideRecords);
  b.U32(static_cast<uint32_t>(music.size()));
  for (const auto& m : music) b.Header(u"DS_AudioFile", 1).Str(m.name).Blob(m.bytes, m.path);
  b.Header(u"DS_DocResManager", 3).U32(0).U32(0).U32(0).U32(0);
  return b.bytes;
}

inline std::vector<uint8_t> MakeDocument(const std::vector<TestSlide>& slides, const std::vector<TestMusic>& music = {},
                                         const std::u16string& tag = u"QXJ v 4.0.0",
                                         const std::u16string& root = u"DS_SlideShow_Light") {
  TestBytes b;
  for (const auto& s : slides) AppendSlide(b, s);
  return MakeDocumentAround(b.bytes, static_cast<uint32_t>(slides.size()), music, tag, root);
}
