// The cost of the default scene, through the application's own frames of the embedded scene in a
// 1024 x 768 window under the music graph the saver opens (process CPU time per frame, Wine's
// renderer threads included):
// - start-up: the time of each of the first frames (the loading picture, the load, the first scene
//   frame, the frame after it) against the time to decode the scene's pictures alone on the same
//   device: the document's own pictures and masks (the files named on the command line), and the
//   pictures of the resource library that the start-up decoded (found in the resource cache
//   after it);
// - per slide, on an application clock that stays inside the slide's display time: the frame as
//   the framework draws and presents it, beside the Clear-and-Present floor on the same device
//   measured right after it and the picture floor after that (Clear, the slide's picture drawn once
//   as a quad over the whole target with the layer's picture states, Present: what a slide that
//   shows its picture costs at least), and the frame cut into its phases (update, background, objects, post
//   render, fade overlay, present), each phase waited for on the device so that the renderer's
//   work lands in the phase that asked for it.
//   vq_bench_app <frames per slide> <picture file>...
#include <windows.h>
#include <d3dx9.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <typeinfo>
#include <vector>

#include "bench/bench_app.h"
#include "bench/bench_support.h"
#include "core/layer/ds_2d_light.h"
#include "core/layer/ds_abobj.h"
#include "core/render/device_globals.h"
#include "core/render/draw_states.h"
#include "core/render/vertex_records.h"
#include "core/resources/doc_res_manager.h"
#include "core/resources/picture_decoders.h"
#include "scene/ds_slide_show.h"
#include "saver/frame_clock.h"
#include "sound/music_graph.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kWarmUpFrames = 10;

// Waits until the device has carried out every command given so far. Sleeps between polls, so
// that the waiting itself costs next to no CPU time.
class DeviceFence {
 public:
  explicit DeviceFence(IDirect3DDevice9* device) : m_Device(device) {
    if (FAILED(device->CreateQuery(D3DQUERYTYPE_EVENT, m_Query.Receive()))) m_Query.Reset();
  }
  bool Usable() const { return static_cast<bool>(m_Query); }
  void Wait() {
    if (!m_Query) return;
    m_Query->Issue(D3DISSUE_END);
    for (int i = 0; i < 5000 && m_Query->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE; ++i) Sleep(1);
  }

 private:
  IDirect3DDevice9* m_Device;
  DS_ComHolder<IDirect3DQuery9> m_Query;
};

// kWait: a phase with nothing in it, the cost of the wait itself that each phase also carries.
enum Phase { kUpdate, kBackground, kObjects, kPostRender, kOverlay, kPresent, kWait, kPhaseCount };
const char* const kPhaseNames[kPhaseCount] = {"update", "background", "objects", "post", "overlay", "present",
                                              "(wait)"};

struct SlideFigures {
  std::string name;
  float seconds = 0;       // fade-in + display + fade-out
  double frame = 0;        // CPU ms per frame through the framework
  double floor = 0;        // CPU ms per Clear-and-Present frame right after
  double pictureFloor = 0; // CPU ms per frame of the picture alone over the target, after that
  double phases[kPhaseCount] = {};  // CPU ms per phase, each waited for
  bool plain = false;      // the base picture layer with no drawn object
};

struct SpentTime {
  double wall = 0, cpu = 0;  // seconds
};

// The scene's pictures decoded as the resource manager decodes embedded pictures.
SpentTime DecodePictures(int count, char** paths) {
  std::vector<std::vector<char>> files;
  for (int i = 0; i < count; ++i) {
    std::ifstream file(paths[i], std::ios::binary);
    files.emplace_back((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  }
  const double start = WallSeconds(), startCpu = CpuSeconds();
  for (const auto& bytes : files) {
    DS_TextureInfo info = LoadTextureInfoFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    if (info.width == 0) std::printf("a picture did not decode\n");
  }
  return SpentTime{WallSeconds() - start, CpuSeconds() - startCpu};
}

// The resource library's pictures decoded alone, as the resource cache decodes them.
SpentTime DecodeLibraryPictures(const std::vector<std::pair<HMODULE, int>>& ids) {
  const double start = WallSeconds(), startCpu = CpuSeconds();
  for (const auto& id : ids) {
    DS_Texture texture;
    D3DXIMAGE_INFO info{};
    if (FAILED(LoadModuleTextureResource(id.first, id.second, texture, info)))
      std::printf("library picture %d did not decode\n", id.second);
  }
  return SpentTime{WallSeconds() - start, CpuSeconds() - startCpu};
}

class SceneBench {
 public:
  SceneBench(ClockedBenchApp& app, DS_SlideShow_Light& show, int frames)
      : m_App(app), m_Show(show), m_Device(app.m_Outputs[0].device), m_Fence(m_Device), m_Frames(frames) {}

  // One framework frame at the bench's clock.
  void AppFrame() {
    m_App.RenderOutputs();
    PumpMessages();
  }

  // Moves the clock on to the start of the next slide; the frame drawn there switches to it.
  // Returns the time of that frame.
  SpentTime NextSlide() {
    const DS_SlideTimes times = m_Show.Slides()[m_Show.Sequence().Current()]->Times();
    m_App.clock = m_Show.Sequence().StartTime() + times.fadeIn + times.display + times.fadeOut + 0.01;
    const double start = WallSeconds(), startCpu = CpuSeconds();
    AppFrame();
    return SpentTime{WallSeconds() - start, CpuSeconds() - startCpu};
  }

  SlideFigures MeasureCurrentSlide() {
    const size_t index = m_Show.Sequence().Current();
    DS_SlideContainer& slide = *m_Show.Slides()[index];
    const DS_SlideTimes times = slide.Times();
    SlideFigures figures;
    figures.name = DsToUtf8(slide.name.Get());
    figures.seconds = times.fadeIn + times.display + times.fadeOut;
    DS_2D_Light* layer = slide.GetLayer().get();
    figures.plain = layer && typeid(*layer) == typeid(DS_2D_Light) && slide.Objects1().empty();

    // Frames inside the display time, where the overlay is clear.
    const int total = kWarmUpFrames + 2 * m_Frames;
    const double step = std::min(1.0 / 30.0, static_cast<double>(times.display) / (total + 2));
    m_App.clock = m_Show.Sequence().StartTime() + times.fadeIn + step;
    for (int i = 0; i < kWarmUpFrames; ++i, m_App.clock += step) AppFrame();

    double start = CpuSeconds();
    for (int i = 0; i < m_Frames; ++i, m_App.clock += step) AppFrame();
    figures.frame = (CpuSeconds() - start) * 1e3 / m_Frames;

    m_Fence.Wait();
    start = CpuSeconds();
    for (int i = 0; i < m_Frames; ++i) FloorFrame();
    figures.floor = (CpuSeconds() - start) * 1e3 / m_Frames;

    IDirect3DTexture9* picture = layer ? layer->BackgroundQuad().picture.texture.Get() : nullptr;
    m_Fence.Wait();
    start = CpuSeconds();
    for (int i = 0; i < m_Frames; ++i) PictureFloorFrame(picture);
    figures.pictureFloor = (CpuSeconds() - start) * 1e3 / m_Frames;

    for (int i = 0; i < m_Frames; ++i, m_App.clock += step) PhaseFrame(figures.phases);
    for (double& phase : figures.phases) phase = phase * 1e3 / m_Frames;
    return figures;
  }

 private:
  void FloorFrame() {
    m_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF203040, 1.0f, 0);
    m_Device->Present(nullptr, nullptr, nullptr, nullptr);
    PumpMessages();
  }

  // The picture once over the whole target, as the layer draws its picture (its states, its
  // filter), between a Clear and a Present. The corners lie half a pixel up and to the left, so
  // that at the picture's own size each texel lands on its pixel.
  void PictureFloorFrame(IDirect3DTexture9* picture) {
    m_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF203040, 1.0f, 0);
    m_Device->BeginScene();
    SetPictureStates();
    const float l = -0.5f, t = -0.5f, r = kWidth - 0.5f, b = kHeight - 0.5f;
    const DX_V::TPCT quad[4] = {{l, b, 0, 1, 0xFFFFFFFF, 0, 1}, {l, t, 0, 1, 0xFFFFFFFF, 0, 0},
                                {r, b, 0, 1, 0xFFFFFFFF, 1, 1}, {r, t, 0, 1, 0xFFFFFFFF, 1, 0}};
    m_Device->SetFVF(DX_V::TPCT::kFormat);
    m_Device->SetTexture(0, picture);
    m_Device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, DX_V::TPCT::kStride);
    m_Device->SetTexture(0, nullptr);
    m_Device->EndScene();
    m_Device->Present(nullptr, nullptr, nullptr, nullptr);
    PumpMessages();
  }

  // The show's frame as DS_SlideShow_Light::Render draws it, one phase at a time.
  void PhaseFrame(double (&phases)[kPhaseCount]) {
    m_Fence.Wait();
    double last = CpuSeconds();
    const auto mark = [&](Phase phase) {
      m_Fence.Wait();
      const double now = CpuSeconds();
      phases[phase] += now - last;
      last = now;
    };
    m_Show.Update(static_cast<float>(m_App.clock));
    mark(kUpdate);
    m_Device->BeginScene();
    const DS_SlideContainer& slide = *m_Show.CurrentSlide();
    DS_2D_Light* layer = slide.GetLayer().get();
    std::vector<DS_ABObj*> objects;
    for (const auto& object : slide.Objects1()) objects.push_back(object.get());
    const int users = layer ? layer->CountSceneTextureUsers(objects.data(), objects.size()) : 0;
    if (layer) {
      if (users > 0) layer->BeginTargetRender();
      layer->RenderBackground(false);
    }
    mark(kBackground);
    if (layer) layer->RenderObjects(objects.data(), objects.size(), users);
    mark(kObjects);
    if (layer) layer->PostRender();
    mark(kPostRender);
    m_Show.RenderOverlay();
    mark(kOverlay);
    m_Device->EndScene();
    m_Device->Present(nullptr, nullptr, nullptr, nullptr);
    PumpMessages();
    mark(kPresent);
    mark(kWait);
  }

  ClockedBenchApp& m_App;
  DS_SlideShow_Light& m_Show;
  IDirect3DDevice9* m_Device;
  DeviceFence m_Fence;
  int m_Frames;
};

void PrintSlides(const std::vector<SlideFigures>& slides) {
  std::printf("\n%-3s %-26s %9s %9s %6s %9s %6s |", "#", "slide", "frame ms", "floor ms", "ratio", "picture", "ratio");
  for (const char* name : kPhaseNames) std::printf(" %10s", name);
  std::printf("\n");
  double weighted = 0, weights = 0, plainFrame = 0, plainFloor = 0, plainPicture = 0;
  int plainCount = 0;
  for (size_t i = 0; i < slides.size(); ++i) {
    const SlideFigures& s = slides[i];
    const double ratio = s.floor > 0 ? s.frame / s.floor : 0.0;
    std::printf("%-3zu %-26.26s %9.2f %9.2f %6.2f %9.2f %6.2f |", i, (s.name + (s.plain ? " (plain)" : "")).c_str(),
                s.frame, s.floor, ratio, s.pictureFloor, s.pictureFloor > 0 ? s.frame / s.pictureFloor : 0.0);
    for (double phase : s.phases) std::printf(" %10.2f", phase);
    std::printf("\n");
    weighted += ratio * s.seconds;
    weights += s.seconds;
    if (s.plain) {
      plainFrame += s.frame;
      plainFloor += s.floor;
      plainPicture += s.pictureFloor;
      ++plainCount;
    }
  }
  if (weights > 0) std::printf("ratio over the scene (slides weighted by their time): %.2f\n", weighted / weights);
  if (plainCount > 0 && plainFloor > 0)
    std::printf("ratio of the %d plain picture slides: %.2f (%.2f ms against %.2f ms)\n", plainCount,
                plainFrame / plainFloor, plainFrame / plainCount, plainFloor / plainCount);
  if (plainCount > 0 && plainPicture > 0)
    std::printf("ratio of the %d plain picture slides to the picture floor: %.2f (%.2f ms against %.2f ms)\n",
                plainCount, plainFrame / plainPicture, plainFrame / plainCount, plainPicture / plainCount);
}

int RunBench(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 150;
  ClockedBenchApp app;
  if (!app.OpenWindowOutput(kWidth, kHeight, L"scene bench")) return 2;
  // As the saver's start-up opens it in the test-window mode (without a sound server, no graph).
  const bool graph = OpenMusicGraph(app.m_MainWindow);
  StartFrameClock();

  // The pictures decoded alone right before the start-up and again right after it.
  SpentTime decodeBefore = DecodePictures(argc - 2, argv + 2);

  // Frame 1 the loading picture, frame 2 the load, frame 3 the first frame of the scene, frame 4
  // the music's start.
  constexpr int kStartFrames = 5;
  double frameWall[kStartFrames] = {}, frameCpu[kStartFrames] = {};
  double toScene = 0, toSceneCpu = 0;
  const double start = WallSeconds(), startCpu = CpuSeconds();
  for (int frame = 0; frame < kStartFrames; ++frame) {
    const double frameStart = WallSeconds(), frameStartCpu = CpuSeconds();
    app.RenderOutputs();
    PumpMessages();
    frameWall[frame] = WallSeconds() - frameStart;
    frameCpu[frame] = CpuSeconds() - frameStartCpu;
    if (frame == 2) {
      toScene = WallSeconds() - start;
      toSceneCpu = CpuSeconds() - startCpu;
    }
  }
  SpentTime decodeAfter = DecodePictures(argc - 2, argv + 2);
  if (app.m_ErrorMode || !app.Scene(0).Running() || !app.Scene(0).Playback() ||
      !app.Scene(0).Playback()->SlideShow()) {
    std::printf("the scene did not start (error 0x%08lx)\n", static_cast<unsigned long>(app.m_ErrorCode));
    return 2;
  }
  DS_SlideShow_Light& show = *app.Scene(0).Playback()->SlideShow();
  std::vector<std::pair<HMODULE, int>> libraryPictures;
  if (DS_DocResManager* manager = show.ResourceManager()) libraryPictures = manager->Cache().LibraryPictures();
  const SpentTime decodeLibrary = DecodeLibraryPictures(libraryPictures);

  app.fixedClock = true;
  app.clock = FrameClockSeconds();
  SceneBench bench(app, show, frames);
  std::vector<SlideFigures> slides;
  // The frames that switch to each slide after the first, on its first showing.
  SpentTime switches;
  double longestSwitch = 0;
  for (size_t i = 0; i < show.Slides().size(); ++i) {
    if (i > 0) {
      const SpentTime frame = bench.NextSlide();
      switches.wall += frame.wall;
      switches.cpu += frame.cpu;
      longestSwitch = std::max(longestSwitch, frame.wall);
    }
    slides.push_back(bench.MeasureCurrentSlide());
  }

  std::printf("window %dx%d, %d frames per slide and measure, music graph %s\n", kWidth, kHeight, frames,
              graph ? "open" : "not open");
  const char* const frameNames[kStartFrames] = {"loading picture", "load", "first scene frame", "second scene frame",
                                                "third scene frame"};
  for (int i = 0; i < kStartFrames; ++i)
    std::printf("start-up frame %d (%s): %.1f ms wall, %.1f ms CPU\n", i + 1, frameNames[i], frameWall[i] * 1e3,
                frameCpu[i] * 1e3);
  const double documentDecode = (decodeBefore.wall + decodeAfter.wall) / 2;
  const double documentDecodeCpu = (decodeBefore.cpu + decodeAfter.cpu) / 2;
  const double decode = documentDecode + decodeLibrary.wall, decodeCpu = documentDecodeCpu + decodeLibrary.cpu;
  std::printf("first frame to scene frame:   %.1f ms wall, %.1f ms CPU\n", toScene * 1e3, toSceneCpu * 1e3);
  std::printf("decoding the %d document pictures: %.1f ms wall, %.1f ms CPU (before %.1f, after %.1f ms wall)\n",
              argc - 2, documentDecode * 1e3, documentDecodeCpu * 1e3, decodeBefore.wall * 1e3,
              decodeAfter.wall * 1e3);
  std::printf("decoding the %zu library pictures: %.1f ms wall, %.1f ms CPU\n", libraryPictures.size(),
              decodeLibrary.wall * 1e3, decodeLibrary.cpu * 1e3);
  std::printf("ratio start-up / decoding:    %.2f wall, %.2f CPU\n", decode > 0 ? toScene / decode : 0.0,
              decodeCpu > 0 ? toSceneCpu / decodeCpu : 0.0);
  std::printf("switch frames (first showing): %.1f ms wall, %.1f ms CPU over %zu switches, longest %.1f ms wall\n",
              switches.wall * 1e3, switches.cpu * 1e3, show.Slides().size() - 1, longestSwitch * 1e3);
  PrintSlides(slides);
  double frameSum = 0, floorSum = 0;
  for (const SlideFigures& s : slides) {
    frameSum += s.frame;
    floorSum += s.floor;
  }
  std::printf("scene frame:                  %.3f ms CPU per frame (mean of the slides)\n", frameSum / slides.size());
  std::printf("floor frame:                  %.3f ms CPU per frame (mean beside the slides)\n",
              floorSum / slides.size());
  app.CloseOutputs();
  CloseMusicGraph();
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunAppBench(RunBench, argc, argv); }
