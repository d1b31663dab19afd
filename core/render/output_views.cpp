#include "core/render/output_views.h"

#include <utility>

#include "core/render/view_state.h"

namespace {

struct DS_OutputView {
  DS_ViewState view;
  DS_ScreenMapping mapping;
};

// The views of the outputs not selected; the selected output's slot is unused while its view
// lives in the globals.
DS_OutputView g_KeptViews[kMaxOutputViews];
unsigned g_SelectedView = 0;

}  // namespace

void SelectOutputView(unsigned index) {
  if (index >= kMaxOutputViews || index == g_SelectedView) return;
  DS_OutputView& previous = g_KeptViews[g_SelectedView];
  std::swap(previous.view, g_ViewState);
  previous.mapping = DS_ScreenMapping::Current();
  DS_OutputView& next = g_KeptViews[index];
  std::swap(next.view, g_ViewState);
  next.mapping.Publish();
  g_SelectedView = index;
}

unsigned SelectedOutputView() { return g_SelectedView; }

void ReleaseOutputView(unsigned index) {
  if (index >= kMaxOutputViews) return;
  if (index == g_SelectedView)
    g_ViewState.ReleaseBorders();
  else
    g_KeptViews[index].view.ReleaseBorders();
}
