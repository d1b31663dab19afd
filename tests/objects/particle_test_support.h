// What the particle tests share: a picture size, a scripted random source and readers of
// hand-written records.
#pragma once

#include <cstdint>
#include <vector>

#include "core/data/ds_stream.h"
#include "core/render/render_context.h"
#include "core/layer/ds_abobj.h"
#include "objects/base_sprite_prop/ds_base_sprite_prop.h"
#include "tests/support/test_bytes.h"

// The sprite properties alone, as the kinds hold them (the tests make no live object of it).
struct SpriteSet final : DS_BaseSpriteProp {
  std::unique_ptr<DS_ABObj> CreateObject() const override { return nullptr; }
};

// Sets the published picture size for one test and puts the old one back.
class PictureSizeScope {
 public:
  PictureSizeScope(int width, int height)
      : m_Mapping(CurrentRenderContext().mapping), m_Width(m_Mapping.pictureWidth), m_Height(m_Mapping.pictureHeight) {
    m_Mapping.pictureWidth = width;
    m_Mapping.pictureHeight = height;
  }
  ~PictureSizeScope() {
    m_Mapping.pictureWidth = m_Width;
    m_Mapping.pictureHeight = m_Height;
  }

 private:
  DS_ScreenMapping& m_Mapping;
  int m_Width, m_Height;
};

// A random source that plays a fixed list round and round.
struct ScriptedRandom {
  static inline std::vector<int> values;
  static inline size_t next = 0;
  static int Draw() {
    if (values.empty()) return 0;
    return values[next++ % values.size()];
  }
  static void Play(std::vector<int> list) {
    values = std::move(list);
    next = 0;
  }
};

// Reads `bytes` with `read`; whether every byte was used.
template <class Read>
bool ReadsWhole(const std::vector<uint8_t>& bytes, Read read) {
  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader reader(&buffer);
  read(reader);
  return buffer.Remaining() == 0;
}

// The view part as every kind nests it: default rectangle and fractions, the given speed.
inline TestBytes& AppendViewPart(TestBytes& b, uint32_t speed = 50) {
  b.Header(u"DS_ViewObjCtrl", 2);
  for (int i = 0; i < 6; ++i) b.I32(0);
  b.F32(0.0f).F32(1.0f).F32(0.0f).F32(1.0f).U8(0).U32(speed);
  return b.BasePart(u"");
}
