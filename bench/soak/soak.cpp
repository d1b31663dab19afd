// A night at the screen in minutes: the application's own frames of the embedded scene, driven by
// a fast application clock through hundreds of slide switches, with a forced device loss and reset
// through the framework every few switches and music-file changes through the scene record's
// playlist. After a warm-up and at the end it samples memory, handles, GDI and USER objects, the
// device's references and the music graph's filters, prints their growth and fails when any grew.
//   vq_bench_soak [switches] [width] [height] [application seconds per frame] [music 1|0]
#include <windows.h>
#include <d3d9.h>

#include <cstdio>
#include <cstdlib>

#include "bench/bench_app.h"
#include "bench/bench_support.h"
#include "bench/soak/soak_support.h"
#include "core/render/device_globals.h"
#include "saver/frame_clock.h"
#include "sound/music_graph.h"
#include "sound/sound_device.h"

namespace {

// Application time into a slide at which a due loss is forced (past the fade-in).
constexpr double kLossIntoSlide = 6.0;

class SoakApp : public ForcedLossShell<BenchApp> {
 public:
  double clock = 0;        // the fast application clock
  int undrawnResets = 0;   // the frame after a reset was not drawn or showed nothing

  HRESULT DrawFrame() override {
    m_AppTime = static_cast<float>(clock);
    if (resetThisFrame) m_DrewAfterReset = true;
    return BenchApp::DrawFrame();
  }

 protected:
  HRESULT PresentOutputDevice(DS_SaverOutput& output) override {
    if (resetThisFrame) {
      resetThisFrame = false;
      if (!m_DrewAfterReset || m_ErrorMode || !BackBufferShowsAPicture(output.device)) {
        ++undrawnResets;
        std::printf("reset %d: the next frame was not drawn\n", resets);
      }
      m_DrewAfterReset = false;
    }
    return BenchApp::PresentOutputDevice(output);
  }

 private:
  bool m_DrewAfterReset = false;
};

// The saver's device-lost hook closes the music graph for good. The soak keeps references of its
// own and hands the same graph back after each reset, so that the music changes go on through one
// graph as through a night without losses. (A new graph per loss would measure the platform's cost
// of making its filters again: the floor's figures show that cost.)
class KeptMusicGraph {
 public:
  void Keep() {
    m_Builder.Share(g_GraphBuilder);
    m_Control.Share(g_MediaControl);
    m_Seeking.Share(g_MediaSeeking);
    m_Event.Share(g_MediaEvent);
    m_Audio.Share(g_BasicAudio);
  }
  void HandBack() const {
    if (g_GraphBuilder || !m_Builder) return;
    HandBack(g_GraphBuilder, m_Builder);
    HandBack(g_MediaControl, m_Control);
    HandBack(g_MediaSeeking, m_Seeking);
    HandBack(g_MediaEvent, m_Event);
    HandBack(g_BasicAudio, m_Audio);
  }

 private:
  template <class T>
  static void HandBack(T*& global, const DS_ComHolder<T>& kept) {
    global = kept.Get();
    if (global) global->AddRef();
  }
  DS_ComHolder<IGraphBuilder> m_Builder;
  DS_ComHolder<IMediaControl> m_Control;
  DS_ComHolder<IMediaSeeking> m_Seeking;
  DS_ComHolder<IMediaEventEx> m_Event;
  DS_ComHolder<IBasicAudio> m_Audio;
};

struct SoakRun {
  SoakApp& app;
  double step;
  const KeptMusicGraph& music;
  int switches = 0;
  int musicChanges = 0;
  int completions = 0;  // files heard to their end, which also change the file
  int frames = 0;
  double lossDueAt = -1;  // application time of the next forced loss, -1 when none is due
  size_t lastSlide = 0;

  DS_ScenePlayback& Playback() { return *app.Scene(0).Playback(); }

  // One music-file change as a completion makes it: the record's playlist plays its next file.
  void ChangeMusic() {
    if (!g_GraphBuilder) return;
    app.OnMusicEvent(EC_COMPLETE);
    ++musicChanges;
  }

  // One frame; true when the slide switched.
  bool Frame() {
    app.clock += step;
    ++frames;
    if (lossDueAt >= 0 && app.clock >= lossDueAt) {
      lossDueAt = -1;
      app.lossDue = true;
    }
    const int resetsBefore = app.resets;
    app.RenderOutputs();
    PumpMessages();
    // The events the saver's window would fetch, one per notification.
    for (long code; (code = GetMusicEvent()) != -1;) {
      app.OnMusicEvent(code);
      if (code == EC_COMPLETE) ++completions;
    }
    if (app.resets != resetsBefore) {
      music.HandBack();
      ChangeMusic();
    }
    const size_t slide = Playback().CurrentSlide();
    if (slide == lastSlide) return false;
    lastSlide = slide;
    ++switches;
    if (switches % kSwitchesPerLoss == 0) lossDueAt = app.clock + kLossIntoSlide;
    if (switches % kSwitchesPerMusicChange == 0) ChangeMusic();
    if (switches % kSwitchesPerTrace == 0)
      TraceSoakSample("soak", switches, TakeSoakSample(app.m_Outputs[0].device, g_GraphBuilder));
    return true;
  }

  // Frames until `target` switches have been made, ending on the frame of the last switch.
  bool RunTo(int target) {
    while (switches < target) {
      Frame();
      if (app.m_ErrorMode) {
        std::printf("the saver went into its error state (0x%08lx) after %d switches\n",
                    static_cast<unsigned long>(app.m_ErrorCode), switches);
        return false;
      }
    }
    return true;
  }
};

int RunSoak(int argc, char** argv) {
  const int wanted = argc > 1 ? std::atoi(argv[1]) : 500;
  const int width = argc > 2 ? std::atoi(argv[2]) : 1024;
  const int height = argc > 3 ? std::atoi(argv[3]) : 768;
  const double step = argc > 4 ? std::atof(argv[4]) : 1.0;
  const bool withMusic = argc > 5 ? std::atoi(argv[5]) != 0 : true;  // 0: to tell the music's growth apart

  if (wanted < 1 || width < 16 || height < 16 || !(step > 0.0 && step <= 60.0)) {
    std::printf("usage: vq_bench_soak [switches >= 1] [width] [height] [seconds per frame, 0 to 60] [music 1|0]\n");
    return 2;
  }
  SoakApp app;
  if (!app.OpenWindowOutput(width, height, L"soak")) return 2;
  // As the saver's start-up opens it in the test-window mode.
  const bool graph = withMusic && OpenMusicGraph(app.m_MainWindow);
  KeptMusicGraph keptGraph;
  if (graph) keptGraph.Keep();
  StartFrameClock();
  for (int frame = 0; frame < 3 && !app.Scene(0).Running(); ++frame) {
    app.RenderOutputs();  // the loading picture, then the load
    PumpMessages();
  }
  if (app.m_ErrorMode || !app.Scene(0).Running() || !app.Scene(0).Playback()) {
    std::printf("the scene did not start (error 0x%08lx)\n", static_cast<unsigned long>(app.m_ErrorCode));
    return 2;
  }
  const int slides = static_cast<int>(app.Scene(0).Playback()->SlideCount());
  if (slides < 2) {
    std::printf("the default scene has %d slide(s): nothing switches\n", slides);
    return 2;
  }

  SoakRun run{app, step, keptGraph};
  const double wallStart = WallSeconds();
  const int warmUp = WarmUpSwitches(slides);
  if (!run.RunTo(warmUp)) return 1;
  const SoakSample warm = TakeSoakSample(app.m_Outputs[0].device, g_GraphBuilder);
  const int musicAtWarm = run.musicChanges + run.completions;
  const int resetsAtWarm = app.resets;
  const int framesAtWarm = run.frames;
  const int measured = MeasuredSwitches(slides, wanted);
  if (!run.RunTo(warmUp + measured)) return 1;
  const SoakSample end = TakeSoakSample(app.m_Outputs[0].device, g_GraphBuilder);
  const double wall = WallSeconds() - wallStart;

  const int music = run.musicChanges + run.completions - musicAtWarm;
  std::printf("soak of the default scene (%d slides), window %dx%d, %.2f application seconds per frame\n", slides,
              width, height, step);
  std::printf("soak warm-up %d switches; measured %d switches, %d forced losses, %d music changes (%d heard to "
              "the end), %.0f application hours in %.0f s\n",
              warmUp, measured, app.resets - resetsAtWarm, music, run.completions, app.clock / 3600.0, wall);
  std::printf("soak frames per switch: %d\n", (run.frames - framesAtWarm + measured / 2) / measured);
  std::printf("soak music graph: %s\n", graph ? "open" : withMusic ? "could not be opened (no DirectShow)" : "not used");
  bool ok = ReportSoakGrowth("soak", warm, end, measured);
  if (app.failedResets || app.undrawnResets) {
    std::printf("soak resets: %d of %d did not return D3D_OK, %d were not followed by a drawn frame\n",
                app.failedResets, app.resets, app.undrawnResets);
    ok = false;
  } else {
    std::printf("soak resets: all %d returned D3D_OK and were followed by a drawn frame\n", app.resets);
  }
  if (withMusic && music < kMinimumMusicChanges) {
    std::printf("soak: only %d music changes (at least %d wanted): run more switches\n", music, kMinimumMusicChanges);
    ok = false;
  }
  app.CloseOutputs();
  CloseMusicGraph();
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const int result = RunSoak(argc, argv);
  // The application opened the sound device; released as the saver releases it, after the application.
  ReleaseSoundDevice();
  std::printf("soak result: %s\n", result == 0 ? "nothing grew" : result == 1 ? "FAILED" : "could not run");
  return result;
}
