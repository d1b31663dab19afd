// The root of the scene document: the slides and music files of the scene, which slide is
// current, slide switching when a slide's time is up, and the black fade overlay over each
// slide's fade-in and fade-out.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "scene/ds_audio_file.h"
#include "scene/ds_ref_ptr.h"
#include "scene/ds_slide_container.h"
#include "scene/slide_sequence.h"

struct DS_FadeOverlay;
class DS_DocResManager;

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
  // Scene start, once after loading, the same for the saver, the viewer and the tests: every
  // slide makes its live objects, the picture position reaches every slide, and the resource
  // manager's device objects are made. No slide is current yet: the first Update makes slide 0
  // current, which brings its device objects.
  void StartScene(int picturePosition);
  // Once per frame with the application time, before Render. The first call makes slide 0
  // current (a show has at least one slide: the loader rejects one without). A slide that stops
  // being current releases its device objects; the one that becomes current makes them again.
  int Update(float time);
  // The current slide and the overlay; only after the first Update.
  int Render();
  // The black fade overlay alone, as Render draws it last.
  void RenderOverlay();
  // Every slide, current or not, releases its device objects; then the resource manager.
  int OnDeviceLost();
  // The resource manager first, then the current slide's layer and live objects; the others are
  // made again as they become current.
  int OnDeviceReset();
  void SetPicturePosition(int mode);

  // The manager the slides' resources come from. The show owns it and lets it go after its
  // slides; the loader hands it over.
  void AdoptResourceManager(std::unique_ptr<DS_DocResManager> manager);
  DS_DocResManager* ResourceManager() const { return m_Resources.get(); }
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

  std::shared_ptr<DS_DocResManager> m_Resources;  // empty until the loader hands one over
  DS_RefPtr<DS_SlideContainer> m_Current;
  std::vector<DS_RefPtr<DS_SlideContainer>> m_Slides;
  std::vector<DS_RefPtr<DS_AudioFile>> m_MusicFiles;
  DS_SlideSequence m_Sequence;
  std::shared_ptr<DS_FadeOverlay> m_Overlay;  // made on the first update
};

// The slide show object: header (not used), the slides through the slide registry, the music
// files. Throws DS_DocumentError for a slide of a class no registry holds.
std::unique_ptr<DS_SlideShow_Light> ReadSlideShowObject(DS_IOF_Virtual& in);
