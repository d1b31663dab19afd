// Plays sound for the recording tests, which listen on the sound server's null sink:
//   vq_sound_probe buffers                      DirectSound itself, in phases 0.8 s apart:
//       440 Hz looping 1.6 s | 550 Hz once (0.5 s) | 330 Hz looping 1 s at SetVolume(-10000) |
//       660 Hz looping 1 s at SetVolume(0) | 990 Hz looping 1 s, primary buffer at -10000 |
//       880 Hz looping 1 s, primary buffer at -2000 | 440 Hz looping, turned after 0.2 s into
//       one play from the start by Play(0, 0, 0) (0.7 s in all)
//   vq_sound_probe slide <object volume> <volume setting> <muted 0|1> <seconds>
//       a slide whose first list holds a looping sound of the library's 440 Hz tone, played
//       through the slide show for the given seconds of real time, the volume setting applied to
//       the primary buffer as the scene record applies it
//   vq_sound_probe random <min> <max> <seconds>
//       a slide whose first list holds a 0.25 s tone of 660 Hz with random replay between min and
//       max seconds
//   vq_sound_probe tone <Hz> <seconds>
//       one tone looping for the given seconds (the neighbour the recording tests play beside
//       themselves, through a sound server of its own)
//   vq_sound_probe formats <seconds>
//       four slides played one after another for the given seconds each, 0.8 s apart, each with a
//       looping tone carried by the document at the same loudness: 440 Hz as 16-bit PCM, 550 Hz
//       as 32-bit IEEE float, 660 Hz as extensible 16-bit PCM, 880 Hz as extensible float
// Exits 0 when everything it needed was made; 1 otherwise.
#include <windows.h>
#include <dsound.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/render/device_globals.h"
#include "core/com/ds_com_holder.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"
#include "scene/scene_document.h"
#include "sound/sound_device.h"
#include "sound/wav_sound/sound_buffer.h"
#include "sound/wav_sound/wav_memory_file.h"
#include "tools/fixtures/test_wav.h"
#include "tools/device/window_device.h"
#include "tests/sound/wav_sound/sound_documents.h"

namespace {

DS_ComHolder<IDirectSoundBuffer8> ToneBuffer(double frequency, double seconds) {
  DS_ComHolder<IDirectSoundBuffer8> result;
  const std::vector<unsigned char> bytes = MakeToneWav(frequency, seconds, 8000);
  DS_WavData wav;
  if (ReadWavFromMemory(bytes.data(), bytes.size(), wav)) MakeSoundBuffer(wav, result);
  return result;
}

// One phase: the tone looping (or once) for `ms`, then stopped and 0.8 s of silence.
bool Phase(double frequency, double toneSeconds, DWORD flags, DWORD ms, LONG volume) {
  DS_ComHolder<IDirectSoundBuffer8> buffer = ToneBuffer(frequency, toneSeconds);
  if (!buffer || FAILED(buffer->SetVolume(volume)) || FAILED(buffer->Play(0, 0, flags))) {
    std::printf("phase %.0f Hz: no buffer\n", frequency);
    return false;
  }
  Sleep(ms);
  buffer->Stop();
  Sleep(800);
  return true;
}

bool Buffers() {
  bool made = Phase(440, 0.5, DSBPLAY_LOOPING, 1600, 0);
  made &= Phase(550, 0.5, 0, 1200, 0);
  made &= Phase(330, 0.5, DSBPLAY_LOOPING, 1000, DSBVOLUME_MIN);
  made &= Phase(660, 0.5, DSBPLAY_LOOPING, 1000, 0);
  made &= SUCCEEDED(g_PrimarySoundBuffer->SetVolume(DSBVOLUME_MIN));
  made &= Phase(990, 0.5, DSBPLAY_LOOPING, 1000, 0);
  made &= SUCCEEDED(g_PrimarySoundBuffer->SetVolume(-2000));
  made &= Phase(880, 0.5, DSBPLAY_LOOPING, 1000, 0);
  made &= SUCCEEDED(g_PrimarySoundBuffer->SetVolume(0));
  DS_ComHolder<IDirectSoundBuffer8> last = ToneBuffer(440, 0.5);
  if (!last) return false;
  last->Play(0, 0, DSBPLAY_LOOPING);
  Sleep(200);
  last->SetCurrentPosition(0);
  last->Play(0, 0, 0);
  Sleep(1500);
  DWORD status = 0;
  last->GetStatus(&status);
  std::printf("after the one play: status 0x%lx\n", static_cast<unsigned long>(status));
  return made;
}

double Seconds() {
  static LARGE_INTEGER frequency = {}, start = {};
  LARGE_INTEGER now;
  if (frequency.QuadPart == 0) {
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
  }
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Plays the document's scene in real time as the scene record does (the volume setting applied
// before the scene starts its sounds), drawing every 30 ms.
bool PlayScene(const std::vector<uint8_t>& document, DWORD volumeSetting, bool muted, double seconds) {
  DS_WindowDevice device;
  if (!device.Open(64, 48, L"sound probe")) return false;
  SetPrimarySoundVolume(volumeSetting, muted);
  std::unique_ptr<DS_SlideShow_Light> show = LoadSceneFromBytes(document.data(), document.size());
  show->StartScene(1);
  // Each scene's time starts at 0, also when several are played one after another.
  const double start = Seconds();
  for (double t = 0.0; t < seconds; t = Seconds() - start) {
    show->Update(static_cast<float>(t));
    if (SUCCEEDED(g_Device->BeginScene())) {
      show->Render();
      g_Device->EndScene();
    }
    Sleep(30);
  }
  show.reset();  // its sound buffers go before the device
  g_ViewState.ReleaseBorders();
  g_DocResManager = nullptr;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string mode = argv[1];
  HWND window = MakeDeviceWindow(64, 48, L"sound probe window");
  if (!OpenSoundDevice(window)) {
    std::printf("no sound device\n");
    return 1;
  }
  bool made = false;
  if (mode == "buffers") {
    made = Buffers();
  } else if (mode == "slide" && argc >= 6) {
    TestSound sound;
    sound.volume = static_cast<uint32_t>(std::atoi(argv[2]));
    made = PlayScene(SoundDocument({sound}, {}), static_cast<DWORD>(std::atoi(argv[3])), std::atoi(argv[4]) != 0,
                     std::atof(argv[5]));
  } else if (mode == "random" && argc >= 5) {
    TestSound sound;
    sound.link = u"probe";
    sound.stamp = 1;
    sound.randomReplay = 1;
    sound.minInterval = static_cast<uint32_t>(std::atoi(argv[2]));
    sound.maxInterval = static_cast<uint32_t>(std::atoi(argv[3]));
    std::srand(7);
    made = PlayScene(SoundDocument({sound}, {}, {{u"probe", 1, MakeToneWav(660, 0.25, 8000)}}), 100, false,
                     std::atof(argv[4]));
  } else if (mode == "tone" && argc >= 4) {
    DS_ComHolder<IDirectSoundBuffer8> tone = ToneBuffer(std::atof(argv[2]), 0.5);
    made = tone && SUCCEEDED(tone->Play(0, 0, DSBPLAY_LOOPING));
    if (made) Sleep(static_cast<DWORD>(std::atof(argv[3]) * 1000));
  } else if (mode == "formats" && argc >= 3) {
    const struct {
      ToneForm form;
      double frequency;
    } tones[] = {{ToneForm::Pcm16, 440},
                 {ToneForm::Float32, 550},
                 {ToneForm::ExtensiblePcm16, 660},
                 {ToneForm::ExtensibleFloat32, 880}};
    made = true;
    for (const auto& tone : tones) {
      TestSound sound;
      sound.link = u"tone";
      sound.stamp = 1;
      made &= PlayScene(SoundDocument({sound}, {}, {{u"tone", 1, MakeToneWavIn(tone.form, tone.frequency, 0.5, 8000)}}),
                        100, false, std::atof(argv[2]));
      Sleep(800);
    }
  } else {
    return 2;
  }
  Sleep(300);  // the last samples leave the mixer
  ReleaseSoundDevice();
  DestroyWindow(window);
  std::printf("exit status %d\n", made ? 0 : 1);  // the test driver's sign that the work is done
  return made ? 0 : 1;
}
