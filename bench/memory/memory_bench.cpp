// The memory of the default scene: the application's own frames of the embedded scene full screen
// (one output per monitor, as the saver's /s opens them) with its music graph, on a fast
// application clock. The process's memory is sampled at the end of the first slide's display and
// again at the same point after two full cycles of the show; a line per slide switch shows where
// it grows. A slide's device objects go when it stops being current and come back when it is
// current again, so the two samples should differ by little. With more cycles the same point is
// sampled after the last one too: what the show holds once every slide has been shown twice, and
// whether it still grows after that.
//   vq_bench_memory [cycles] [application seconds per frame] [music 1|0]
#include <windows.h>
#include <d3d9.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "bench/bench_app.h"
#include "bench/bench_support.h"
#include "bench/soak/soak_support.h"
#include "scene/ds_slide_show.h"
#include "saver/frame_clock.h"
#include "sound/music_graph.h"

namespace {

void PrintSample(const char* when, const SoakSample& s) {
  std::printf("%-34s resident %8.2f MB  private %8.2f MB  heaps %7.2f MB  device refs %3ld\n", when, s.residentMb,
              s.privateMb, s.heapMb, s.deviceRefs);
}

void PrintGrowth(const char* name, double first, double last) {
  const double percent = first > 0 ? (last - first) * 100.0 / first : 0.0;
  std::printf("memory %-16s %8.2f MB -> %8.2f MB  %+6.2f %%  (%s)\n", name, first, last, percent,
              percent <= 5.0 ? "within 5 %" : "over 5 %");
}

void PrintGrowths(const SoakSample& first, const SoakSample& last) {
  PrintGrowth("resident", first.residentMb, last.residentMb);
  PrintGrowth("private", first.privateMb, last.privateMb);
  PrintGrowth("heap blocks", first.heapMb, last.heapMb);
  std::printf("memory device refs        %ld -> %ld\n", first.deviceRefs, last.deviceRefs);
}

int RunBench(int argc, char** argv) {
  const int cycles = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2;
  const double step = argc > 2 ? std::atof(argv[2]) : 0.25;
  const bool withMusic = argc > 3 ? std::atoi(argv[3]) != 0 : true;  // 0: to tell the music's share apart
  if (!(step > 0.0 && step <= 5.0)) {
    std::printf("usage: vq_bench_memory [cycles] [application seconds per frame, 0 to 5] [music 1|0]\n");
    return 2;
  }
  ClockedBenchApp app;
  if (!app.OpenFullScreenOutputs()) return 2;
  const bool graph = withMusic && OpenMusicGraph(app.m_MainWindow);
  StartFrameClock();
  for (int frame = 0; frame < 3 && !app.Scene(0).Running(); ++frame) {
    app.RenderOutputs();
    PumpMessages();
  }
  DS_ScenePlayback* playback = app.Scene(0).Playback();
  if (app.m_ErrorMode || !app.Scene(0).Running() || !playback || !playback->SlideShow()) {
    std::printf("the scene did not start (error 0x%08lx)\n", static_cast<unsigned long>(app.m_ErrorCode));
    return 2;
  }
  DS_SlideShow_Light& show = *playback->SlideShow();
  IDirect3DDevice9* device = app.m_Outputs[0].device;
  D3DSURFACE_DESC desc = {};
  DS_ComHolder<IDirect3DSurface9> backBuffer;
  if (SUCCEEDED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.Receive())) && backBuffer)
    backBuffer->GetDesc(&desc);
  std::printf("full screen %ux%u on %u output(s), %zu slides, %.2f application seconds per frame, music graph %s\n",
              desc.Width, desc.Height, app.m_OutputCount, show.Slides().size(), step, graph ? "open" : "not open");

  app.fixedClock = true;
  app.clock = FrameClockSeconds();
  const auto frame = [&] {
    app.clock += step;
    app.RenderOutputs();
    PumpMessages();
    for (long code; (code = GetMusicEvent()) != -1;) app.OnMusicEvent(code);
  };
  // Frames up to the end of slide 0's display (short of its fade-out), then the sample.
  const auto toEndOfFirstSlide = [&] {
    const DS_SlideTimes times = show.Slides()[0]->Times();
    while (app.clock + step < show.Sequence().StartTime() + times.fadeIn + times.display) frame();
  };
  toEndOfFirstSlide();
  const SoakSample first = TakeSoakSample(device, g_GraphBuilder);
  PrintSample("after the first slide", first);

  const size_t slides = show.Slides().size();
  const auto sampleAfter = [&](int cycle) {
    toEndOfFirstSlide();
    const SoakSample sample = TakeSoakSample(device, g_GraphBuilder);
    char when[64];
    std::snprintf(when, sizeof(when), "after %d cycles, first slide", cycle);
    PrintSample(when, sample);
    return sample;
  };
  const int measured = std::min(cycles, 2);
  SoakSample afterMeasured = first;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    for (size_t shown = 1; shown <= slides; ++shown) {
      const size_t target = shown % slides;
      while (show.Sequence().Current() != target && !app.m_ErrorMode) frame();
      if (app.m_ErrorMode) {
        std::printf("the saver went into its error state (0x%08lx)\n", static_cast<unsigned long>(app.m_ErrorCode));
        return 1;
      }
      char when[64];
      std::snprintf(when, sizeof(when), "cycle %d, slide %zu current", cycle, target);
      PrintSample(when, TakeSoakSample(device, g_GraphBuilder));
    }
    if (cycle == measured) afterMeasured = sampleAfter(cycle);
  }
  std::printf("after the first slide -> after %d cycles:\n", measured);
  PrintGrowths(first, afterMeasured);
  if (cycles > measured) {
    const SoakSample last = sampleAfter(cycles);
    std::printf("after %d cycles -> after %d cycles:\n", measured, cycles);
    PrintGrowths(afterMeasured, last);
  }
  app.CloseOutputs();
  CloseMusicGraph();
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunAppBench(RunBench, argc, argv); }
