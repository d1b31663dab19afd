#include "saver/monitor_scene.h"

#include "core/render/device_globals.h"
#include "core/render/mesh_ops.h"
#include "core/resources/picture_decoders.h"
#include "saver/app_settings.h"
#include "sound/sound_device.h"

namespace {

void ReadMusicSetting(DWORD* value, const wchar_t* name) { ReadSettingDword(*value, name); }

}  // namespace

DS_MonitorScene::DS_MonitorScene() : m_Playlist(ReadMusicSetting) {}

DS_MonitorScene::~DS_MonitorScene() {
  // Deliberately not destroyed; the process ends right after the records.
  static_cast<void>(m_Playback.release());
}

void DS_MonitorScene::DrawFrame(float appTime) {
  if (m_Running) {
    if (m_MusicDue && m_SceneShown) StartMusic();
    Update(appTime);
    Render();
    m_SceneShown = true;
  } else if (m_LoadingScreenShown) {
    Start();  // nothing is drawn: the back buffer is presented as it is
  } else {
    ShowLoadingScreen();
  }
}

void DS_MonitorScene::ShowLoadingScreen() {
  if (!g_Device) return;
  DS_ComHolder<IDirect3DTexture9> picture;
  LoadResourceTexture(picture, kLoadingPictureId, false);  // without it the frame stays black
  MakeCenteredQuadFromResource(m_LoadingQuad, picture);
  m_LoadingQuad.SetAlpha(255.0f, 1.0f);

  if (FAILED(g_Device->BeginScene())) return;  // tried again on the next frame
  g_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
  g_Device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
  g_Device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
  if (m_LoadingQuad.texture && CanDraw(m_LoadingQuad)) {
    BindQuadTPCT(m_LoadingQuad);
    DrawBoundPrimitives(m_LoadingQuad);
  }
  g_Device->EndScene();
  m_LoadingScreenShown = true;
}

void DS_MonitorScene::Start() {
  // The volume first: the scene's looping sounds start as it loads, and a muted saver must not
  // be heard even for the moment the loading takes.
  DWORD volume = kDefaultSoundVolume;
  DWORD muted = kDefaultMuteSound;
  ReadSettingDword(volume, kSoundVolumeValue);
  ReadSettingDword(muted, kMuteSoundValue);
  SetPrimarySoundVolume(volume, muted != 0);

  DS_LoadedScene scene = LoadEmbeddedScene();
  m_Playback = std::move(scene.playback);
  m_Manager = scene.manager;
  m_Running = true;
  m_MusicDue = true;
}

void DS_MonitorScene::StartMusic() {
  if (!m_MusicDue || !m_Playback) return;
  m_MusicDue = false;
  m_Playlist.Start(m_Playback->WriteMusicFiles());
}

void DS_MonitorScene::Update(float appTime) {
  if (m_Playback) m_Playback->Update(appTime);
}

void DS_MonitorScene::Render() {
  if (!g_Device) return;
  if (SUCCEEDED(g_Device->BeginScene()) && m_Playback) m_Playback->Render();
  g_Device->EndScene();
}

void DS_MonitorScene::OnMusicEvent(long code) {
  if (m_Running) m_Playlist.OnMusicEvent(code);
}

void DS_MonitorScene::OnDeviceLost() {
  if (m_Playback) m_Playback->OnDeviceLost();
}

void DS_MonitorScene::OnDeviceReset() {
  if (m_Running && m_Playback) m_Playback->OnDeviceReset();
}
