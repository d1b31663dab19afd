// The cost of the default scene: the application's frames of the embedded scene in a 1024 x 768
// window (process CPU time per frame, Wine's renderer threads included), the time from the first
// frame to the first frame of the scene, and the time to decode the scene's pictures alone on the
// same device.
//   vq_bench_app <frames> <picture file>...
#include <windows.h>
#include <d3dx9.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "bench/bench_app.h"
#include "bench/bench_support.h"
#include "core/render/device_globals.h"
#include "core/resources/picture_decoders.h"
#include "saver/frame_clock.h"
#include "saver/scene_saver_app.h"
#include "sound/sound_device.h"
#include "tests/render/test_device.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// The scene's pictures decoded as the resource manager decodes embedded pictures.
double DecodePictures(int count, char** paths) {
  std::vector<std::vector<char>> files;
  for (int i = 0; i < count; ++i) {
    std::ifstream file(paths[i], std::ios::binary);
    files.emplace_back((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  }
  const double start = WallSeconds();
  for (const auto& bytes : files) {
    DS_TextureInfo info = LoadTextureInfoFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    if (info.width == 0) std::printf("a picture did not decode\n");
  }
  return WallSeconds() - start;
}

int RunBench(int argc, char** argv) {
  const int frames = argc > 1 ? std::atoi(argv[1]) : 300;
  BenchApp app;
  if (!app.OpenWindowOutput(kWidth, kHeight, L"scene bench")) return 2;
  StartFrameClock();

  // Frame 1 the loading picture, frame 2 the load, frame 3 the first frame of the scene.
  const double start = WallSeconds();
  for (int frame = 0; frame < 3; ++frame) {
    app.RenderOutputs();
    PumpMessages();
  }
  const double toScene = WallSeconds() - start;
  if (app.m_ErrorMode || !app.Scene(0).Running()) {
    std::printf("the scene did not start (error 0x%08lx)\n", static_cast<unsigned long>(app.m_ErrorCode));
    return 2;
  }

  for (int i = 0; i < 20; ++i) {  // warm up: the first slide's device objects
    app.RenderOutputs();
    PumpMessages();
  }
  const double cpuStart = CpuSeconds();
  const double wallStart = WallSeconds();
  for (int i = 0; i < frames; ++i) {
    app.RenderOutputs();
    PumpMessages();
  }
  const double perFrame = (CpuSeconds() - cpuStart) / frames;
  const double wallPerFrame = (WallSeconds() - wallStart) / frames;

  const double decode = DecodePictures(argc - 2, argv + 2);
  std::printf("window %dx%d, %d frames of the default scene\n", kWidth, kHeight, frames);
  std::printf("scene frame:                  %.3f ms CPU per frame (%.3f ms wall)\n", perFrame * 1e3, wallPerFrame * 1e3);
  std::printf("first frame to scene frame:   %.1f ms\n", toScene * 1e3);
  std::printf("decoding the %d pictures:      %.1f ms\n", argc - 2, decode * 1e3);
  std::printf("ratio start-up / decoding:    %.2f\n", decode > 0 ? toScene / decode : 0.0);
  app.CloseOutputs();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int result = RunBench(argc, argv);
  // The application opened the sound device; released as the saver releases it, after the application.
  ReleaseSoundDevice();
  return result;
}
