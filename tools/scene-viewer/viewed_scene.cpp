#include "tools/scene-viewer/viewed_scene.h"

#include "core/layer/ds_2d_light.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"
#include "layers/slideshow/scene_document.h"
#include "tools/scene-viewer/layer_document.h"

namespace {

// As the scene record plays the show: every slide's objects made, the picture position set and
// the show reset; the first update makes slide 0 current.
class ViewedShow final : public ViewedScene {
 public:
  ViewedShow(std::unique_ptr<DS_SlideShow_Light> show, int picturePosition)
      : m_Manager(g_DocResManager), m_Show(std::move(show)) {
    for (const auto& slide : m_Show->Slides()) slide->CreateObjects();
    m_Show->SetPicturePosition(picturePosition);
    m_Show->OnDeviceReset();
  }
  ~ViewedShow() override {
    m_Show->OnDeviceLost();
    m_Show.reset();
    g_ViewState.ReleaseBorders();
    if (g_DocResManager == m_Manager.get()) g_DocResManager = nullptr;
  }
  void Frame(float t) override {
    m_Show->Update(t);
    m_Show->Render();
  }
  void OnDeviceLost() override { m_Show->OnDeviceLost(); }
  void OnDeviceReset() override { m_Show->OnDeviceReset(); }
  DS_2D_Light* TracedLayer() const override {
    const auto& slide = m_Show->CurrentSlide();
    return slide ? slide->GetLayer().get() : nullptr;
  }

 private:
  std::unique_ptr<DS_DocResManager> m_Manager;  // released after the show
  std::unique_ptr<DS_SlideShow_Light> m_Show;
};

// As a slide prepares its layer and makes it current.
class ViewedLayer final : public ViewedScene {
 public:
  ViewedLayer(LayerDocument document, const ViewerOptions& options) : m_Document(std::move(document)) {
    DS_2D_Light& layer = *m_Document.layer;
    layer.CreateDeviceObjects();
    layer.OnDeviceReset();
    if (options.randomPan) layer.EnableRandomPan();
    layer.ApplyBorderImage();
    layer.Layout(options.width, options.height);
    layer.SetPicturePosition(options.picturePosition);
  }
  ~ViewedLayer() override {
    g_ViewState.ReleaseBorders();
    m_Document.layer->OnDeviceLost();
    m_Document.layer.reset();
    m_Document.manager.reset();
  }
  void Frame(float t) override {
    m_Document.layer->Update(t);
    RenderLayerScene(*m_Document.layer, nullptr, 0);
  }
  void OnDeviceLost() override { m_Document.layer->OnDeviceLost(); }
  void OnDeviceReset() override { m_Document.layer->OnDeviceReset(); }
  DS_2D_Light* TracedLayer() const override { return m_Document.layer.get(); }

 private:
  LayerDocument m_Document;
};

}  // namespace

std::unique_ptr<ViewedScene> LoadViewedScene(const std::vector<uint8_t>& bytes, const ViewerOptions& options,
                                             std::wstring& error) {
  try {
    std::unique_ptr<DS_SlideShow_Light> show = LoadSceneFromBytes(bytes.data(), bytes.size());
    return std::make_unique<ViewedShow>(std::move(show), options.picturePosition);
  } catch (uint32_t) {
    // Not a scene document: the layer tests' documents hold one layer record.
  }
  LayerDocument document;
  if (!LoadLayerDocument(bytes, document, error)) return nullptr;
  return std::make_unique<ViewedLayer>(std::move(document), options);
}
