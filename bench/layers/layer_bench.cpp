// The cost of each kind of slide against the plain picture: every slide of the default scene (its
// layer and its drawn objects, each updated every frame) drawn on its own for N frames in a
// 1024 x 768 window (process CPU time per frame, Wine's renderer threads included), beside the
// scene's first plain picture slide (the base picture layer with no drawn object), in one run.
// The plain slide is measured before the others and again after them; the ratios use the mean.
//   vq_bench_layers <scene document> [frames]
// Prints one line per slide: "kind <ms> <ratio> <slide name> [<layer class>, <n> objects]"; and
// for each slide with brushes, measured again right after it with every brush drawing its whole
// picture quad as brushes did before they drew only the part their mask reaches: "brushes <whole
// quad ms> <mask's part ms> <slide name>".
#include <windows.h>
#include <d3dx9.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "bench/bench_support.h"
#include "brushes/base_fx/ds_fx_device.h"
#include "core/layer/ds_2d_light.h"
#include "core/layer/ds_abobj.h"
#include "core/render/device_globals.h"
#include "core/render/render_context.h"
#include "core/render/view_state.h"
#include "scene/ds_slide_container.h"
#include "scene/ds_slide_show.h"
#include "scene/scene_document.h"
#include "tools/device/window_device.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// CPU milliseconds per frame of the slide drawn alone, as the show draws its current slide,
// after a few frames to warm up.
double MillisecondsPerFrame(DS_WindowDevice& device, DS_SlideContainer& slide, int frames) {
  IDirect3DDevice9* d = device.Device();
  if (DS_2D_Light* layer = slide.GetLayer().get()) {
    layer->Layout(kWidth, kHeight);
    layer->SetPicturePosition(kPicturePositionFit);
  }
  slide.Restore();
  slide.SetActive(true);
  const auto frame = [&](int i) {
    PumpMessages();
    slide.Update(static_cast<float>(i) / 30.0f);
    d->BeginScene();
    slide.Render();
    slide.EndFrame();
    d->EndScene();
    d->Present(nullptr, nullptr, nullptr, nullptr);
  };
  for (int i = 0; i < 20; ++i) frame(i);
  const double start = CpuSeconds();
  for (int i = 0; i < frames; ++i) frame(20 + i);
  const double ms = (CpuSeconds() - start) * 1000.0 / frames;
  slide.SetActive(false);
  slide.OnDeviceLost();
  return ms;
}

int RunBench(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: vq_bench_layers <scene document> [frames]\n");
    return 2;
  }
  const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 300;
  std::ifstream file(argv[1], std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  DS_WindowDevice device;
  if (!device.Open(kWidth, kHeight, L"layer bench")) {
    std::fprintf(stderr, "no Direct3D device\n");
    return 1;
  }
  const std::unique_ptr<DS_SlideShow_Light> show = LoadSceneFromBytes(bytes.data(), bytes.size());
  show->StartScene(kPicturePositionFit);
  DS_SlideContainer* plain = nullptr;
  for (const auto& slide : show->Slides()) {
    DS_2D_Light* layer = slide->GetLayer().get();
    if (layer && typeid(*layer) == typeid(DS_2D_Light) && slide->Objects1().empty()) {
      plain = slide.get();
      break;
    }
  }
  if (!plain) {
    std::fprintf(stderr, "the document lacks a plain picture slide\n");
    return 1;
  }
  std::srand(1);
  const double plainBefore = MillisecondsPerFrame(device, *plain, frames);
  struct Row {
    std::string name, kind;
    size_t objects;
    double ms;
    double wholeQuadMs;  // 0 without brushes
  };
  std::vector<Row> rows;
  for (const auto& slide : show->Slides()) {
    if (slide.get() == plain) continue;
    DS_2D_Light* layer = slide->GetLayer().get();
    const char* kind = layer ? typeid(*layer).name() : "no layer";
    while (*kind >= '0' && *kind <= '9') ++kind;  // the mangled name's length prefix
    rows.push_back({DsToUtf8(slide->name.Get()), kind, slide->Objects1().size(),
                    MillisecondsPerFrame(device, *slide, frames), 0.0});
    const auto& objects = slide->Objects1();
    if (std::any_of(objects.begin(), objects.end(),
                    [](const auto& object) { return dynamic_cast<DS_BrushObj*>(object.get()) != nullptr; })) {
      CurrentRenderContext().brushesDrawWholeQuad = true;
      rows.back().wholeQuadMs = MillisecondsPerFrame(device, *slide, frames);
      CurrentRenderContext().brushesDrawWholeQuad = false;
    }
  }
  const double plainAfter = MillisecondsPerFrame(device, *plain, frames);
  const double plainMs = (plainBefore + plainAfter) / 2;
  std::printf("plain picture: %.2f ms CPU per frame (%.2f before, %.2f after the others; %d frames, %d x %d)\n",
              plainMs, plainBefore, plainAfter, frames, kWidth, kHeight);
  for (const Row& row : rows)
    std::printf("kind %.2f %.2f %s [%s, %zu objects]\n", row.ms, row.ms / plainMs, row.name.c_str(), row.kind.c_str(),
                row.objects);
  for (const Row& row : rows)
    if (row.wholeQuadMs > 0) std::printf("brushes %.2f %.2f %s\n", row.wholeQuadMs, row.ms, row.name.c_str());
  show->OnDeviceLost();
  g_ViewState.ReleaseBorders();
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunBench(argc, argv); }
