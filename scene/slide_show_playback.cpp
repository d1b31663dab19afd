// The slide show on the device: sequencing, the fade overlay and the device hooks.
#include "core/layer/ds_2d_light.h"
#include "core/render/device_globals.h"
#include "core/render/device_utils.h"
#include "core/render/layout_maths.h"
#include "core/render/mesh.h"
#include "core/render/quads.h"
#include "core/render/vertex_records.h"
#include "core/resources/doc_res_manager.h"
#include "scene/ds_slide_show.h"

// Four pre-transformed black vertices over the back buffer whose alpha the show sets per frame,
// and the alpha byte they hold. At alpha 0 the overlay's blend leaves every pixel as it is, so it
// is not drawn then; its vertices are written only when that byte changes.
struct DS_FadeOverlay {
  DS_SimpleMesh<DX_V::TPC> quad;
  std::uint8_t alpha = 0;

  void SetDarkness(float overlay) {
    const std::uint8_t wanted = TruncateToLowByte(overlay * 255.0f);
    if (wanted == alpha) return;
    SetQuadAlphasTPC(quad, overlay, overlay, overlay, overlay);
    alpha = wanted;
  }
};

void DS_SlideShow_Light::StartScene(int picturePosition) {
  for (const auto& slide : m_Slides) slide->CreateObjects();
  SetPicturePosition(picturePosition);
  OnDeviceReset();
}

void DS_SlideShow_Light::AdoptResourceManager(std::unique_ptr<DS_DocResManager> manager) {
  m_Resources = std::move(manager);
}

int DS_SlideShow_Light::Update(float time) {
  if (m_Slides.empty()) return 0;
  const auto step = m_Sequence.Advance(time, m_Slides.size(), [this](size_t i) { return m_Slides[i]->Times(); });
  if (step.first) {
    m_Current = m_Slides[0];
    ActivateCurrentSlide();
    auto overlay = std::make_shared<DS_FadeOverlay>();
    overlay->quad.primitiveType = D3DPT_TRIANGLESTRIP;
    DS_ScreenQuad screen;
    screen.SetBackBuffer();
    MakeColouredQuadTPC(overlay->quad, 0x00000000, screen);
    m_Overlay = overlay;
  } else if (step.switched) {
    DS_SlideContainer& previous = *m_Slides[step.previous];
    previous.SetActive(false);
    // Only the current slide keeps render targets in video memory.
    previous.OnDeviceLost();
    // Nor does the renderer keep its copies of the managed pictures, meshes and textures of the
    // slides shown before: they come back from their stored copies as the new slide draws them.
    // Without this every slide once shown would stay in video memory for the rest of the night.
    if (g_Device) g_Device->EvictManagedResources();
    m_Current = m_Slides[step.current];
    ActivateCurrentSlide();
  }
  if (step.hasOverlay && m_Overlay) m_Overlay->SetDarkness(step.overlay);
  m_Current->Update(time);
  return 0;
}

void DS_SlideShow_Light::ActivateCurrentSlide() {
  D3DSURFACE_DESC desc = {};
  GetBackBufferDesc(desc);
  if (desc.Width != 0) m_Current->SetSize(static_cast<int>(desc.Width), static_cast<int>(desc.Height));
  if (DS_RefPtr<DS_2D_Light> layer = m_Current->GetLayer()) layer->EnableRandomPan();
  m_Current->Restore();
  m_Current->SetActive(true);
}

int DS_SlideShow_Light::Render() {
  if (!m_Current) return 0;
  m_Current->Render();
  m_Current->EndFrame();
  RenderOverlay();
  return 0;
}

void DS_SlideShow_Light::RenderOverlay() {
  if (!m_Current) return;
  DS_RefPtr<DS_2D_Light> layer = m_Current->GetLayer();
  if (layer && m_Overlay && m_Overlay->alpha != 0) layer->DrawColouredQuad(m_Overlay->quad);
}

int DS_SlideShow_Light::OnDeviceLost() {
  for (const auto& slide : m_Slides) slide->OnDeviceLost();
  // After the layers and objects: the effects may still hold their textures as parameters.
  if (m_Resources) m_Resources->OnDeviceLost();
  return 0;
}

int DS_SlideShow_Light::OnDeviceReset() {
  // Before the layers and objects, which draw through the manager's effects.
  if (m_Resources) m_Resources->OnDeviceReset();
  if (m_Current) m_Current->OnDeviceReset();
  return 0;
}

void DS_SlideShow_Light::SetPicturePosition(int mode) {
  for (const auto& slide : m_Slides) slide->SetPicturePosition(mode);
}
