// The shader-drawn discharge on a device (windowed HAL under Wine) with the library's effect 97
// and bolt pictures: a bolt in its colour with the glow around it between its end points and
// nothing far from the line; the glow target through device loss and reset, alone and in a show
// as the current slide and as the slide that becomes current later; what it draws without its
// effect, its glow target or its glow picture; and the scene viewer's frames at fixed times.
#include <d3dx9.h>
#include <gtest/gtest.h>
#include <process.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "scene/ds_slide_container.h"
#include "scene/ds_slide_show.h"
#include "scene/scene_document.h"
#include "objects/discharge_fx/ds_discharge_fx_constructor.h"
#include "objects/base_glow/ds_glowing_obj.h"
#include "tests/support/layer_fixture.h"

namespace {

std::string g_DocumentDir;  // the documents written from fixtures/
std::wstring g_Viewer;      // the scene viewer

constexpr uint32_t kGrey = 0x202020;

int Red(uint32_t c) { return (c >> 16) & 0xFF; }
int Green(uint32_t c) { return (c >> 8) & 0xFF; }
int Blue(uint32_t c) { return c & 0xFF; }

// What a frame of a red bolt with a sky-blue glow from (60, 120) to (260, 120) on dark grey
// shows, the picture shown 1:1 on 320 x 240.
struct Look {
  int bolt = 0;     // red pixels: the bolt in its vertex colour
  int glow = 0;     // blue-tinted pixels: the glow over the picture
  int stray = 0;    // pixels drawn far from the line
  int darker = 0;   // pixels darker than the picture
  int bandsHit = 0; // 20-pixel column bands between the end points with the bolt or its glow
};

template <class Pixels>
Look Examine(const Pixels& frame) {
  Look look;
  for (int band = 70; band < 250; band += 20) {
    bool hit = false;
    for (int x = band; x < band + 20 && !hit; ++x)
      for (int y = 90; y < 150 && !hit; ++y) hit = !SameColour(frame.At(x, y), kGrey, 24);
    look.bandsHit += hit ? 1 : 0;
  }
  for (int y = 0; y < LayerFixture::kHeight; ++y) {
    for (int x = 0; x < LayerFixture::kWidth; ++x) {
      const uint32_t p = frame.At(x, y);
      if (SameColour(p, kGrey, 24)) continue;
      if (x < 30 || x >= 290 || y < 60 || y >= 180) ++look.stray;
      if (Red(p) > Green(p) + 60 && Red(p) > Blue(p) + 60) ++look.bolt;
      if (Blue(p) > Red(p) + 40) ++look.glow;
      if (Red(p) < 0x18 && Green(p) < 0x18 && Blue(p) < 0x18) ++look.darker;
    }
  }
  return look;
}

void ExpectBoltWithGlow(const Look& look, const char* when) {
  EXPECT_GT(look.bolt, 100) << when;
  EXPECT_GT(look.glow, 200) << when;
  EXPECT_EQ(look.bandsHit, 9) << when << ": the chain is not whole between its ends";
  EXPECT_EQ(look.stray, 0) << when;
}

DS_ResourceKey Library(int id) { return DS_ResourceKey{u"common_res.dll", id}; }

class GlowOnDevice : public LayerFixture {
 protected:
  void SetUp() override {
    LayerFixture::SetUp();
    // A dark grey picture of 320 x 240 pixels (one texel stretched), shown 1:1.
    StorePicture(*m_Manager, DS_ResourceKey{u"grey.png", 1}, MakeSolidTexture(Device(), 0xFF000000u | kGrey), 320,
                 240);
    m_Layer = std::make_unique<DS_2D_Light>();
    m_Layer->SetPictureLink(DS_ResourceKey{u"grey.png", 1});
    m_Layer->CreateDeviceObjects();
    m_Layer->OnDeviceReset();
    m_Layer->Layout(kWidth, kHeight);
    m_Layer->SetPicturePosition(kPicturePositionStretch);
  }
  void TearDown() override {
    m_Show.reset();
    m_Layer.reset();
    LayerFixture::TearDown();
  }

  // The discharge of the look above; `adjust` changes the set before the object is made.
  std::unique_ptr<DS_GlowingObj> MakeDischarge(const std::function<void(DS_DischargeFXConstructor&)>& adjust = {}) {
    DS_DischargeFXConstructor set;
    set.startPoint.Set(DS_Vector3{60, 120, 0});
    set.endPoint.Set(DS_Vector3{260, 120, 0});
    set.jitter.Set(20);
    set.count.Set(6);
    set.baseSize.Set(40);
    set.colour.Set(0x0000FF);  // red
    set.overlayImage.StoreKey(Library(203));
    if (adjust) adjust(set);
    std::unique_ptr<DS_ABObj> made = set.CreateObject();
    auto* glow = dynamic_cast<DS_GlowingObj*>(made.get());
    EXPECT_NE(glow, nullptr);
    if (!glow) return nullptr;
    made.release();
    return std::unique_ptr<DS_GlowingObj>(glow);
  }

  // One scene drawn by `render`, read back.
  DS_PixelReadback Drawn(const std::function<void()>& render) {
    EXPECT_EQ(Device()->BeginScene(), D3D_OK);
    render();
    EXPECT_EQ(Device()->EndScene(), D3D_OK);
    DS_PixelReadback pixels;
    EXPECT_TRUE(pixels.ReadBackBuffer(Device()));
    return pixels;
  }
  // The test's layer with one object, as a slide draws them.
  DS_PixelReadback Draw(DS_ABObj& object, float time) {
    m_Layer->Update(time);
    object.Update(time);
    DS_ABObj* objects[1] = {&object};
    return Drawn([&] {
      m_Layer->RenderScene(objects, 1);
      m_Layer->PostRender();
    });
  }

  void LoseAndReset(DS_GlowingObj& object) {
    object.OnDeviceLost();
    m_Layer->OnDeviceLost();
    m_Manager->OnDeviceLost();
    EXPECT_FALSE(object.GlowTarget().current);
    ASSERT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
    m_Manager->OnDeviceReset();
    m_Layer->OnDeviceReset();
    object.OnDeviceReset();
  }

  std::unique_ptr<DS_2D_Light> m_Layer;
  std::unique_ptr<DS_SlideShow_Light> m_Show;
};

TEST_F(GlowOnDevice, ABoltWithItsGlowBetweenItsEndPoints) {
  for (int32_t blend : {1, 0}) {  // "Blend_Screen", then "Blend_Normal"
    SCOPED_TRACE(blend);
    auto discharge = MakeDischarge([&](DS_DischargeFXConstructor& set) { set.blendMode.Set(blend); });
    ASSERT_NE(discharge, nullptr);
    ASSERT_TRUE(discharge->GlowControl().effect);
    ASSERT_TRUE(discharge->GlowTarget().current);
    EXPECT_TRUE(discharge->NeedsSceneTexture());
    for (float t : {0.1f, 0.5f, 1.0f}) {
      const Look look = Examine(Draw(*discharge, t));
      ExpectBoltWithGlow(look, "frame");
      if (blend == 1) {
        EXPECT_EQ(look.darker, 0) << "the screen blend never darkens the picture";
      }
    }
  }
}

TEST_F(GlowOnDevice, TheGlowTargetFollowsDeviceLossAndReset) {
  auto discharge = MakeDischarge();
  ASSERT_NE(discharge, nullptr);
  ExpectBoltWithGlow(Examine(Draw(*discharge, 0.2f)), "before the loss");
  for (int round = 0; round < 2; ++round) {
    LoseAndReset(*discharge);
    ASSERT_TRUE(discharge->GlowTarget().current);
    ExpectBoltWithGlow(Examine(Draw(*discharge, 0.4f + 0.2f * static_cast<float>(round))), "after the reset");
  }
}

// The texture choice names the bolt picture (replacing the first picture link); a set made by hand
// (not yet placed) runs from 100 pixels inside the view's top left to 100 inside its bottom right.
TEST_F(GlowOnDevice, TheDeviceObjectsNameTheBoltAndPlaceANewDischarge) {
  const struct {
    int32_t choice;
    int64_t picture;
  } choices[] = {{1, 95}, {7, 95}, {0, 98}};
  for (const auto& c : choices) {
    auto discharge = MakeDischarge([&](DS_DischargeFXConstructor& set) {
      set.textureChoice.Set(c.choice);
      set.image.StoreKey(Library(211));
    });
    ASSERT_NE(discharge, nullptr);
    const DS_DischargeFXConstructor& set = static_cast<const DS_DischargeFXConstructor&>(discharge->GlowControl());
    EXPECT_EQ(set.image.Key().stamp, c.picture) << c.choice;
    EXPECT_EQ(set.image.Key().name, u"common_res.dll");
    EXPECT_TRUE(set.particleTexture);
    EXPECT_TRUE(set.glowTexture);
    EXPECT_EQ(set.startPoint.Get(), (DS_Vector3{60, 120, 0}));  // a placed set keeps its points
  }
  auto placed = MakeDischarge([](DS_DischargeFXConstructor& set) {
    set.placed = false;
    set.view.right = 0.75f;  // 240 of the picture's 320 pixels
  });
  ASSERT_NE(placed, nullptr);
  const DS_DischargeFXConstructor& set = static_cast<const DS_DischargeFXConstructor&>(placed->GlowControl());
  EXPECT_TRUE(set.placed);
  EXPECT_EQ(set.startPoint.Get(), (DS_Vector3{100, 100, 0}));
  EXPECT_EQ(set.endPoint.Get(), (DS_Vector3{140, 140, 0}));
}

// Without what a pass needs, the object leaves that pass out and the picture stays whole.
TEST_F(GlowOnDevice, MissingPartsLeaveTheirPassOut) {
  // No effect (an id the library does not hold): nothing is drawn and the layer keeps drawing
  // straight to the back buffer.
  auto noEffect = MakeDischarge([](DS_DischargeFXConstructor& set) { set.effectLink.StoreKey(Library(96)); });
  ASSERT_NE(noEffect, nullptr);
  EXPECT_FALSE(noEffect->GlowControl().effect);
  EXPECT_FALSE(noEffect->NeedsSceneTexture());
  for (float t : {0.1f, 0.3f}) {
    const DS_PixelReadback frame = Draw(*noEffect, t);
    int drawn = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) drawn += SameColour(frame.At(x, y), kGrey, 4) ? 0 : 1;
    EXPECT_EQ(drawn, 0);
  }
  // No glow picture (a library id that is missing) and no glow target (short of video memory, or
  // between a loss and the re-creation): the bolt without a glow over the unchanged picture.
  auto noGlowPicture =
      MakeDischarge([](DS_DischargeFXConstructor& set) { set.overlayImage.StoreKey(Library(209)); });
  auto noTarget = MakeDischarge();
  ASSERT_NE(noGlowPicture, nullptr);
  ASSERT_NE(noTarget, nullptr);
  EXPECT_FALSE(noGlowPicture->GlowControl().glowTexture);
  noTarget->OnDeviceLost();
  for (DS_GlowingObj* object : {noGlowPicture.get(), noTarget.get()}) {
    const Look look = Examine(Draw(*object, 0.2f));
    EXPECT_GT(look.bolt, 100);
    EXPECT_EQ(look.glow, 0);
    EXPECT_EQ(look.stray, 0);
    EXPECT_EQ(look.darker, 0);
  }
}

// The show: two slides with a discharge each (screen blend, then normal blend), 2 s each with
// 1 s fades (the first shown from 0 to 2 s, the second from 4.5 to 6.5 s, the first again from
// 9 s), through losses while the first is current, while the second is current, and after both
// as the first comes round again.
TEST_F(GlowOnDevice, ADischargeInAShowComesThroughLossesAsCurrentAndAsTheNextSlide) {
  std::ifstream file(g_DocumentDir + "/glow-show.dds", std::ios::binary);
  ASSERT_TRUE(file) << g_DocumentDir;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  m_Layer.reset();  // the show's layers are the only ones on the device
  m_Show = LoadSceneFromBytes(bytes.data(), bytes.size());
  ASSERT_NE(m_Show, nullptr);
  m_Show->StartScene(kPicturePositionStretch);
  ASSERT_EQ(m_Show->Slides().size(), 2u);
  const auto frame = [&](float t) {
    m_Show->Update(t);
    return Examine(Drawn([&] { m_Show->Render(); }));
  };
  const auto loseAndReset = [&] {
    m_Show->OnDeviceLost();
    ASSERT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
    m_Show->OnDeviceReset();
  };
  ExpectBoltWithGlow(frame(0.0f), "first slide");
  loseAndReset();
  ExpectBoltWithGlow(frame(0.5f), "first slide after a loss");
  frame(3.5f);  // the second slide becomes current
  ExpectBoltWithGlow(frame(5.0f), "second slide");
  loseAndReset();
  ExpectBoltWithGlow(frame(5.5f), "second slide after a loss");
  loseAndReset();
  frame(8.0f);  // the first slide becomes current after the losses
  ExpectBoltWithGlow(frame(9.5f), "first slide again");
}

// The scene viewer's frames with a fixed seed: at both times the bolt and its glow lie between the
// end points and nothing lies far from the line; the bolt moves between the frames.
TEST_F(GlowOnDevice, TheViewerShowsTheDischargeAtFixedTimes) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring out = std::wstring(temp) + L"vq-glow-frames-" + std::to_wstring(GetCurrentProcessId());
  const std::wstring doc = L"\"Z:" + std::wstring(g_DocumentDir.begin(), g_DocumentDir.end()) + L"/glow-viewer.dds\"";
  const std::wstring outArg = L"\"" + out + L"\"";
  const intptr_t code = _wspawnl(_P_WAIT, g_Viewer.c_str(), L"scene-viewer", L"--doc", doc.c_str(), L"--out",
                                 outArg.c_str(), L"--size", L"320x240", L"--position", L"0", L"--seed", L"7",
                                 L"--times", L"1.0,1.5", nullptr);
  ASSERT_EQ(code, 0) << "the viewer failed";
  std::vector<DS_PixelReadback> frames(2);
  const wchar_t* names[] = {L"\\frame-001000.png", L"\\frame-001500.png"};
  for (int i = 0; i < 2; ++i) {
    DS_ComHolder<IDirect3DTexture9> picture;
    ASSERT_EQ(D3DXCreateTextureFromFileExW(Device(), (out + names[i]).c_str(), kWidth, kHeight, 1, 0,
                                           D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, D3DX_FILTER_NONE, D3DX_FILTER_NONE,
                                           0, nullptr, nullptr, picture.Receive()),
              D3D_OK);
    ASSERT_TRUE(frames[i].ReadTexture(Device(), picture.Get()));
    ExpectBoltWithGlow(Examine(frames[i]), "viewer frame");
  }
  int differing = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) differing += SameColour(frames[0].At(x, y), frames[1].At(x, y), 8) ? 0 : 1;
  EXPECT_GT(differing, 50) << "the bolt did not move";
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) g_DocumentDir = argv[1];
  if (argc > 2) {
    const std::string viewer = argv[2];
    g_Viewer.assign(viewer.begin(), viewer.end());
  }
  return RUN_ALL_TESTS();
}
