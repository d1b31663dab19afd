// The root of the scene document: the slides and music files of the scene, which slide is
// current, slide switching when a slide's time is up, and the black fade overlay over each
// slide's fade-in and fade-out.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "layers/slideshow/ds_audio_file.h"
#include "layers/slideshow/ds_ref_ptr.h"
#include "layers/slideshow/ds_slide_container.h"
#include "layers/slideshow/slide_sequence.h"

struct DS_FadeOverlay;

class DS_SlideShow_Light : public DS_IOF_Item {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_SlideShow_Light();
  ~DS_SlideShow_Light() override;
  DS_SlideShow_Light(const DS_SlideShow_Light&) = delete;
  DS_SlideShow_Light& operator=(const DS_SlideShow_Light&) = delete;

  // Header "DS_SlideShow_Light" 1, the slides, the music files.
  void Write(DS_IOF_Virtual& out) const override;

#ifdef _WIN32
  // Once per frame with the application time, before Render. The first call makes slide 0
  // current (a show has at least one slide: the loader rejects one without).
  int Update(float time);
  // The current slide and the overlay; only after the first Update.
  int Render();
  int OnDeviceLost();
  // The current slide's layer and live objects; the others are restored as they become current.
  int OnDeviceReset();
  void SetPicturePosition(int mode);
#endif

  const std::vector<DS_RefPtr<DS_SlideContainer>>& Slides() const { return m_Slides; }
  std::vector<DS_RefPtr<DS_AudioFile>>& MusicFiles() { return m_MusicFiles; }
  const DS_RefPtr<DS_SlideContainer>& CurrentSlide() const { return m_Current; }
  const DS_SlideSequence& Sequence() const { return m_Sequence; }

  void AddSlide(std::unique_ptr<DS_SlideContainer> slide) { m_Slides.emplace_back(std::move(slide)); }
  void AddMusicFile(std::unique_ptr<DS_AudioFile> file) { m_MusicFiles.emplace_back(std::move(file)); }

 private:
#ifdef _WIN32
  void ActivateCurrentSlide();
#endif

  DS_RefPtr<DS_SlideContainer> m_Current;
  std::vector<DS_RefPtr<DS_SlideContainer>> m_Slides;
  std::vector<DS_RefPtr<DS_AudioFile>> m_MusicFiles;
  DS_SlideSequence m_Sequence;
  std::shared_ptr<DS_FadeOverlay> m_Overlay;  // made on the first update
};

// The slide show object: header (not used), the slides through the slide registry, the music
// files. Throws DS_DocumentError for a slide of a class no registry holds.
std::unique_ptr<DS_SlideShow_Light> ReadSlideShowObject(DS_IOF_Virtual& in);
