// One output's scene record: the loading picture on the output's first frame, the output's own
// copy of the scene loaded on its second, the slide show played from its third on, and the order
// in which the scene's music files play. The music files are written out and the first one
// started on the frame after the first scene frame, so that they do not hold that frame back.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/render/quads.h"
#include "core/render/render_context.h"
#include "sound/music_playlist.h"

class DS_DocResManager;
class DS_SlideShow_Light;

// A loaded scene as its record plays it, on the device of its output.
class DS_ScenePlayback {
 public:
  virtual ~DS_ScenePlayback() = default;
  virtual void Update(float seconds) = 0;
  // Called between BeginScene and EndScene.
  virtual void Render() = 0;
  virtual void OnDeviceLost() = 0;
  virtual void OnDeviceReset() = 0;
  // Which slide of how many is shown; long runs count slide switches by it.
  virtual size_t CurrentSlide() const { return 0; }
  virtual size_t SlideCount() const { return 0; }
  // The slide show played, for the benches that time its phases; null for another playback.
  virtual DS_SlideShow_Light* SlideShow() { return nullptr; }
  // Writes the scene's music files out where the music graph can play them; their paths in play
  // order. Throws when one cannot be written.
  virtual std::vector<std::wstring> WriteMusicFiles() { return {}; }
};

// What loading hands the record: the scene and its resource manager (owned by the scene).
struct DS_LoadedScene {
  std::unique_ptr<DS_ScenePlayback> playback;
  DS_DocResManager* manager = nullptr;
};

// Loads the program's own scene document for the current device, creates the live objects of
// every slide and applies the picture-position setting. Throws when the scene cannot be played
// (monitor_scene_loader.cpp).
DS_LoadedScene LoadEmbeddedScene();

// The program's own "DDS" picture shown while a scene loads.
constexpr int kLoadingPictureId = 5;

class DS_MonitorScene {
 public:
  DS_MonitorScene();
  // The scene stays until the process ends: its device objects and sounds may outlive the
  // devices and the sound device they were made on.
  ~DS_MonitorScene();
  DS_MonitorScene(const DS_MonitorScene&) = delete;
  DS_MonitorScene& operator=(const DS_MonitorScene&) = delete;

  // One frame of this record's output: the loading picture, then the load, then the scene.
  void DrawFrame(float appTime);

  void ShowLoadingScreen();
  // Sets the sound volume, then loads the scene. Throws when the scene cannot be loaded; the
  // record then stays where it was.
  void Start();
  // Writes the music files out and plays the first; once, on the frame after the first scene
  // frame. Throws when a music file cannot be written.
  void StartMusic();
  void Update(float appTime);
  void Render();
  // The music graph's event; ignored until the scene plays, since no list is bound before.
  void OnMusicEvent(long code);

  void OnDeviceLost();
  void OnDeviceReset();

  bool Running() const { return m_Running; }
  bool LoadingScreenShown() const { return m_LoadingScreenShown; }
  bool MusicStarted() const { return m_Playlist.Started(); }
  DS_DocResManager* Manager() const { return m_Manager; }
  DS_ScenePlayback* Playback() const { return m_Playback.get(); }
  // The render context of this record's output, made current with the output.
  DS_RenderContext& Context() { return m_Context; }

 private:
  DS_RenderContext m_Context;
  DS_TexturedQuad m_LoadingQuad;
  std::unique_ptr<DS_ScenePlayback> m_Playback;
  DS_DocResManager* m_Manager = nullptr;  // owned by the scene
  DS_MusicPlaylist m_Playlist;
  bool m_Running = false;
  bool m_LoadingScreenShown = false;
  bool m_MusicDue = false;   // the scene runs, its music is still to start
  bool m_SceneShown = false; // a scene frame has been drawn
};
