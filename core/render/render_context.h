// The state of the output being drawn, beside the two globals the framework publishes for it
// (g_Device and g_ViewState): the screen mapping, the layer sizes saved across nested renders and
// the brushes' whole-quad switch. Each output owns one context and makes it current with its
// device, so that no output draws with another's layout; the scene viewer and the tests' devices
// own one each. Everything that draws reads the current one through CurrentRenderContext().
//
// The picture size is read by the parameter sets that build everywhere, so the header is
// platform-free; the parts that need the device types exist in the Windows build only.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#ifdef _WIN32
#include "core/render/quads.h"

class DS_ViewState;
#endif

// Where the current layer's fitted picture lies on the back buffer, and the picture's size.
struct DS_ScreenMapping {
  float scaleX = 0.0f, scaleY = 0.0f;  // back-buffer size over layer size
#ifdef _WIN32
  DS_ScreenQuad mappedQuad;  // the fitted picture on the back buffer
#endif
  // The current layer picture's pixel size, the unit of every view-rectangle fraction; 0 x 0
  // until a layer has laid out a picture.
  int pictureWidth = 0, pictureHeight = 0;
};

class DS_RenderContext {
 public:
#ifdef _WIN32
  DS_RenderContext();
  // A current context hands over to the process's default one.
  ~DS_RenderContext();
#else
  DS_RenderContext() = default;
#endif
  DS_RenderContext(const DS_RenderContext&) = delete;
  DS_RenderContext& operator=(const DS_RenderContext&) = delete;

  DS_ScreenMapping mapping;
  // Layer sizes saved across nested renders into textures, last in first out.
  std::vector<std::pair<int, int>> renderSizeStack;
  // Set, every brush draws its whole picture quad whatever its mask (the benches' measure of what
  // drawing only the mask's part saves).
  bool brushesDrawWholeQuad = false;

#ifdef _WIN32
  // Makes this the context of the output being drawn; its view state goes into g_ViewState and
  // the previous context keeps its own until it is made current again.
  void MakeCurrent();
  bool IsCurrent() const;
  // Releases the device objects (border quads) of this context's view, in g_ViewState or kept
  // aside; called before the output's device is released.
  void ReleaseView();

 private:
  // This context's view while another context is current (view_state.h, kept out of this header
  // for the saver, whose settings name the picture-position modes themselves).
  std::unique_ptr<DS_ViewState> m_KeptView;
#endif
};

// The context in use before any output is made current (and in the platform-free programs).
inline DS_RenderContext g_DefaultRenderContext;
// The context of the output being drawn; never null.
inline DS_RenderContext* g_CurrentRenderContext = &g_DefaultRenderContext;

inline DS_RenderContext& CurrentRenderContext() { return *g_CurrentRenderContext; }
