// The sound objects against Wine's DirectSound. Run twice: with a private sound server
// (VQ_SOUND_SERVER=1), where the objects' buffers are made and play, and without one
// (VQ_SOUND_SERVER=0), where the device cannot be opened and every object stays silent while the
// scene plays on. The WAV reading and the record need no device and run in both.
#include <gtest/gtest.h>

#include <windows.h>
#include <dsound.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/data/class_registry.h"
#include "core/render/device_globals.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"
#include "scene/scene_document.h"
#include "sound/sound_device.h"
#include "sound/sound_settings.h"
#include "sound/wav_sound/ds_wav_constructor.h"
#include "sound/wav_sound/wav_memory_file.h"
#include "tools/fixtures/test_wav.h"
#include "tools/device/window_device.h"
#include "tests/sound/wav_sound/sound_documents.h"

namespace {

constexpr uint16_t kIeeeFloat = 3;  // WAVE_FORMAT_IEEE_FLOAT
constexpr uint16_t kExtensible = 0xFFFE;  // WAVE_FORMAT_EXTENSIBLE

bool SoundServerExpected() {
  const char* value = std::getenv("VQ_SOUND_SERVER");
  return value && value[0] == '1';
}

// A RIFF WAVE laid out field by field, so that each case can damage one of them.
struct TestWav {
  char form[5] = "WAVE";
  char fmtId[5] = "fmt ";
  uint16_t tag = WAVE_FORMAT_PCM, channels = 1;
  uint32_t rate = 22050, byteRate = 44100;
  uint16_t blockAlign = 2, bits = 16;
  uint32_t fmtSize = 16;  // 18 and more carry cbSize and what follows it
  uint16_t cbSize = 0;
  std::vector<uint8_t> extension;  // after cbSize (the extensible form's fields)
  bool listChunk = false;  // a "LIST" chunk before "fmt " and another before "data"
  char dataId[5] = "data";
  std::vector<uint8_t> samples = std::vector<uint8_t>(64, 0x11);
  uint32_t dataSize = UINT32_MAX;  // as stored; UINT32_MAX: the samples' size

  std::vector<uint8_t> Bytes() const {
    TestBytes body;
    body.Raw(form, 4);
    if (listChunk) body.Raw("LIST", 4).U32(4).Raw("INFO", 4);
    TestBytes fmt;
    fmt.U16(tag).U16(channels).U32(rate).U32(byteRate).U16(blockAlign).U16(bits);
    if (fmtSize >= 18) fmt.U16(cbSize).Raw(extension);
    // A stated size beyond 64 bytes is not backed by bytes: the file ends first.
    const size_t present = std::min<size_t>(fmtSize, 64);
    while (fmt.bytes.size() < present) fmt.U8(0xAB);
    fmt.bytes.resize(present);
    body.Raw(fmtId, 4).U32(fmtSize).Raw(fmt.bytes);
    if (present % 2) body.U8(0);
    if (listChunk) body.Raw("LIST", 4).U32(4).Raw("INFO", 4);
    body.Raw(dataId, 4).U32(dataSize == UINT32_MAX ? static_cast<uint32_t>(samples.size()) : dataSize).Raw(samples);
    TestBytes riff;
    riff.Raw("RIFF", 4).U32(static_cast<uint32_t>(body.bytes.size())).Raw(body.bytes);
    return riff.bytes;
  }
};

// The extensible form's 22 bytes after cbSize: valid bits, channel mask, and the sub-format
// {data1-0000-0010-8000-00AA00389B71}; `base` damages the GUID's fixed part when false.
std::vector<uint8_t> ExtensibleFields(uint16_t validBits, uint32_t subFormat, bool base = true) {
  TestBytes b;
  b.U16(validBits).U32(0x4).U32(subFormat);
  const uint8_t rest[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, base ? uint8_t{0x71} : uint8_t{0x72}};
  b.Raw(rest, sizeof(rest));
  return b.bytes;
}

// A mono extensible WAV of the given sub-format and container bits.
TestWav Extensible(uint32_t subFormat, uint16_t bits, uint16_t validBits) {
  TestWav w;
  w.tag = kExtensible;
  w.bits = bits;
  w.blockAlign = static_cast<uint16_t>(bits / 8);
  w.fmtSize = 40;
  w.cbSize = 22;
  w.extension = ExtensibleFields(validBits, subFormat);
  return w;
}

TestWav Float32() {
  TestWav w;
  w.tag = kIeeeFloat;
  w.bits = 32;
  w.blockAlign = 4;
  w.byteRate = 0;
  return w;
}

TEST(WavReader, ReadsEveryFormatDirectSoundPlaysWithItsFormatBoundedAndWholeFrames) {
  struct Case {
    const char* what;
    TestWav wav;
    size_t formatBytes, sampleBytes;
    uint16_t cbSize;  // as DirectSound is given it
  };
  std::vector<Case> cases;
  cases.push_back({"a 16-byte fmt chunk", TestWav(), sizeof(WAVEFORMATEX), 64, 0});
  TestWav cb;
  cb.fmtSize = 18;
  cb.cbSize = 0xFFFF;  // what a PCM format says after its structure is not believed
  cases.push_back({"an 18-byte fmt chunk claiming more", cb, sizeof(WAVEFORMATEX), 64, 0});
  TestWav longer;
  longer.fmtSize = 21;
  cases.push_back({"a longer fmt chunk", longer, 21, 64, 0});
  TestWav stereo8;
  stereo8.channels = 2;
  stereo8.bits = 8;
  stereo8.byteRate = 0;  // made to agree with the rest
  cases.push_back({"stereo 8-bit", stereo8, sizeof(WAVEFORMATEX), 64, 0});
  TestWav listed;
  listed.listChunk = true;
  cases.push_back({"other chunks around", listed, sizeof(WAVEFORMATEX), 64, 0});
  TestWav half;
  half.samples.resize(9);
  cases.push_back({"a half frame at the end", half, sizeof(WAVEFORMATEX), 8, 0});
  cases.push_back({"IEEE float in 16 bytes", Float32(), sizeof(WAVEFORMATEX), 64, 0});
  TestWav float18 = Float32();
  float18.fmtSize = 18;
  float18.cbSize = 40;  // a float format has nothing after its structure
  cases.push_back({"IEEE float claiming more", float18, sizeof(WAVEFORMATEX), 64, 0});
  TestWav floatHalf = Float32();
  floatHalf.samples.resize(63);
  cases.push_back({"IEEE float with three bytes of a frame at the end", floatHalf, sizeof(WAVEFORMATEX), 60, 0});
  cases.push_back({"extensible PCM", Extensible(1, 16, 16), 40, 64, 22});
  cases.push_back({"extensible PCM of 20 valid bits in 24", Extensible(1, 24, 20), 40, 63, 22});
  cases.push_back({"extensible PCM with no valid bits given", Extensible(1, 16, 0), 40, 64, 22});
  cases.push_back({"extensible float", Extensible(3, 32, 32), 40, 64, 22});
  TestWav extensibleLonger = Extensible(3, 32, 32);
  extensibleLonger.fmtSize = 48;
  extensibleLonger.cbSize = 30;  // what follows the 22 bytes is not handed on
  cases.push_back({"extensible float with more after it", extensibleLonger, 40, 64, 22});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<uint8_t> bytes = c.wav.Bytes();
    DS_WavData wav;
    ASSERT_TRUE(ReadWavFromMemory(bytes.data(), bytes.size(), wav));
    ASSERT_EQ(wav.format.size(), c.formatBytes);
    const WAVEFORMATEX* f = wav.Format();
    EXPECT_EQ(f->wFormatTag, c.wav.tag);
    EXPECT_EQ(f->nChannels, c.wav.channels);
    EXPECT_EQ(f->nSamplesPerSec, c.wav.rate);
    EXPECT_EQ(f->wBitsPerSample, c.wav.bits);
    EXPECT_EQ(f->nAvgBytesPerSec, c.wav.rate * c.wav.blockAlign);
    EXPECT_EQ(f->cbSize, c.cbSize);
    if (c.wav.tag == kExtensible) {
      // The sub-format and the mask as stored; no valid bits given means all of them.
      std::vector<uint8_t> fields = c.wav.extension;
      if (fields[0] == 0 && fields[1] == 0) fields[0] = static_cast<uint8_t>(c.wav.bits);
      EXPECT_EQ(std::vector<uint8_t>(wav.format.begin() + sizeof(WAVEFORMATEX), wav.format.end()), fields);
    }
    EXPECT_EQ(wav.samples, std::vector<uint8_t>(c.wav.samples.begin(), c.wav.samples.begin() + c.sampleBytes));
  }
}

TEST(WavReader, RefusesWhatCannotBePlayed) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  auto with = [](auto change) {
    TestWav wav;
    change(wav);
    return wav.Bytes();
  };
  const std::vector<Case> cases = {
      {"no bytes", {}},
      {"not RIFF", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 1}},
      {"RIFF of another form", with([](TestWav& w) { std::memcpy(w.form, "AVI ", 4); })},
      {"no fmt chunk", with([](TestWav& w) { std::memcpy(w.fmtId, "fmtx", 4); })},
      {"a fmt chunk shorter than PCM's", with([](TestWav& w) { w.fmtSize = 14; })},
      {"a fmt chunk past the end", with([](TestWav& w) { w.fmtSize = 0x7FFFFFF0; })},
      {"ADPCM", with([](TestWav& w) { w.tag = 2; w.fmtSize = 20; w.cbSize = 2; w.bits = 4; })},
      {"IEEE float of 16 bits", with([](TestWav& w) { w.tag = kIeeeFloat; })},
      {"IEEE float of 64 bits", with([](TestWav& w) { w = Float32(); w.bits = 64; w.blockAlign = 8; })},
      {"extensible in an 18-byte chunk", with([](TestWav& w) { w = Extensible(1, 16, 16); w.fmtSize = 18; })},
      {"extensible cut inside its fields", with([](TestWav& w) { w = Extensible(1, 16, 16); w.fmtSize = 39; })},
      {"extensible saying less than its fields", with([](TestWav& w) { w = Extensible(1, 16, 16); w.cbSize = 21; })},
      {"extensible ADPCM", with([](TestWav& w) { w = Extensible(2, 16, 16); })},
      {"extensible within extensible", with([](TestWav& w) { w = Extensible(kExtensible, 16, 16); })},
      {"extensible of a sub-format beyond 16 bits", with([](TestWav& w) { w = Extensible(0x10001, 16, 16); })},
      {"extensible of another GUID family",
       with([](TestWav& w) { w = Extensible(1, 16, 16); w.extension = ExtensibleFields(16, 1, false); })},
      {"extensible with more valid bits than its container", with([](TestWav& w) { w = Extensible(1, 16, 20); })},
      {"extensible float of 16 bits", with([](TestWav& w) { w = Extensible(3, 16, 16); })},
      {"extensible PCM of 12 bits", with([](TestWav& w) { w = Extensible(1, 12, 12); })},
      {"no channels", with([](TestWav& w) { w.channels = 0; })},
      {"a block that is not one frame", with([](TestWav& w) { w.blockAlign = 3; })},
      {"12-bit samples", with([](TestWav& w) { w.bits = 12; })},
      {"rate 0", with([](TestWav& w) { w.rate = 0; })},
      {"no data chunk", with([](TestWav& w) { std::memcpy(w.dataId, "dat_", 4); })},
      {"a data chunk past the end", with([](TestWav& w) { w.dataSize = 65; })},
      {"a data chunk of 4 GiB", with([](TestWav& w) { w.dataSize = 0xFFFFFFF0; })},
      {"fewer than 4 bytes of frames", with([](TestWav& w) { w.samples.resize(3); })},
      {"no frames at all", with([](TestWav& w) { w.samples.clear(); })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DS_WavData wav;
    wav.samples.assign(5, 1);  // anything read before the refusal is dropped
    EXPECT_FALSE(ReadWavFromMemory(c.bytes.empty() ? nullptr : c.bytes.data(), c.bytes.size(), wav)) << c.what;
    EXPECT_TRUE(wav.format.empty() && wav.samples.empty()) << c.what;
  }
  const std::vector<uint8_t> good = TestWav().Bytes();
  DS_WavData wav;
  EXPECT_FALSE(ReadWavFromMemory(nullptr, good.size(), wav));
}

TEST(WavReader, RefusesEveryCutShortFile) {
  const std::vector<unsigned char> tone = MakeToneWav(440, 0.01, 8000);
  DS_WavData wav;
  for (size_t size = 0; size < tone.size(); ++size) {
    // A copy of exactly `size` bytes, so that a read past it would leave the allocation.
    std::vector<unsigned char> cut(tone.begin(), tone.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_FALSE(ReadWavFromMemory(cut.data(), cut.size(), wav)) << size << " of " << tone.size();
  }
  EXPECT_TRUE(ReadWavFromMemory(tone.data(), tone.size(), wav));
}

TEST(SoundArithmetic, VolumeAndPanAreSignedAndClampedToTheirRanges) {
  struct Case {
    DWORD setting;
    LONG volume, pan;
  };
  const Case cases[] = {{100, 0, 5000},       {50, -2500, 0},       {0, -5000, -5000},
                        {101, 0, 5000},       {250, 0, 5000},       {UINT_MAX, 0, 5000},
                        {1, -4950, -4900}};
  for (const Case& c : cases) {
    EXPECT_EQ(SoundVolumeFromSetting(c.setting, false), c.volume) << c.setting;
    EXPECT_EQ(SoundPanFromSetting(c.setting), c.pan) << c.setting;
  }
  EXPECT_EQ(SoundVolumeFromSetting(100, true), DSBVOLUME_MIN);
}

std::unique_ptr<DS_WAV_Constructor> ReadSoundRecord(const std::vector<uint8_t>& bytes, size_t* left = nullptr) {
  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader reader(&buffer);
  std::unique_ptr<DS_ABObj_Constructor> object = ReadConstructorObject(reader);
  if (left) *left = buffer.Remaining();
  auto* sound = dynamic_cast<DS_WAV_Constructor*>(object.get());
  if (!sound) return nullptr;
  object.release();
  return std::unique_ptr<DS_WAV_Constructor>(sound);
}

std::vector<uint8_t> WrittenBytes(const DS_IOF_Item& item) {
  DS_IOF_ByteWriter out;
  item.Write(out);
  return out.TakeBytes();
}

TEST(SoundRecord, ReadsItsFieldsInOrderAndWritesThemBack) {
  TestSound stored;
  stored.link = u"common_res.dll";
  stored.stamp = 252;
  stored.volume = 70;
  stored.balance = 20;
  stored.randomReplay = -3;
  stored.minInterval = 2;
  stored.maxInterval = 9;
  stored.name = u"rain";
  TestBytes record;
  AppendSound(record, stored);
  size_t left = 1;
  std::unique_ptr<DS_WAV_Constructor> sound = ReadSoundRecord(record.bytes, &left);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(left, 0u);
  EXPECT_EQ(sound->wav.Key().name, u"common_res.dll");
  EXPECT_EQ(sound->wav.Key().stamp, 252);
  EXPECT_EQ(sound->volume.Get(), 70u);
  EXPECT_EQ(sound->balance.Get(), 20u);
  EXPECT_EQ(sound->randomReplay.Get(), -3);
  EXPECT_EQ(sound->minInterval.Get(), 2u);
  EXPECT_EQ(sound->maxInterval.Get(), 9u);
  EXPECT_EQ(sound->objectName, u"rain");
  EXPECT_EQ(WrittenBytes(*sound), record.bytes);

  // A new sound object: 100, 50, looping, 0 to 5 s, no link, no name.
  TestSound defaults;
  defaults.link = u"";
  defaults.stamp = 0;
  defaults.name = u"";
  TestBytes expected;
  AppendSound(expected, defaults);
  EXPECT_EQ(WrittenBytes(DS_WAV_Constructor()), expected.bytes);
}

// --- On the sound device -----------------------------------------------------------------------

DWORD Status(IDirectSoundBuffer8* buffer) {
  DWORD status = 0;
  EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
  return status & (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
}
constexpr DWORD kLooping = DSBSTATUS_PLAYING | DSBSTATUS_LOOPING;
constexpr DWORD kOnce = DSBSTATUS_PLAYING;

DS_WAV_Constructor& SoundOf(const DS_RefPtr<DS_ABObj>& object) {
  auto* sound = dynamic_cast<DS_Sound*>(object.get());
  EXPECT_NE(sound, nullptr);
  return static_cast<DS_WAV_Constructor&>(sound->Sound());
}

class SoundObjects : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_Device = new DS_WindowDevice;
    ASSERT_TRUE(s_Device->Open(64, 48, L"sound object test"));
    s_Window = MakeDeviceWindow(64, 48, L"sound window");
    s_Opened = OpenSoundDevice(s_Window);
  }
  static void TearDownTestSuite() {
    ReleaseSoundDevice();  // after every buffer: nothing releases it at exit
    delete s_Device;
    s_Device = nullptr;
    DestroyWindow(s_Window);
  }
  void SetUp() override {
    s_Device->MakeCurrent();
    ASSERT_EQ(s_Opened, SoundServerExpected()) << "the sound device opens exactly when a sound server runs";
  }
  void TearDown() override {
    m_Show.reset();
    m_Manager.reset();
    g_ViewState.ReleaseBorders();
    g_DocResManager = nullptr;
  }

  void Start(const std::vector<uint8_t>& document) {
    m_Show = LoadSceneFromBytes(document.data(), document.size());
    m_Show->StartScene(1);
  }
  // One frame of the scene at `time`.
  void Frame(float time) {
    m_Show->Update(time);
    ASSERT_EQ(s_Device->Device()->BeginScene(), D3D_OK);
    m_Show->Render();
    s_Device->Device()->EndScene();
  }
  // A parameter set over a manager of its own with nothing saved (library links only).
  DS_WAV_Constructor& Standalone(uint32_t volume, uint32_t balance, int32_t randomReplay) {
    m_Manager = std::make_unique<DS_DocResManager>();
    g_DocResManager = m_Manager.get();
    m_Set = std::make_unique<DS_WAV_Constructor>();
    m_Set->wav = DS_FileLink3(static_cast<int>(kLibraryTone), u"common_res.dll");
    m_Set->volume.Store(volume);
    m_Set->balance.Store(balance);
    m_Set->randomReplay.Store(randomReplay);
    return *m_Set;
  }

  static DS_WindowDevice* s_Device;
  static HWND s_Window;
  static bool s_Opened;
  std::unique_ptr<DS_DocResManager> m_Manager;
  std::unique_ptr<DS_WAV_Constructor> m_Set;
  std::unique_ptr<DS_SlideShow_Light> m_Show;
};
DS_WindowDevice* SoundObjects::s_Device = nullptr;
HWND SoundObjects::s_Window = nullptr;
bool SoundObjects::s_Opened = false;

TEST_F(SoundObjects, LoopsTheLibraryToneAtItsVolumeAndPan) {
  struct Case {
    uint32_t volume, balance;
    LONG expectedVolume, expectedPan;
  };
  const Case cases[] = {{100, 50, 0, 0}, {0, 0, -5000, -5000}, {50, 100, -2500, 5000}, {400, 900, 0, 5000}};
  for (const Case& c : cases) {
    std::unique_ptr<DS_ABObj> object = Standalone(c.volume, c.balance, 0).CreateObject();
    ASSERT_NE(object, nullptr);
    auto& sound = static_cast<DS_WAV_Constructor&>(static_cast<DS_Sound&>(*object).Sound());
    EXPECT_EQ(m_Set->Buffer(), nullptr) << "the live object plays through its own clone";
    if (!s_Opened) {
      // Without a device the object is made all the same and every operation is silent.
      EXPECT_EQ(sound.Buffer(), nullptr);
      EXPECT_NE(sound.PlayLooping(), DS_OK);
      object->SetActive(false);
      object->SetActive(true);
      object->Update(1.0f);
      object->Rewind();
      continue;
    }
    ASSERT_NE(sound.Buffer(), nullptr);
    LONG volume = 1, pan = 1;
    EXPECT_EQ(sound.Buffer()->GetVolume(&volume), DS_OK);
    EXPECT_EQ(sound.Buffer()->GetPan(&pan), DS_OK);
    EXPECT_EQ(volume, c.expectedVolume) << c.volume;
    EXPECT_EQ(pan, c.expectedPan) << c.balance;
    EXPECT_EQ(Status(sound.Buffer()), kLooping);
    WAVEFORMATEX format = {};
    EXPECT_EQ(sound.Buffer()->GetFormat(&format, sizeof(format), nullptr), DS_OK);
    EXPECT_EQ(format.nSamplesPerSec, 22050u);
    EXPECT_EQ(format.nChannels, 1);
    EXPECT_EQ(format.wBitsPerSample, 16);
    DSBCAPS caps = {};
    caps.dwSize = sizeof(caps);
    EXPECT_EQ(sound.Buffer()->GetCaps(&caps), DS_OK);
    EXPECT_EQ(caps.dwBufferBytes, 44100u);  // the tone's 1 s
    EXPECT_EQ(caps.dwFlags & (DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_STICKYFOCUS),
              static_cast<DWORD>(DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_STICKYFOCUS));

    // Copies share the buffer, each with a reference of its own.
    std::unique_ptr<DS_Sound_Ctrl> copy = sound.Clone();
    EXPECT_EQ(static_cast<DS_WAV_Constructor&>(*copy).Buffer(), sound.Buffer());
    object.reset();
    EXPECT_EQ(Status(static_cast<DS_WAV_Constructor&>(*copy).Buffer()), kLooping);

    // Rewind plays once from the start; switched off it stops.
    EXPECT_EQ(copy->PlayOnce(), DS_OK);
    EXPECT_EQ(Status(static_cast<DS_WAV_Constructor&>(*copy).Buffer()), kOnce);
    EXPECT_EQ(copy->Stop(), DS_OK);
    EXPECT_EQ(Status(static_cast<DS_WAV_Constructor&>(*copy).Buffer()), 0u);
  }
}

TEST_F(SoundObjects, RandomReplayPlaysOnceAtTheFirstUpdateAndThenWithinItsBounds) {
  DS_WAV_Constructor& set = Standalone(100, 50, 1);
  set.minInterval.Store(2);
  set.maxInterval.Store(5);
  std::unique_ptr<DS_ABObj> object = set.CreateObject();
  auto& sound = static_cast<DS_WAV_Constructor&>(static_cast<DS_Sound&>(*object).Sound());
  if (!s_Opened) {
    object->Update(0.5f);
    EXPECT_EQ(sound.Buffer(), nullptr);
    return;
  }
  ASSERT_NE(sound.Buffer(), nullptr);
  EXPECT_EQ(Status(sound.Buffer()), 0u) << "a random-replay sound waits for its first update";
  std::srand(11);
  float previous = 0.5f;
  object->Update(previous);
  EXPECT_EQ(Status(sound.Buffer()), kOnce);
  for (int i = 0; i < 6; ++i) {
    const float next = sound.NextReplayTime();
    EXPECT_GE(next, previous + 2.0f);
    EXPECT_LE(next, previous + 5.0f);
    sound.Stop();
    object->Update(next);  // not yet: only a time past it replays
    EXPECT_EQ(Status(sound.Buffer()), 0u);
    EXPECT_EQ(sound.NextReplayTime(), next);
    previous = next + 0.01f;
    object->Update(previous);
    EXPECT_EQ(Status(sound.Buffer()), kOnce);
  }
  // Switched off, updates play nothing.
  object->SetActive(false);
  object->Update(1000.0f);
  EXPECT_EQ(Status(sound.Buffer()), 0u);
}

// Two slides of 2 s without fades, each with a looping tone in list 1 and a random-replay sound in
// list 2 that replays every 5 s.
TEST_F(SoundObjects, SecondListSoundsFollowTheirSlideAndFirstListSoundsPlayThroughout) {
  TestSound looping;
  TestSound random;
  random.link = u"saved";
  random.stamp = 1;
  random.randomReplay = 1;
  random.minInterval = random.maxInterval = 5;
  Start(SoundDocument({looping}, {random}, {{u"saved", 1, MakeToneWav(660, 0.5, 8000)}}, 2, 2));
  const auto& slides = m_Show->Slides();
  ASSERT_EQ(slides.size(), 2u);
  ASSERT_EQ(slides[0]->Objects1().size(), 1u);
  ASSERT_EQ(slides[1]->Objects2().size(), 1u);
  IDirectSoundBuffer8* looping0 = SoundOf(slides[0]->Objects1()[0]).Buffer();
  IDirectSoundBuffer8* looping1 = SoundOf(slides[1]->Objects1()[0]).Buffer();
  IDirectSoundBuffer8* second0 = SoundOf(slides[0]->Objects2()[0]).Buffer();
  IDirectSoundBuffer8* second1 = SoundOf(slides[1]->Objects2()[0]).Buffer();
  if (!s_Opened) {
    for (float t : {0.1f, 2.5f, 4.6f}) Frame(t);
    EXPECT_TRUE(!looping0 && !looping1 && !second0 && !second1);
    return;
  }
  ASSERT_TRUE(looping0 && looping1 && second0 && second1);
  // Scene start: every looping sound of every slide plays; no random one does yet.
  EXPECT_EQ(Status(looping0), kLooping);
  EXPECT_EQ(Status(looping1), kLooping);
  EXPECT_EQ(Status(second0), 0u);

  Frame(0.1f);  // slide 0 becomes current: its list-2 sound is switched on, then replays once
  ASSERT_EQ(m_Show->CurrentSlide().get(), slides[0].get());
  EXPECT_EQ(Status(second0), kOnce);
  EXPECT_EQ(Status(second1), 0u);

  Frame(2.5f);  // past slide 0's 2 s: slide 1: slide 0's list-2 sound stops, slide 1's starts
  ASSERT_EQ(m_Show->CurrentSlide().get(), slides[1].get());
  EXPECT_EQ(Status(second0), 0u);
  EXPECT_EQ(Status(second1), kOnce);

  // Slide 0 again. Switching a list-2 sound on plays it looping from the start, random replay or
  // not: until its next replay time (5 s after its first play, 5.1) it loops, and only then plays
  // once at its intervals again.
  Frame(4.6f);
  ASSERT_EQ(m_Show->CurrentSlide().get(), slides[0].get());
  EXPECT_EQ(Status(second0), kLooping);
  EXPECT_EQ(Status(second1), 0u);
  Frame(5.2f);
  ASSERT_EQ(m_Show->CurrentSlide().get(), slides[0].get());
  EXPECT_EQ(Status(second0), kOnce);
  // The first list's sounds are never switched: they play throughout.
  EXPECT_EQ(Status(looping0), kLooping);
  EXPECT_EQ(Status(looping1), kLooping);
}

TEST_F(SoundObjects, FloatAndExtensibleWavsPlayInTheirOwnFormat) {
  const struct {
    const char16_t* name;
    ToneForm form;
    WORD tag, bits;
  } forms[] = {{u"float", ToneForm::Float32, kIeeeFloat, 32},
               {u"extensible pcm", ToneForm::ExtensiblePcm16, kExtensible, 16},
               {u"extensible float", ToneForm::ExtensibleFloat32, kExtensible, 32}};
  std::vector<TestSavedSound> saved;
  std::vector<TestSound> sounds;
  for (const auto& f : forms) {
    saved.push_back({f.name, 1, MakeToneWavIn(f.form, 440, 0.5, 8000)});
    TestSound sound;
    sound.link = f.name;
    sound.stamp = 1;
    sounds.push_back(sound);
  }
  Start(SoundDocument(sounds, {}, saved));
  const auto& objects = m_Show->Slides()[0]->Objects1();
  ASSERT_EQ(objects.size(), std::size(forms));
  for (size_t i = 0; i < objects.size(); ++i) {
    const std::u16string name(forms[i].name);
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    IDirectSoundBuffer8* buffer = SoundOf(objects[i]).Buffer();
    if (!s_Opened) {
      EXPECT_EQ(buffer, nullptr);
      continue;
    }
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(Status(buffer), kLooping);
    alignas(WAVEFORMATEX) uint8_t format[64] = {};
    DWORD written = 0;
    ASSERT_EQ(buffer->GetFormat(reinterpret_cast<WAVEFORMATEX*>(format), sizeof(format), &written), DS_OK);
    const auto* f = reinterpret_cast<const WAVEFORMATEX*>(format);
    EXPECT_EQ(f->wFormatTag, forms[i].tag);
    EXPECT_EQ(f->wBitsPerSample, forms[i].bits);
    EXPECT_EQ(f->nSamplesPerSec, 22050u);
    DSBCAPS caps = {};
    caps.dwSize = sizeof(caps);
    EXPECT_EQ(buffer->GetCaps(&caps), DS_OK);
    EXPECT_EQ(caps.dwBufferBytes, 11025u * forms[i].bits / 8);  // the tone's 0.5 s
  }
  for (float t : {0.1f, 0.5f}) Frame(t);
}

TEST_F(SoundObjects, UnplayableWavDataLeavesItsObjectSilentAndTheSceneGoesOn) {
  TestWav adpcm;  // compressed: DirectSound does not play it
  adpcm.tag = 2;
  adpcm.fmtSize = 20;
  adpcm.cbSize = 2;
  adpcm.bits = 4;
  const std::vector<unsigned char> tone = MakeToneWav(440, 0.2, 8000);
  const std::vector<uint8_t> truncated(tone.begin(), tone.begin() + 300);
  std::vector<TestSavedSound> saved = {{u"empty", 1, {}},
                                       {u"truncated", 1, truncated},
                                       {u"png", 1, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}},
                                       {u"adpcm", 1, adpcm.Bytes()}};
  std::vector<TestSound> sounds;
  for (const auto& s : saved) {
    TestSound sound;
    sound.link = s.name;
    sound.stamp = s.stamp;
    sounds.push_back(sound);
  }
  TestSound notCarried;  // neither in the document nor a library: the empty entry
  notCarried.link = u"C:\\sounds\\missing.wav";
  TestSound notInLibrary;  // the library has no such resource, nor has the program
  notInLibrary.stamp = 269;
  sounds.push_back(notCarried);
  sounds.push_back(notInLibrary);
  sounds.push_back(TestSound());  // and one that plays
  Start(SoundDocument(sounds, {}, saved));
  const auto& objects = m_Show->Slides()[0]->Objects1();
  ASSERT_EQ(objects.size(), sounds.size());
  for (size_t i = 0; i + 1 < objects.size(); ++i) EXPECT_EQ(SoundOf(objects[i]).Buffer(), nullptr) << i;
  IDirectSoundBuffer8* good = SoundOf(objects.back()).Buffer();
  EXPECT_EQ(good != nullptr, s_Opened);
  for (float t : {0.1f, 0.5f, 1.0f}) Frame(t);
  for (const auto& object : objects) object->Rewind();
  if (good) {
    EXPECT_EQ(Status(good), kOnce);
  }

  // The scene was drawn: its picture fills the back buffer.
  DS_PixelReadback pixels;
  ASSERT_TRUE(pixels.ReadBackBuffer(s_Device->Device()));
  EXPECT_NE(pixels.At(32, 24), 0u);
}

// The default scene's sounds belong to their slides: each is in its slide's second list, replays
// at random intervals, and names a library sound that reads as 16-bit PCM.
TEST_F(SoundObjects, TheDefaultSceneHasItsSoundsOnItsSlides) {
  const char* path = std::getenv("VQ_DEFAULT_SCENE");
  ASSERT_NE(path, nullptr) << "VQ_DEFAULT_SCENE names the written default scene (a Windows path)";
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file) << path;
  Start(std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()));
  size_t slidesWithSound = 0;
  for (const auto& slide : m_Show->Slides()) {
    for (const auto& object : slide->Objects1()) EXPECT_EQ(dynamic_cast<DS_Sound*>(object.get()), nullptr);
    bool hasSound = false;
    for (const auto& object : slide->Objects2()) {
      if (!dynamic_cast<DS_Sound*>(object.get())) continue;
      hasSound = true;
      DS_WAV_Constructor& sound = SoundOf(object);
      EXPECT_NE(sound.randomReplay.Get(), 0);
      EXPECT_LE(sound.minInterval.Get(), sound.maxInterval.Get());
      EXPECT_LE(sound.volume.Get(), 100u);
      EXPECT_LE(sound.balance.Get(), 100u);
      EXPECT_EQ(sound.wav.Key().name, u"common_res.dll");
      EXPECT_GE(sound.wav.Key().stamp, 250);
      EXPECT_LE(sound.wav.Key().stamp, 269);
      const DS_ResourceEntry& entry = g_DocResManager->GetRawEntry(sound.wav);
      DS_WavData wav;
      ASSERT_TRUE(ReadWavFromMemory(entry.Data(), entry.Size(), wav)) << sound.wav.Key().stamp;
      EXPECT_EQ(wav.Format()->wBitsPerSample, 16);
      EXPECT_EQ(wav.format.size(), sizeof(WAVEFORMATEX));  // the 18-byte form, read exactly
      EXPECT_EQ(sound.Buffer() != nullptr, s_Opened);
    }
    slidesWithSound += hasSound ? 1 : 0;
  }
  EXPECT_GE(slidesWithSound, 5u);
  for (float t : {0.1f, 1.0f}) Frame(t);
}

}  // namespace
