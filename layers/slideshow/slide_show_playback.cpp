// The slide show on the device: sequencing, the fade overlay and the device hooks.
#include "core/layer/ds_2d_light.h"
#include "core/render/device_utils.h"
#include "core/render/mesh.h"
#include "core/render/quads.h"
#include "core/render/vertex_records.h"
#include "layers/slideshow/ds_slide_show.h"

// Four pre-transformed black vertices over the back buffer whose alpha the show sets per frame.
struct DS_FadeOverlay {
  DS_SimpleMesh<DX_V::TPC> quad;
};

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
    m_Slides[step.previous]->SetActive(false);
    m_Current = m_Slides[step.current];
    ActivateCurrentSlide();
  }
  if (step.hasOverlay && m_Overlay) SetQuadAlphasTPC(m_Overlay->quad, step.overlay, step.overlay, step.overlay, step.overlay);
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
  DS_RefPtr<DS_2D_Light> layer = m_Current->GetLayer();
  if (layer && m_Overlay) layer->DrawColouredQuad(m_Overlay->quad);
  return 0;
}

int DS_SlideShow_Light::OnDeviceLost() {
  for (const auto& slide : m_Slides) slide->OnDeviceLost();
  return 0;
}

int DS_SlideShow_Light::OnDeviceReset() {
  if (!m_Current) return 0;
  if (DS_RefPtr<DS_2D_Light> layer = m_Current->GetLayer()) {
    layer->OnDeviceReset();
    layer->ApplyBorderImage();
  }
  m_Current->OnObjectsReset();
  return 0;
}

void DS_SlideShow_Light::SetPicturePosition(int mode) {
  for (const auto& slide : m_Slides) slide->SetPicturePosition(mode);
}
