// The program's scene document as a scene record plays it: the slide show and its resource
// manager, kept together for the rest of the process.
#include <memory>

#include "core/resources/wide_path.h"
#include "core/resources/doc_res_manager.h"
#include "core/resources/resource_cache.h"
#include "scene/scene_document.h"
#include "saver/app_settings.h"
#include "saver/monitor_scene.h"

namespace {

class SlideShowPlayback : public DS_ScenePlayback {
 public:
  explicit SlideShowPlayback(std::unique_ptr<DS_SlideShow_Light> show) : m_Show(std::move(show)) {}

  void Update(float seconds) override { m_Show->Update(seconds); }
  void Render() override { m_Show->Render(); }
  void OnDeviceLost() override { m_Show->OnDeviceLost(); }
  void OnDeviceReset() override { m_Show->OnDeviceReset(); }
  size_t CurrentSlide() const override { return m_Show->Sequence().Current(); }
  size_t SlideCount() const override { return m_Show->Slides().size(); }
  DS_SlideShow_Light* SlideShow() override { return m_Show.get(); }
  std::vector<std::wstring> WriteMusicFiles() override {
    std::vector<std::wstring> paths;
    for (auto& music : m_Show->MusicFiles()) {
      music->ExtractToTempFile();
      paths.push_back(WidePath(music->file.name));
    }
    return paths;
  }

  DS_SlideShow_Light& Show() { return *m_Show; }

 private:
  std::unique_ptr<DS_SlideShow_Light> m_Show;  // with the resource manager it came with
};

}  // namespace

DS_LoadedScene LoadEmbeddedScene() {
  DS_DocResManager* const previousManager = g_DocResManager;
  DS_ResourceCacheHolder* const previousCache = g_ResourceCache;
  // Throws for a missing, empty, truncated or damaged document, leaving both globals alone.
  auto playback = std::make_unique<SlideShowPlayback>(LoadSceneDocument());
  DS_LoadedScene scene;
  try {
    playback->Show().StartScene(static_cast<int>(LoadPicturePosition()));
  } catch (...) {
    // The other outputs keep the manager and the decoding cache they had.
    playback.reset();
    g_DocResManager = previousManager;
    g_ResourceCache = previousCache;
    throw;
  }
  scene.manager = playback->Show().ResourceManager();
  scene.playback = std::move(playback);
  return scene;
}
