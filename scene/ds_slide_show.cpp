#include "scene/ds_slide_show.h"

#include "core/data/class_registry.h"
#include "scene/slide_registry.h"

DS_SlideShow_Light::DS_SlideShow_Light() = default;

// The overlay first, then the music files, the slides and the current slide; the resource
// manager, whose resources they hold, last.
DS_SlideShow_Light::~DS_SlideShow_Light() {
  m_Overlay.reset();
  m_MusicFiles.clear();
  m_Slides.clear();
  m_Current = DS_RefPtr<DS_SlideContainer>();
  m_Resources.reset();
}

void DS_SlideShow_Light::Write(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_SlideShow_Light", kVersion);
  out.WriteULong(static_cast<uint32_t>(m_Slides.size()));
  for (const auto& slide : m_Slides) slide->Write(out);
  out.WriteULong(static_cast<uint32_t>(m_MusicFiles.size()));
  for (const auto& file : m_MusicFiles) file->Write(out);
}

std::unique_ptr<DS_SlideShow_Light> ReadSlideShowObject(DS_IOF_Virtual& in) {
  DS_ReadHeader(in);
  auto show = std::make_unique<DS_SlideShow_Light>();
  const uint32_t slides = DS_ReadCount(in, DS_MIN_HEADER_BYTES);
  for (uint32_t i = 0; i < slides; ++i) {
    auto slide = ReadSlideObject<DS_SlideContainer>(in);
    if (!slide) throw DS_DocumentError("the slide list names a class that is not registered");
    show->AddSlide(std::move(slide));
  }
  const uint32_t files = DS_ReadCount(in, DS_MIN_HEADER_BYTES + DS_MIN_STRING_BYTES + DS_MIN_NAMED_BLOB_BYTES);
  for (uint32_t i = 0; i < files; ++i) show->AddMusicFile(ReadAudioFileObject(in));
  return show;
}
