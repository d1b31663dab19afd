// The scene viewer end to end: documents written here are shown by the real viewer program
// under Wine, and the frames it writes are checked: the picture with its border in the bars, the
// default picture, the camera's zoom and glide against its trace, frames that repeat exactly
// from run to run and across a device reset, the border picture in the bars of every slide of a
// scene, and documents the viewer must refuse, each for its own reason.
#include <d3dx9.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tools/device/window_device.h"
#include "tests/support/test_bytes.h"
#include "tests/support/viewer_frames.h"

namespace {

std::wstring g_Viewer;     // the viewer program, as a Windows path
std::wstring g_Documents;  // the content tool's scene documents, as a Windows folder path
constexpr int kWidth = 320, kHeight = 240;
constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGrey = 0x808080;

class SceneViewer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_Device = new DS_WindowDevice;
    ASSERT_TRUE(s_Device->Open(64, 64, L"viewer test"));
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    s_Dir = std::wstring(temp) + L"vq-scene-viewer-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(s_Dir.c_str(), nullptr);
  }
  static void TearDownTestSuite() {
    delete s_Device;
    s_Device = nullptr;
  }

  static std::vector<uint8_t> Png(std::uint32_t (*fill)(int, int), int w, int h) {
    DS_ComHolder<IDirect3DTexture9> texture = MakeTexture(s_Device->Device(), w, h, fill);
    DS_ComHolder<ID3DXBuffer> file;
    EXPECT_EQ(D3DXSaveTextureToFileInMemory(file.Receive(), D3DXIFF_PNG, texture.Get(), nullptr), D3D_OK);
    const auto* p = static_cast<const uint8_t*>(file->GetBufferPointer());
    return std::vector<uint8_t>(p, p + file->GetBufferSize());
  }

  // A version 3 layer on the embedded picture "halves.png" (64 x 32, red left, blue right) with
  // the embedded grey "border.png", and its resource manager.
  static TestBytes LayerDoc(int32_t cameraMode, uint32_t zoom) {
    TestBytes doc;
    doc.Str(u"DS_2D_Light").U32(3).Key(u"halves.png", 1);
    doc.Str(u"DSM_Camera").U32(2).I32(cameraMode).U32(zoom).U32(50).Key(u"border.png", 2);
    const auto halves = Png([](int x, int) { return 0xFF000000u | (x < 32 ? kRed : kBlue); }, 64, 32);
    const auto border = Png([](int, int) { return 0xFF000000u | kGrey; }, 8, 8);
    doc.Str(u"DS_DocResManager").U32(3);
    doc.U32(2);
    doc.Key(u"halves.png", 1).U32(1).Entry(0, u"", halves, u"halves.png");
    doc.Key(u"border.png", 2).U32(1).Entry(0, u"", border, u"border.png");
    doc.U32(0).U32(0).U32(0);  // frame times, saved resources, masks
    return doc;
  }

  static std::wstring Write(const std::wstring& name, const std::vector<uint8_t>& bytes) {
    const std::wstring path = s_Dir + L"\\" + name;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return path;
  }

  // Runs the viewer; its exit code. What it writes to its error output lands in `errors`.
  static DWORD Run(const std::wstring& arguments, std::string* errors = nullptr) {
    std::wstring line = L"\"" + g_Viewer + L"\" " + arguments;
    const std::wstring errorPath = s_Dir + L"\\viewer-errors.txt";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE errorFile = CreateFileW(errorPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0,
                                   nullptr);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = errorFile;
    PROCESS_INFORMATION pi = {};
    const BOOL started =
        CreateProcessW(g_Viewer.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(errorFile);
    if (!started) return 0xFFFFFFFF;
    WaitForSingleObject(pi.hProcess, 120000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (errors) {
      const std::vector<char> text = FileBytes(errorPath);
      errors->assign(text.begin(), text.end());
    }
    return code;
  }
  static std::wstring Out(const std::wstring& name) { return s_Dir + L"\\" + name; }
  static std::wstring Common(const std::wstring& doc, const std::wstring& out) {
    return L"--doc \"" + doc + L"\" --out \"" + out + L"\" --size 320x240";
  }

  static DS_PixelReadback Frame(const std::wstring& dir, const wchar_t* name) {
    DS_PixelReadback pixels;
    const std::wstring path = dir + L"\\" + name;
    DS_ComHolder<IDirect3DSurface9> surface;
    IDirect3DDevice9* d = s_Device->Device();
    EXPECT_EQ(d->CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM,
                                             surface.Receive(), nullptr),
              D3D_OK);
    EXPECT_EQ(D3DXLoadSurfaceFromFileW(surface.Get(), nullptr, nullptr, path.c_str(), nullptr, D3DX_FILTER_NONE, 0,
                                       nullptr),
              D3D_OK)
        << "no frame " << std::string(path.begin(), path.end());
    // Through a render target, which the read-back helper expects.
    DS_ComHolder<IDirect3DSurface9> target;
    d->CreateRenderTarget(kWidth, kHeight, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, FALSE, target.Receive(), nullptr);
    d->UpdateSurface(surface.Get(), nullptr, target.Get(), nullptr);
    EXPECT_TRUE(pixels.Read(d, target.Get()));
    return pixels;
  }
  static std::vector<char> FileBytes(const std::wstring& path) {
    std::ifstream in(std::string(path.begin(), path.end()), std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

  // The first column of the row, from the left, that is more blue than red (filtering blends
  // the picture's edge over a texel).
  static int BlueFrom(const DS_PixelReadback& pixels, int row) {
    for (int x = 0; x < pixels.Width(); ++x)
      if ((pixels.At(x, row) & 0xFF) > ((pixels.At(x, row) >> 16) & 0xFF)) return x;
    return pixels.Width();
  }

  static DS_WindowDevice* s_Device;
  static std::wstring s_Dir;
};
DS_WindowDevice* SceneViewer::s_Device = nullptr;
std::wstring SceneViewer::s_Dir;

TEST_F(SceneViewer, ShowsTheLayersPictureWithTheBorderInTheBars) {
  const std::wstring doc = Write(L"picture.dds", LayerDoc(0, 120).bytes);
  ASSERT_EQ(Run(Common(doc, Out(L"picture")) + L" --times 0,1"), 0u);
  for (const wchar_t* name : {L"frame-000000.png", L"frame-001000.png"}) {
    const DS_PixelReadback pixels = Frame(Out(L"picture"), name);
    EXPECT_TRUE(SameColour(pixels.At(80, 120), kRed));
    EXPECT_TRUE(SameColour(pixels.At(240, 120), kBlue));
    EXPECT_TRUE(SameColour(pixels.At(160, 10), kGrey));
    EXPECT_TRUE(SameColour(pixels.At(160, 230), kGrey));
  }
  EXPECT_FALSE(Exists(Out(L"picture\\frame-000500.png")));  // only the frames asked for
}

TEST_F(SceneViewer, ALayerOfVersionOneShowsTheDefaultPicture) {
  TestBytes doc;
  doc.Str(u"DS_2D_Light").U32(1);
  ASSERT_EQ(Run(Common(Write(L"default.dds", doc.bytes), Out(L"default"))), 0u);
  const DS_PixelReadback pixels = Frame(Out(L"default"), L"frame-000000.png");
  // The meadow of common_res.dll at 16:9: sky above, green ground below, dark border bars.
  const std::uint32_t sky = pixels.At(160, 40), ground = pixels.At(160, 190), bar = pixels.At(160, 5);
  EXPECT_NE(sky, ground);
  EXPECT_GT((ground >> 8) & 0xFF, ground & 0xFF) << std::hex << ground;  // more green than blue
  EXPECT_LT((bar >> 16) & 0xFF, 70u) << std::hex << bar;
  EXPECT_LT(bar & 0xFF, 70u);
}

// The trace file: time, clock, zoom, pan x, pan y per written frame.
std::map<int, std::vector<float>> ReadTrace(const std::wstring& path) {
  std::map<int, std::vector<float>> lines;
  FILE* f = _wfopen(path.c_str(), L"r");
  if (!f) return lines;
  float t, d, z, x, y;
  while (fscanf(f, "%f %f %f %f %f", &t, &d, &z, &x, &y) == 5) lines[static_cast<int>(t * 1000 + 0.5f)] = {d, z, x, y};
  fclose(f);
  return lines;
}

TEST_F(SceneViewer, TheWanderingCameraZoomsAndGlidesAsItsTraceSays) {
  const std::wstring doc = Write(L"camera.dds", LayerDoc(1, 200).bytes);
  ASSERT_EQ(Run(Common(doc, Out(L"camera")) + L" --position 0 --pan --trace --times 0,2,4,6"), 0u);
  const auto trace = ReadTrace(Out(L"camera\\camera.txt"));
  ASSERT_EQ(trace.size(), 4u);
  const wchar_t* names[] = {L"frame-000000.png", L"frame-002000.png", L"frame-004000.png", L"frame-006000.png"};
  int k = 0;
  float largestPan = 0.0f;
  for (const auto& line : trace) {
    const float t = static_cast<float>(line.first) / 1000.0f;
    const std::vector<float>& v = line.second;
    SCOPED_TRACE(t);
    EXPECT_NEAR(v[0], t, 0.01f);      // the clock follows the time at speed 50
    EXPECT_FLOAT_EQ(v[1], 2.0f);      // zoom 200 %
    EXPECT_LE(std::fabs(v[2]), 1.0f);
    EXPECT_LE(std::fabs(v[3]), 1.0f);
    // Twice the size, the red-blue edge of the picture lies where the pan point puts it.
    const DS_PixelReadback pixels = Frame(Out(L"camera"), names[k++]);
    const float expected = kWidth * (1.0f - v[2]) / 2.0f;
    EXPECT_NEAR(static_cast<float>(BlueFrom(pixels, 120)), expected, 1.5f);
    largestPan = std::max(largestPan, std::fabs(v[2]));
  }
  EXPECT_FLOAT_EQ(trace.begin()->second[2], 0.0f);  // the first segment starts at the centre
  EXPECT_GT(largestPan, 0.05f);  // and the picture has moved since

  // Without the wander, the same camera shows the picture as it is.
  ASSERT_EQ(Run(Common(doc, Out(L"camera-still")) + L" --position 0 --times 4"), 0u);
  const DS_PixelReadback still = Frame(Out(L"camera-still"), L"frame-004000.png");
  EXPECT_NEAR(BlueFrom(still, 120), 160, 2);
  EXPECT_TRUE(SameColour(still.At(10, 120), kRed));
}

TEST_F(SceneViewer, FramesRepeatExactlyFromRunToRunAndAcrossADeviceReset) {
  const std::wstring doc = Write(L"repeat.dds", LayerDoc(1, 150).bytes);
  const std::wstring args = L" --pan --times 1.5,3";
  ASSERT_EQ(Run(Common(doc, Out(L"run1")) + args), 0u);
  ASSERT_EQ(Run(Common(doc, Out(L"run2")) + args), 0u);
  ASSERT_EQ(Run(Common(doc, Out(L"reset")) + args + L" --reset-before 2"), 0u);
  for (const wchar_t* name : {L"\\frame-001500.png", L"\\frame-003000.png"}) {
    const std::vector<char> first = FileBytes(Out(L"run1") + name);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, FileBytes(Out(L"run2") + name));
    EXPECT_EQ(first, FileBytes(Out(L"reset") + name));
  }
  EXPECT_NE(FileBytes(Out(L"run1\\frame-001500.png")), FileBytes(Out(L"run1\\frame-003000.png")));
}

TEST_F(SceneViewer, RefusesDocumentsItCannotShowAndSaysWhy) {
  const std::vector<uint8_t> good = LayerDoc(0, 120).bytes;
  TestBytes otherClass;
  otherClass.Str(u"ds_2d_light").U32(3).Key(u"halves.png", 1);
  TestBytes trailing = LayerDoc(0, 120);
  trailing.U32(12345);
  // Scene documents: a slide show header after the version tag, then something wrong.
  const std::vector<uint8_t> scene = MakeDocument({TestSlide()});
  TestSlide unknownLayer;
  unknownLayer.layerClass = u"ds_2d_light";
  TestSlide unknownObject;
  unknownObject.list1 = {u"a"};
  unknownObject.objectClass = u"VQTest_NoSuchKind";
  const std::string unplayable = "the scene document cannot be played (0x8200000B): ";
  const struct {
    const wchar_t* name;
    std::vector<uint8_t> bytes;
    std::string reason;
  } cases[] = {
      {L"empty.dds", {}, "the document is empty"},
      {L"cut-in-layer.dds", std::vector<uint8_t>(good.begin(), good.begin() + 30), "the document is cut short"},
      {L"cut-in-manager.dds", std::vector<uint8_t>(good.begin(), good.end() - 20), "the document is cut short"},
      {L"other-class.dds", otherClass.bytes,
       "begins with \"ds_2d_light\", which is neither a scene document nor a registered layer class"},
      {L"scene-cut.dds", std::vector<uint8_t>(scene.begin(), scene.begin() + scene.size() / 2),
       unplayable + "the document is cut short"},
      {L"scene-unknown-layer.dds", MakeDocument({unknownLayer}),
       unplayable + "a slide names a layer class that is not registered"},
      {L"scene-unknown-object.dds", MakeDocument({unknownObject}),
       unplayable + "a slide names an object class that is not registered"},
      {L"scene-no-slide.dds", MakeDocument({}), unplayable + "the document holds no slide"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
    const std::wstring out = Out(std::wstring(L"refused-") + c.name);
    std::string errors;
    EXPECT_EQ(Run(Common(Write(c.name, c.bytes), out), &errors), 2u);
    EXPECT_NE(errors.find(c.reason), std::string::npos) << errors;
    EXPECT_FALSE(Exists(out + L"\\frame-000000.png"));
  }
  std::string errors;
  EXPECT_EQ(Run(Common(Out(L"no-such.dds"), Out(L"refused-missing")), &errors), 2u);
  EXPECT_NE(errors.find("cannot read"), std::string::npos) << errors;
  EXPECT_EQ(Run(L"--size 10x10 --doc x --out y", &errors), 2u);
  EXPECT_NE(errors.find("bad or incomplete option --size"), std::string::npos) << errors;
  // As the document loader does, the viewer ignores what follows the last record.
  EXPECT_EQ(Run(Common(Write(L"trailing.dds", trailing.bytes), Out(L"trailing"))), 0u);
}

TEST_F(SceneViewer, ASceneDocumentPlaysWhateverItsRootObjectIsNamed) {
  // The loader reads past the root's class name: a scene whose root is named otherwise, or not
  // at all, is played as the scene it is, frame for frame as under the usual name.
  TestSlide slide;
  slide.fadeIn = slide.fadeOut = 0;
  const std::wstring usual = Out(L"root-usual");
  ASSERT_EQ(Run(Common(Write(L"root-usual.dds", MakeDocument({slide})), usual) + L" --times 1"), 0u);
  const std::vector<char> expected = FileBytes(usual + L"\\frame-001000.png");
  ASSERT_FALSE(expected.empty());
  const DS_PixelReadback pixels = Frame(usual, L"frame-001000.png");
  EXPECT_FALSE(SameColour(pixels.At(kWidth / 2, kHeight / 2), 0x000000)) << "the slide's picture is shown";
  for (const char16_t* root : {u"Diaporama", u"DS_SlideShow", u""}) {
    const std::u16string name(root);
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    const std::wstring out = Out(L"root-" + std::wstring(name.begin(), name.end()));
    const std::vector<uint8_t> doc = MakeDocument({slide}, {}, u"QXJ v 4.0.0", name);
    std::string errors;
    ASSERT_EQ(Run(Common(Write(L"root-other.dds", doc), out) + L" --times 1", &errors), 0u) << errors;
    EXPECT_EQ(FileBytes(out + L"\\frame-001000.png"), expected);
  }
}

TEST_F(SceneViewer, TheBorderPictureFillsTheBarsOnEverySlide) {
  // Two wide slides (64 x 32, red then blue) in Fit with a green border picture: the bars above
  // and below the picture show the border on the first slide and still after the switch.
  if (g_Documents.empty()) GTEST_SKIP() << "no scene documents given";
  constexpr std::uint32_t kGreen = 0x20C040;
  const std::wstring out = Out(L"border");
  ASSERT_EQ(Run(Common(g_Documents + L"\\border-fit.dds", out) + L" --position 1 --times 1,5"), 0u);
  const struct {
    const wchar_t* frame;
    std::uint32_t picture;
  } slides[] = {{L"frame-001000.png", 0xC03020}, {L"frame-005000.png", 0x2040C0}};
  for (const auto& slide : slides) {
    SCOPED_TRACE(std::string(slide.frame, slide.frame + wcslen(slide.frame)));
    const DS_PixelReadback pixels = Frame(out, slide.frame);
    EXPECT_TRUE(SameColour(pixels.At(kWidth / 2, kHeight / 2), slide.picture)) << std::hex << pixels.At(160, 120);
    EXPECT_TRUE(SameColour(pixels.At(kWidth / 2, 10), kGreen)) << std::hex << pixels.At(160, 10);
    EXPECT_TRUE(SameColour(pixels.At(kWidth / 2, kHeight - 10), kGreen)) << std::hex << pixels.At(160, 230);
  }
}

TEST_F(SceneViewer, PlaysAWholeSceneDocumentThroughItsFades) {
  // Two plain slides (red, then blue), each fading in over 1 s, shown 2 s, fading out over 1 s;
  // the first frame is at the end of slide 0's fade-in.
  if (g_Documents.empty()) GTEST_SKIP() << "no scene documents given";
  constexpr std::uint32_t kFirst = 0xC03020, kSecond = 0x2040C0;
  const std::wstring out = Out(L"show");
  ASSERT_EQ(Run(Common(g_Documents + L"\\two-slides.dds", out) + L" --times 1,2.5,3,5,7.5,9"), 0u);
  const auto centre = [&](const wchar_t* name) { return Frame(out, name).At(kWidth / 2, kHeight / 2); };
  EXPECT_TRUE(SameColour(centre(L"frame-001000.png"), kFirst));
  const std::uint32_t darker = centre(L"frame-002500.png");
  EXPECT_TRUE(SameColour(darker, 0x60180F, 16)) << std::hex << darker;
  EXPECT_TRUE(SameColour(centre(L"frame-003000.png"), 0x000000));
  EXPECT_TRUE(SameColour(centre(L"frame-005000.png"), kSecond));
  // Back to the first slide, fading in again, then shown.
  const std::uint32_t returning = centre(L"frame-007500.png");
  const std::uint32_t red = returning >> 16 & 0xFF, blue = returning & 0xFF;
  EXPECT_TRUE(red > 0x20 && red < 0xA0 && red > blue) << std::hex << returning;
  EXPECT_TRUE(SameColour(centre(L"frame-009000.png"), kFirst));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    fprintf(stderr, "usage: vq_scene_viewer_tests <scene-viewer.exe> [folder of scene documents]\n");
    return 2;
  }
  g_Viewer = WindowsPath(argv[1]);
  if (argc > 2) g_Documents = WindowsPath(argv[2]);
  return RUN_ALL_TESTS();
}
