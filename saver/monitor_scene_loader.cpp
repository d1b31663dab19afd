// The program's scene document as a scene record plays it: the slide show and its resource
// manager, kept together for the rest of the process.
#include <memory>

#include "core/resources/wide_path.h"
#include "core/resources/doc_res_manager.h"
#include "core/resources/resource_cache.h"
#include "layers/slideshow/scene_document.h"
#include "saver/app_settings.h"
#include "saver/monitor_scene.h"

namespace {

class SlideShowPlayback : public DS_ScenePlayback {
 public:
  SlideShowPlayback(std::unique_ptr<DS_SlideShow_Light> show, std::unique_ptr<DS_DocResManager> manager)
      : m_Manager(std::move(manager)), m_Show(std::move(show)) {}

  void Update(float seconds) override { m_Show->Update(seconds); }
  void Render() override { m_Show->Render(); }
  void OnDeviceLost() override { m_Show->OnDeviceLost(); }
  void OnDeviceReset() override { m_Show->OnDeviceReset(); }

  DS_SlideShow_Light& Show() { return *m_Show; }
  DS_DocResManager* Manager() { return m_Manager.get(); }

 private:
  // The show's objects reach into the manager's resources: the show goes first.
  std::unique_ptr<DS_DocResManager> m_Manager;
  std::unique_ptr<DS_SlideShow_Light> m_Show;
};

}  // namespace

DS_LoadedScene LoadEmbeddedScene() {
  DS_DocResManager* const previousManager = g_DocResManager;
  DS_ResourceCacheHolder* const previousCache = g_ResourceCache;
  // Throws for a missing, empty, truncated or damaged document, leaving both globals alone.
  std::unique_ptr<DS_SlideShow_Light> show = LoadSceneDocument();
  auto playback = std::make_unique<SlideShowPlayback>(std::move(show), std::unique_ptr<DS_DocResManager>(g_DocResManager));
  DS_LoadedScene scene;
  try {
    DS_SlideShow_Light& loaded = playback->Show();
    for (const auto& slide : loaded.Slides()) slide->CreateObjects();
    for (auto& music : loaded.MusicFiles()) {
      music->ExtractToTempFile();
      scene.musicPaths.push_back(WidePath(music->file.name));
    }
    loaded.SetPicturePosition(static_cast<int>(LoadPicturePosition()));
  } catch (...) {
    // The other outputs keep the manager and the decoding cache they had.
    playback.reset();
    g_DocResManager = previousManager;
    g_ResourceCache = previousCache;
    throw;
  }
  scene.manager = playback->Manager();
  scene.playback = std::move(playback);
  return scene;
}
