#include "tools/scene-viewer/viewed_scene.h"

#include <cwchar>

#include "core/layer/ds_2d_light.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"
#include "scene/scene_document.h"
#include "tools/scene-viewer/layer_document.h"

namespace {

// As the scene record plays the show: the scene started the saver's way; the first update makes
// slide 0 current.
class ViewedShow final : public ViewedScene {
 public:
  ViewedShow(std::unique_ptr<DS_SlideShow_Light> show, int picturePosition) : m_Show(std::move(show)) {
    m_Show->StartScene(picturePosition);
  }
  ~ViewedShow() override {
    DS_DocResManager* const manager = m_Show->ResourceManager();
    m_Show->OnDeviceLost();
    m_Show.reset();
    g_ViewState.ReleaseBorders();
    if (g_DocResManager == manager) g_DocResManager = nullptr;
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
  std::unique_ptr<DS_SlideShow_Light> m_Show;  // with its resource manager
};

// As a slide prepares its layer and makes it current; the document's manager is told of a loss
// after the layer and of a reset before it, as a scene tells its own.
class ViewedLayer final : public ViewedScene {
 public:
  ViewedLayer(LayerDocument document, const ViewerOptions& options) : m_Document(std::move(document)) {
    DS_2D_Light& layer = *m_Document.layer;
    layer.CreateDeviceObjects();
    m_Document.manager->OnDeviceReset();
    layer.OnDeviceReset();
    if (options.randomPan) layer.EnableRandomPan();
    layer.Layout(options.width, options.height);
    layer.SetPicturePosition(options.picturePosition);
  }
  ~ViewedLayer() override {
    g_ViewState.ReleaseBorders();
    OnDeviceLost();
    m_Document.layer.reset();
    m_Document.manager.reset();
  }
  void Frame(float t) override {
    DS_2D_Light& layer = *m_Document.layer;
    layer.Update(t);
    layer.RenderScene(nullptr, 0);
    layer.PostRender();
  }
  void OnDeviceLost() override {
    m_Document.layer->OnDeviceLost();
    m_Document.manager->OnDeviceLost();
  }
  void OnDeviceReset() override {
    m_Document.manager->OnDeviceReset();
    m_Document.layer->OnDeviceReset();
  }
  DS_2D_Light* TracedLayer() const override { return m_Document.layer.get(); }

 private:
  LayerDocument m_Document;
};

std::wstring Widened(const std::string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

std::unique_ptr<ViewedScene> LoadViewedScene(const std::vector<uint8_t>& bytes, const ViewerOptions& options,
                                             std::wstring& error) {
  // A document that begins as a scene document is one: its refusal is the scene loader's.
  if (BeginsAsSceneDocument(bytes.data(), bytes.size())) {
    std::string reason;
    try {
      std::unique_ptr<DS_SlideShow_Light> show = LoadSceneFromBytes(bytes.data(), bytes.size(), &reason);
      return std::make_unique<ViewedShow>(std::move(show), options.picturePosition);
    } catch (uint32_t code) {
      wchar_t number[16];
      swprintf(number, 16, L"0x%08X", code);
      error = L"the scene document cannot be played (" + std::wstring(number) + L"): " + Widened(reason);
      return nullptr;
    }
  }
  // Otherwise the layer tests' documents hold one layer record.
  LayerDocument document;
  if (!LoadLayerDocument(bytes, document, error)) return nullptr;
  return std::make_unique<ViewedLayer>(std::move(document), options);
}
