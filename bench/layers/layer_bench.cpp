// The cost of the effect layers against the plain picture: the default scene's first plain picture
// slide, its falling-code slide and its water-ring slide, each drawn on its own for N frames in a
// 1024 x 768 window (process CPU time per frame, Wine's renderer threads included), in one run.
//   vq_bench_layers <scene document> [frames]
#include <windows.h>
#include <d3dx9.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <fstream>
#include <iterator>
#include <typeinfo>
#include <vector>

#include "bench/bench_support.h"
#include "core/layer/ds_2d_light.h"
#include "core/render/device_globals.h"
#include "core/render/output_views.h"
#include "core/render/view_state.h"
#include "layers/matrix_code/ds_matrix_code_light.h"
#include "layers/slideshow/ds_slide_container.h"
#include "layers/slideshow/ds_slide_show.h"
#include "layers/slideshow/scene_document.h"
#include "layers/water_ring/ds_water_ring_light.h"
#include "tests/render/test_device.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// CPU milliseconds per frame of the layer drawn alone, after a few frames to warm up.
double MillisecondsPerFrame(DS_TestDevice& device, DS_2D_Light& layer, int frames) {
  IDirect3DDevice9* d = device.Device();
  layer.CreateDeviceObjects();
  layer.OnDeviceReset();
  layer.Layout(kWidth, kHeight);
  layer.SetPicturePosition(kPicturePositionFit);
  const auto frame = [&](int i) {
    PumpMessages();
    layer.Update(static_cast<float>(i) / 30.0f);
    d->BeginScene();
    layer.RenderScene(nullptr, 0);
    layer.PostRender();
    d->EndScene();
    d->Present(nullptr, nullptr, nullptr, nullptr);
  };
  for (int i = 0; i < 20; ++i) frame(i);
  const double start = CpuSeconds();
  for (int i = 0; i < frames; ++i) frame(20 + i);
  const double ms = (CpuSeconds() - start) * 1000.0 / frames;
  layer.OnDeviceLost();
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
  DS_TestDevice device;
  if (!device.Open(kWidth, kHeight, L"layer bench")) {
    std::fprintf(stderr, "no Direct3D device\n");
    return 1;
  }
  SelectOutputView(0);
  const std::unique_ptr<DS_SlideShow_Light> show = LoadSceneFromBytes(bytes.data(), bytes.size());
  DS_2D_Light *plain = nullptr, *code = nullptr, *water = nullptr;
  for (const auto& slide : show->Slides()) {
    DS_2D_Light* layer = slide->GetLayer().get();
    if (!plain && typeid(*layer) == typeid(DS_2D_Light)) plain = layer;
    if (!code && dynamic_cast<DS_MatrixCodeLight*>(layer)) code = layer;
    if (!water && dynamic_cast<DS_WaterRingLight*>(layer)) water = layer;
  }
  if (!plain || !code || !water) {
    std::fprintf(stderr, "the document lacks a plain, a falling-code or a water-ring slide\n");
    return 1;
  }
  std::srand(1);
  const double plainMs = MillisecondsPerFrame(device, *plain, frames);
  const double codeMs = MillisecondsPerFrame(device, *code, frames);
  const double waterMs = MillisecondsPerFrame(device, *water, frames);
  std::printf("plain picture: %.2f ms CPU per frame (%d frames, %d x %d)\n", plainMs, frames, kWidth, kHeight);
  std::printf("falling code:  %.2f ms, %.2f x the plain picture\n", codeMs, codeMs / plainMs);
  std::printf("water rings:   %.2f ms, %.2f x the plain picture\n", waterMs, waterMs / plainMs);
  g_ViewState.ReleaseBorders();
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunBench(argc, argv); }
