#include "core/render/render_context.h"

#include <utility>

#include "core/render/view_state.h"

DS_RenderContext::DS_RenderContext() : m_KeptView(std::make_unique<DS_ViewState>()) {}

DS_RenderContext::~DS_RenderContext() {
  // The default context, which goes at process exit, has none to hand over to.
  if (IsCurrent() && this != &g_DefaultRenderContext) g_DefaultRenderContext.MakeCurrent();
}

void DS_RenderContext::MakeCurrent() {
  if (IsCurrent()) return;
  std::swap(*g_CurrentRenderContext->m_KeptView, g_ViewState);
  std::swap(*m_KeptView, g_ViewState);
  g_CurrentRenderContext = this;
}

bool DS_RenderContext::IsCurrent() const { return g_CurrentRenderContext == this; }

void DS_RenderContext::ReleaseView() {
  if (IsCurrent())
    g_ViewState.ReleaseBorders();
  else
    m_KeptView->ReleaseBorders();
}
