// The cost of particles: CPU time per frame (Wine's renderer threads included) of a slide's
// layer drawn with one sparkle system of N particles (each moved, faded and written every frame)
// against the same slide whose system has none, in one run, in a 1024 x 768 window; and, to tell
// the engine's share from the renderer's, the same N particles updated and written but not drawn.
//   vq_bench_particles [frames] [particles]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "bench/bench_support.h"
#include "core/layer/ds_2d_light.h"
#include "core/render/device_globals.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"
#include "objects/sparkle/ds_sparkle_constructor.h"
#include "tools/device/window_device.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// CPU seconds per frame of `frames` frames of the layer with `count` sparkles, after a warm-up.
double SecondsPerFrame(DS_WindowDevice& device, DS_2D_Light& layer, uint32_t count, bool draw, int frames,
                       float& clock) {
  DS_SparkleConstructor set;
  set.count.Set(count);
  set.baseSize.Set(10);
  set.blendMode.Set(1);
  set.colour.Set(0x60D0FF);
  set.fadeRate = 1.0f;
  set.image.StoreKey(DS_ResourceKey{u"common_res.dll", 211});
  std::unique_ptr<DS_ABObj> object = set.CreateObject();
  IDirect3DDevice9* d = device.Device();
  auto frame = [&] {
    clock += 1.0f / 60.0f;
    layer.Update(clock);
    object->Update(clock);
    DS_ABObj* objects[1] = {object.get()};
    d->BeginScene();
    layer.RenderScene(objects, draw ? 1 : 0);
    layer.PostRender();
    d->EndScene();
    d->Present(nullptr, nullptr, nullptr, nullptr);
    PumpMessages();
  };
  for (int i = 0; i < 20; ++i) frame();
  const double start = CpuSeconds();
  for (int i = 0; i < frames; ++i) frame();
  return (CpuSeconds() - start) / frames;
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::atoi(argv[1]) : 300;
  const uint32_t particles = argc > 2 ? static_cast<uint32_t>(std::atoi(argv[2])) : 10000u;
  DS_WindowDevice device;
  if (!device.Open(kWidth, kHeight, L"particle bench")) {
    std::printf("no device\n");
    return 2;
  }
  device.MakeCurrent();
  DS_DocResManager manager;
  g_DocResManager = &manager;
  int result = 0;
  {
    DS_2D_Light layer;
    layer.CreateDeviceObjects();
    layer.OnDeviceReset();
    layer.Layout(kWidth, kHeight);
    float clock = 0.0f;
    const double none = SecondsPerFrame(device, layer, 0, true, frames, clock);
    const double many = SecondsPerFrame(device, layer, particles, true, frames, clock);
    const double undrawn = SecondsPerFrame(device, layer, particles, false, frames, clock);
    std::printf("window %dx%d, %d frames each\n", kWidth, kHeight, frames);
    std::printf("slide without particles:  %.3f ms CPU per frame\n", none * 1e3);
    std::printf("slide with %u sparkles: %.3f ms CPU per frame\n", particles, many * 1e3);
    std::printf("the same, not drawn:      %.3f ms CPU per frame\n", undrawn * 1e3);
    std::printf("ratio with / without: %.2f (not drawn: %.2f)\n", none > 0 ? many / none : 0.0,
                none > 0 ? undrawn / none : 0.0);
    if (none <= 0) result = 2;
  }
  g_ViewState.ReleaseBorders();
  g_DocResManager = nullptr;
  return result;
}
