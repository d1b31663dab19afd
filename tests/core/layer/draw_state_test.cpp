// Every kind of draw of the layer sets the whole pipeline state it relies on. Each draw runs once
// on the reset defaults and once after the render, texture-stage and sampler states of stages 0
// and 1 were set to odd values (culling, fill mode, lighting, fog, depth, stencil, alpha test,
// blending, colour writes, scissor, clip plane, stage operations, coordinate sets and transforms,
// addressing, filters, mip levels, sRGB); both leave the same pixels on the back buffer.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/layer/draw_inputs.h"
#include "core/layer/ds_2d_light.h"
#include "core/layer/layer_drawing.h"
#include "core/layer/pulse_clock.h"
#include "core/render/device_globals.h"
#include "core/render/device_utils.h"
#include "core/render/mesh_ops.h"
#include "core/render/quads.h"
#include "core/render/view_state.h"
#include "brushes/fire_fx/ds_fire_fx.h"
#include "brushes/underwater_fx/ds_underwater_fx.h"
#include "core/resources/doc_res_manager.h"
#include "layers/flame/ds_heat_distortion.h"
#include "layers/glass_ball/ds_glass_ball_light.h"
#include "layers/lake/fake_lake_2d.h"
#include "layers/water_ring/ds_water_ring_light.h"
#include "tests/support/stored_picture.h"
#include "tools/device/window_device.h"
#include "core/effects/checked_effect.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;
constexpr D3DCOLOR kClearColour = 0xFF606060;

DWORD FloatBits(float value) {
  DWORD bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// A managed texture of two levels: level 0 from fill(x, y), level 1 solid green, so that a
// sampler reading the smaller level shows.
template <class Fill>
DS_ComHolder<IDirect3DTexture9> MakeMippedTexture(IDirect3DDevice9* device, int w, int h, Fill fill) {
  DS_ComHolder<IDirect3DTexture9> t;
  if (FAILED(device->CreateTexture(w, h, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, t.Receive(), nullptr))) return t;
  for (UINT level = 0; level < 2; ++level) {
    D3DLOCKED_RECT r;
    if (FAILED(t->LockRect(level, &r, nullptr, 0))) continue;
    const int lw = level ? w / 2 : w, lh = level ? h / 2 : h;
    for (int y = 0; y < lh; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(r.pBits) + y * r.Pitch);
      for (int x = 0; x < lw; ++x) row[x] = level ? 0xFF00FF00u : fill(x, y);
    }
    t->UnlockRect(level);
  }
  return t;
}

// An indexed triangle list of the vertices and indices (write-only, managed buffers).
template <class V>
void FillIndexed(DS_IndexedMesh<V>& mesh, const std::vector<V>& vertices, const std::vector<std::uint16_t>& indices) {
  CreateVertexBufferOf<V>(static_cast<int>(vertices.size()), mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED);
  if (V* out = static_cast<V*>(LockVertexBuffer(mesh))) std::copy(vertices.begin(), vertices.end(), out);
  UnlockVertexBuffer(mesh);
  CreateIndexBuffer(static_cast<UINT>(indices.size() * sizeof(std::uint16_t)), mesh);
  LockIndexBuffer(mesh);
  if (std::uint16_t* out = mesh.LockedIndices()) std::copy(indices.begin(), indices.end(), out);
  UnlockIndexBuffer(mesh);
  mesh.primitiveType = D3DPT_TRIANGLELIST;
  mesh.primitiveCount = static_cast<int>(indices.size() / 3);
  mesh.triangleCount = mesh.primitiveCount;
}

// Two squares side by side in picture pixels, the left one wound clockwise on screen (kept by
// counter-clockwise culling), the right one the other way, so that every cull mode shows.
const std::vector<std::uint16_t> kTwoWindings = {0, 1, 2, 2, 1, 3, 4, 6, 5, 6, 7, 5};
const float kSquares[2][4] = {{6, 6, 26, 26}, {38, 6, 58, 26}};  // left, top, right, bottom

template <class V, class Make>
std::vector<V> SquareVertices(Make make) {
  std::vector<V> v;
  for (const auto& s : kSquares) {
    v.push_back(make(s[0], s[3], 0.0f, 1.0f, 0));  // left-bottom
    v.push_back(make(s[0], s[1], 0.0f, 0.0f, 1));  // left-top
    v.push_back(make(s[2], s[3], 1.0f, 1.0f, 2));  // right-bottom
    v.push_back(make(s[2], s[1], 1.0f, 0.0f, 3));  // right-top
  }
  return v;
}

// Corner colours of the coloured geometry: distinct colours and alphas, so that flat shading
// and every alpha operation show.
const std::uint32_t kCornerColours[4] = {0xFFFF2020, 0x8020FF20, 0xC02020FF, 0x40FFFF20};

template <class V>
void SetCornerColours(DS_SimpleMesh<V>& quad) {
  if (V* vertices = static_cast<V*>(LockVertexBuffer(quad)))
    for (int corner = 0; corner < 4; ++corner) vertices[corner].colour = kCornerColours[corner];
  UnlockVertexBuffer(quad);
}

// The odd device state a draw must not depend on. Two sets: each kills drawing in its own ways
// (culling either winding, wireframe or point fill) and leaves other oddities behind.
struct Scramble {
  const char* name;
  D3DCULL cull;
  D3DFILLMODE fill;
  D3DTEXTUREADDRESS address;
  D3DBLENDOP blendOp;
};
const Scramble kScrambles[] = {
    {"cull CW, wireframe, border addressing, reverse subtract", D3DCULL_CW, D3DFILL_WIREFRAME, D3DTADDRESS_BORDER,
     D3DBLENDOP_REVSUBTRACT},
    {"cull CCW, points, clamped addressing, max", D3DCULL_CCW, D3DFILL_POINT, D3DTADDRESS_CLAMP, D3DBLENDOP_MAX},
};

void ScrambleStates(IDirect3DDevice9* d, const Scramble& s, IDirect3DTexture9* stray) {
  // Input and vertex processing: lit with no light, fogged, flat, texture coordinates wrapped,
  // transformed and read from the other set.
  d->SetRenderState(D3DRS_LIGHTING, TRUE);
  d->SetRenderState(D3DRS_AMBIENT, 0xFF102030);
  d->SetRenderState(D3DRS_FOGENABLE, TRUE);
  d->SetRenderState(D3DRS_FOGCOLOR, 0xFF00FFFF);
  d->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_EXP);
  d->SetRenderState(D3DRS_FOGDENSITY, FloatBits(100.0f));
  d->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_FLAT);
  d->SetRenderState(D3DRS_WRAP0, D3DWRAPCOORD_0 | D3DWRAPCOORD_1);
  D3DXMATRIX texture;
  D3DXMatrixScaling(&texture, 3.0f, 2.0f, 1.0f);
  d->SetTransform(D3DTS_TEXTURE0, &texture);
  d->SetTransform(D3DTS_TEXTURE1, &texture);
  // Rasteriser: culling, fill, a small scissor rectangle, a clip plane that removes everything,
  // small scaled points.
  d->SetRenderState(D3DRS_CULLMODE, s.cull);
  d->SetRenderState(D3DRS_FILLMODE, s.fill);
  const RECT scissor = {0, 0, 24, 24};
  d->SetScissorRect(&scissor);
  d->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
  const float plane[4] = {0.0f, 0.0f, 0.0f, -1.0f};
  d->SetClipPlane(0, plane);
  d->SetRenderState(D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE0);
  d->SetRenderState(D3DRS_POINTSPRITEENABLE, FALSE);
  d->SetRenderState(D3DRS_POINTSCALEENABLE, TRUE);
  d->SetRenderState(D3DRS_POINTSIZE, FloatBits(3.0f));
  d->SetRenderState(D3DRS_POINTSIZE_MAX, FloatBits(4.0f));
  // Texture stages: stage 0 adds the factor to the inverted texture into the temporary register
  // from the other coordinate set, stage 1 modulates a stray texture; specular added.
  d->SetRenderState(D3DRS_TEXTUREFACTOR, 0x40206080);
  d->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
  d->SetTexture(0, stray);
  d->SetTexture(1, stray);
  d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADDSIGNED);
  d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
  d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TEXTURE | D3DTA_COMPLEMENT);
  d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TFACTOR);
  d->SetTextureStageState(0, D3DTSS_RESULTARG, D3DTA_TEMP);
  d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 1);
  d->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
  d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
  d->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
  d->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  d->SetTextureStageState(1, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(1, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
  d->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 0);
  d->SetTextureStageState(1, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
  // Samplers: odd addressing, point filtering of the second level, sRGB reads.
  for (DWORD sampler = 0; sampler < 2; ++sampler) {
    d->SetSamplerState(sampler, D3DSAMP_ADDRESSU, s.address);
    d->SetSamplerState(sampler, D3DSAMP_ADDRESSV, s.address);
    d->SetSamplerState(sampler, D3DSAMP_BORDERCOLOR, 0xFFFF00FF);
    d->SetSamplerState(sampler, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    d->SetSamplerState(sampler, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    d->SetSamplerState(sampler, D3DSAMP_MIPFILTER, D3DTEXF_POINT);
    d->SetSamplerState(sampler, D3DSAMP_MAXMIPLEVEL, 1);
    d->SetSamplerState(sampler, D3DSAMP_MIPMAPLODBIAS, FloatBits(1.0f));
    d->SetSamplerState(sampler, D3DSAMP_SRGBTEXTURE, TRUE);
  }
  // Output merger: depth and stencil tests that never pass, an alpha test nothing passes, odd
  // blending of colour and alpha, red and alpha writes only, sRGB writes.
  d->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  d->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  d->SetRenderState(D3DRS_ZFUNC, D3DCMP_NEVER);
  d->SetRenderState(D3DRS_STENCILENABLE, TRUE);
  d->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_NEVER);
  d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
  d->SetRenderState(D3DRS_ALPHAREF, 255);
  d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
  d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_INVDESTCOLOR);
  d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_SRCCOLOR);
  d->SetRenderState(D3DRS_BLENDOP, s.blendOp);
  d->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, TRUE);
  d->SetRenderState(D3DRS_SRCBLENDALPHA, D3DBLEND_ZERO);
  d->SetRenderState(D3DRS_DESTBLENDALPHA, D3DBLEND_ONE);
  d->SetRenderState(D3DRS_COLORWRITEENABLE, D3DCOLORWRITEENABLE_RED | D3DCOLORWRITEENABLE_ALPHA);
  d->SetRenderState(D3DRS_SRGBWRITEENABLE, TRUE);
}

std::vector<std::uint8_t> ReadFileBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The compiled layer-blend effect of the resource library ("Common": texture x vertex colour,
// fixed function; "Blend_Normal": a pixel shader over two textures).
DS_ComHolder<ID3DXEffect> LoadLayerBlendEffect(IDirect3DDevice9* device) {
  DS_ComHolder<ID3DXEffect> effect;
  const std::vector<std::uint8_t> bytes = ReadFileBytes(VQ_EFFECT_DIR "/97.fxo");
  if (!bytes.empty()) fxasm::CreateCheckedEffect(device, bytes.data(), bytes.size(), effect.Receive());
  return effect;
}

// The compiled library effect `id` in the manager's raw entries, where the layer kinds' links
// find it.
void StoreLibraryEffect(DS_DocResManager& manager, int id) {
  const std::vector<std::uint8_t> bytes = ReadFileBytes((std::string(VQ_EFFECT_DIR) + "/" + std::to_string(id) + ".fxo").c_str());
  const DS_ResourceKey key{u"common_res.dll", id};
  DS_ResourceEntry entry = LibraryEntryOf(key);
  entry.SetData(static_cast<uint32_t>(bytes.size()), bytes.data());
  manager.Store().rawEntries[key].assign(1, entry);
}

// A V8U8 bump map of 64 x 64 whose du and dv vary across it, so that the bump filter and
// addressing show.
DS_ComHolder<IDirect3DTexture9> MakeBumpMap(IDirect3DDevice9* device) {
  DS_ComHolder<IDirect3DTexture9> bump;
  if (FAILED(device->CreateTexture(64, 64, 1, 0, D3DFMT_V8U8, D3DPOOL_MANAGED, bump.Receive(), nullptr))) return bump;
  D3DLOCKED_RECT r;
  if (FAILED(bump->LockRect(0, &r, nullptr, 0))) return bump;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      auto* texel = static_cast<std::int8_t*>(r.pBits) + y * r.Pitch + 2 * x;
      texel[0] = static_cast<std::int8_t>((x * 37 + y * 11) % 200 - 100);
      texel[1] = static_cast<std::int8_t>((x * 13 + y * 29) % 200 - 100);
    }
  bump->UnlockRect(0);
  return bump;
}

// The base layer with a scene texture of the test's choosing, as a target render leaves one.
class SceneLayer : public DS_2D_Light {
 public:
  void SetScene(const Texture& scene) { m_SceneTexture = scene; }
};

// The kinds whose passes have states of their own.
struct KindPasses {
  DS_FireFX fire;
  DS_HeatDistortion distortion;
  DS_UnderwaterFX underwater;
  FakeLake2D lake;
  DS_WaterRingLight water;
  DS_GlassBallLight ball;
};

class DrawStates : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Device.Open(kWidth, kHeight, L"draw state test"));
    g_ViewState.mode = kPicturePositionFit;
    g_ViewState.SetCamera(1.0f, 0.0f, 0.0f);
    SetPulseClock([] { return 0.7f; });
    IDirect3DDevice9* d = Device();
    // Textures with alpha that varies across them, so that filtering, addressing and every
    // alpha operation show; the pattern is drawn smaller than it is, so that a mip filter shows.
    m_Pattern = MakeMippedTexture(d, 256, 256, [](int x, int y) {
      return (static_cast<std::uint32_t>(64 + 12 * (x / 16)) << 24) | (x < 128 ? 0xFF8000u : 0x0080FFu) |
             (y < 128 ? 0x00u : 0x60u);
    });
    m_Overlay = MakeMippedTexture(d, 16, 16, [](int x, int y) { return ((x + y) % 2 ? 0xC0FFFFFFu : 0x80202020u); });
    m_Stray = MakeSolidTexture(d, 0xFF20C020);
    ASSERT_TRUE(m_Pattern && m_Overlay && m_Stray);
    // The layer on a 64 x 32 picture of four quadrants with a grey border image, as a slide has it.
    m_Manager = std::make_unique<DS_DocResManager>();
    g_DocResManager = m_Manager.get();
    const auto quadrants = [](int x, int y) {
      static const std::uint32_t kQuadrants[4] = {0xFFFF0000, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF};
      return kQuadrants[(x < 32 ? 0 : 1) + (y < 16 ? 0 : 2)];
    };
    StorePicture(*m_Manager, DS_ResourceKey{u"quadrants.png", 1}, MakeMippedTexture(d, 64, 32, quadrants), 64, 32);
    StorePicture(*m_Manager, DS_ResourceKey{u"border.png", 2}, MakeSolidTexture(d, 0xFF808080), 8, 8);
    m_Layer = std::make_unique<SceneLayer>();
    m_Layer->SetPictureLink(DS_ResourceKey{u"quadrants.png", 1});
    m_Layer->Camera().borderImage.SetKey(DS_ResourceKey{u"border.png", 2});
    m_Layer->CreateDeviceObjects();
    m_Layer->OnDeviceReset();
    m_Layer->Layout(kWidth, kHeight);
    m_Effect = LoadLayerBlendEffect(d);
    ASSERT_TRUE(m_Effect) << "effect 97 from " << VQ_EFFECT_DIR;
    MakeGeometry();
    MakeKindPasses();
    m_Layer->Layout(kWidth, kHeight);  // the view state as the base layer's cases have it
    // The reset defaults with blending off, as a device has them after the layer's reset.
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    ASSERT_EQ(d->CreateStateBlock(D3DSBT_ALL, m_Defaults.Receive()), D3D_OK);
  }

  void TearDown() override {
    SetPulseClock(nullptr);
    g_ViewState.ReleaseBorders();
    m_Kinds.reset();
    m_Layer.reset();
    m_Manager.reset();
    g_DocResManager = nullptr;
  }

  // The passes of the layer and brush kinds that draw with states of their own, each on the
  // test's pictures, effects and a bump map.
  void MakeKindPasses() {
    IDirect3DDevice9* d = Device();
    m_Kinds = std::make_unique<KindPasses>();
    DS_FireFX& fire = m_Kinds->fire;
    DS_HeatDistortion& distortion = m_Kinds->distortion;
    DS_UnderwaterFX& underwater = m_Kinds->underwater;
    FakeLake2D& lake = m_Kinds->lake;
    DS_WaterRingLight& water = m_Kinds->water;
    DS_GlassBallLight& ball = m_Kinds->ball;
    const DS_ResourceKey quadrants{u"quadrants.png", 1};
    for (int id : {DS_FireFX::kEffectId, DS_HeatDistortion::kEffectId, DS_UnderwaterFX::kEffectId})
      StoreLibraryEffect(*m_Manager, id);
    // The fire over a part of the picture, asking for the scene, which it draws first.
    StorePicture(*m_Manager, fire.patternLink.Key(), m_Overlay, 16, 16);
    StorePicture(*m_Manager, fire.noiseLink.Key(), m_Pattern, 256, 256);
    const DS_Vector3 corners[4] = {{8, 4, 0}, {8, 28, 0}, {56, 4, 0}, {56, 28, 0}};
    for (int i = 0; i < 4; ++i) fire.corners.corners[i].Store(corners[i]);
    fire.techniqueFlag.Set(1);
    fire.LoadEffect(m_Overlay.Get());
    m_Layer->SetScene(m_Pattern);
    // The heat distortion with the overlay as its bump, strong enough that it shows.
    StorePicture(*m_Manager, distortion.bumpLink.Key(), m_Overlay, 16, 16);
    distortion.strength.Set(2000);
    distortion.CreateDeviceObjects();
    distortion.SetSize(64, 32);
    distortion.Update(0.5f);
    underwater.LoadEffect(nullptr);
    underwater.Advance(0.5f);
    // The lake on the quadrants with a bump map of the document's.
    m_Manager->Store().maskTextures[lake.maskKey] = DS_MaskTexture{MakeBumpMap(d), {}};
    lake.SetPictureLink(quadrants);
    lake.CreateDeviceObjects();
    lake.OnDeviceReset();
    lake.Layout(kWidth, kHeight);
    lake.Update(0.5f);
    // The water with rings from its first drop.
    water.SetPictureLink(quadrants);
    water.CreateDeviceObjects();
    water.OnDeviceReset();
    water.Layout(kWidth, kHeight);
    for (int frame = 0; frame < 8; ++frame) water.Update(0.1f * static_cast<float>(frame));
    // The glass ball with both highlights and its stand.
    StorePicture(*m_Manager, ball.overlayA.Key(), m_Overlay, 16, 16);
    StorePicture(*m_Manager, ball.overlayB.Key(), m_Pattern, 256, 256);
    StorePicture(*m_Manager, ball.stand.Key(), m_Overlay, 16, 16);
    ball.SetPictureLink(quadrants);
    ball.standOn.Set(1);
    ball.CreateDeviceObjects();
    ball.OnDeviceReset();
    ball.Layout(kWidth, kHeight);
    ball.Update(0.5f);
  }

  void MakeGeometry() {
    // Object bounds in picture pixels and a fade overlay over part of the screen, each corner
    // its own colour and alpha.
    DS_ScreenQuad bounds;
    bounds.SetRectangle(10.0f, 6.0f, 40.0f, 20.0f);
    MakeColouredQuadPC(m_Bounds, 0, bounds);
    DS_ScreenQuad screen;
    screen.SetRectangle(40.0f, 30.0f, 200.0f, 150.0f);
    MakeColouredQuadTPC(m_Fade, 0, screen);
    SetCornerColours(m_Bounds);
    SetCornerColours(m_Fade);
    // A textured quad in area units for the pulsing draw, moved into the picture by its parent.
    SetQuadTexCoordsPT(m_Pulsing);
    SetQuadSizePT(m_Pulsing, 90.0f, 60.0f);
    m_Pulsing.texture = m_Pattern;
    D3DXMatrixTranslation(&m_PulsingParent, 8.0f, 4.0f, 0.0f);
    // The two squares as an effect mesh (PT), particle geometry (PCT) and a 3D-object part (PNT).
    FillIndexed(m_EffectMesh, SquareVertices<DX_V::PT>([](float x, float y, float u, float v, int) {
                  return DX_V::PT{x, y, 0.0f, u, v};
                }),
                kTwoWindings);
    FillIndexed(m_Particles, SquareVertices<DX_V::PCT>([](float x, float y, float u, float v, int corner) {
                  return DX_V::PCT{x, y, 0.0f, kCornerColours[corner], u, v};
                }),
                kTwoWindings);
    const auto pnt = SquareVertices<DX_V::PNT>(
        [](float x, float y, float u, float v, int) { return DX_V::PNT{x, y, 0.0f, 0.0f, 0.0f, -1.0f, u, v}; });
    FillIndexed(m_Part, pnt, kTwoWindings);
    m_Part.texture = m_Pattern;
    FillIndexed(m_Tree, pnt, kTwoWindings);
    m_Tree.texture = m_Overlay;
    // The effect's picture quad, and the frames the part and the tree's elements are drawn at.
    SetQuadTexCoordsPT(m_EffectQuad);
    SetQuadSizePT(m_EffectQuad, 30.0f, 20.0f);
    D3DXMatrixTranslation(&m_EffectQuad.world, 20.0f, 8.0f, 0.0f);
    D3DXMatrixTranslation(&m_Elements[1].world, 3.0f, 2.0f, 0.0f);
    m_Tree.children = {&m_Elements[0], &m_Elements[1]};
    m_PartFrames[0] = &m_Elements[0];
  }

  // The technique of the layer-blend effect with its textures for one draw.
  ID3DXEffect* Technique(const char* name) {
    m_Effect->SetTechnique(name);
    m_Effect->SetTexture("Texture1", m_Pattern.Get());
    m_Effect->SetTexture("Texture2", m_Overlay.Get());
    const float blendColour[4] = {0.2f, 0.9f, 0.4f, 0.7f};
    m_Effect->SetFloatArray("BlendColor", blendColour, 4);
    return m_Effect.Get();
  }

  DS_Object3DPartView PartView(DWORD flags) {
    m_Part.flags = flags;
    DS_Object3DPartView view;
    view.mesh = &m_Part;
    view.frames = m_PartFrames;
    view.frameCount = 1;
    return view;
  }

  DS_SpriteArrayView Sprites(bool overlay, int blendMode) {
    DS_SpriteArrayView view;
    view.geometry = &m_Particles;
    view.frameTextures = &m_Pattern;
    view.frameTextureCount = 1;
    view.overlay = overlay ? m_Overlay.Get() : nullptr;
    view.blendMode = blendMode;
    return view;
  }

  // One draw on a cleared back buffer, from the reset defaults or after scrambling them.
  DS_PixelReadback Render(const std::function<void()>& draw, const Scramble* scramble) {
    IDirect3DDevice9* d = Device();
    DS_PixelReadback pixels;
    EXPECT_EQ(m_Defaults->Apply(), D3D_OK);
    if (d->BeginScene() != D3D_OK) {
      ADD_FAILURE() << "BeginScene";
      return pixels;
    }
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, kClearColour, 1.0f, 0);
    if (scramble) ScrambleStates(d, *scramble, m_Stray.Get());
    draw();
    d->EndScene();
    EXPECT_TRUE(pixels.ReadBackBuffer(d));
    return pixels;
  }

  IDirect3DDevice9* Device() const { return m_Device.Device(); }

  DS_WindowDevice m_Device;  // first made, last gone
  DS_ComHolder<IDirect3DTexture9> m_Pattern, m_Overlay, m_Stray;
  std::unique_ptr<DS_DocResManager> m_Manager;
  std::unique_ptr<SceneLayer> m_Layer;
  DS_ComHolder<ID3DXEffect> m_Effect;
  DS_ComHolder<IDirect3DStateBlock9> m_Defaults;
  DS_SimpleMesh<DX_V::PC> m_Bounds;
  DS_SimpleMesh<DX_V::TPC> m_Fade;
  DS_TexturedQuad m_Pulsing, m_EffectQuad;
  D3DXMATRIX m_PulsingParent;
  DS_IndexedMesh<DX_V::PT> m_EffectMesh;
  DS_IndexedMesh<DX_V::PCT> m_Particles;
  DS_SpriteArrayT<DX_V::PNT> m_Part, m_Tree;
  DS_Frame m_Elements[2];
  const DS_Frame* m_PartFrames[1] = {};
  std::unique_ptr<KindPasses> m_Kinds;  // gone before the layer and the manager
};

TEST_F(DrawStates, EveryDrawLeavesTheSamePixelsWhateverStateTheDeviceWasLeftIn) {
  DS_2D_Light& layer = *m_Layer;
  KindPasses& kinds = *m_Kinds;
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  const struct {
    const char* name;
    std::function<void()> draw;
  } cases[] = {
      {"background", [&] { layer.RenderBackground(false); }},
      {"borders", [&] { layer.PostRender(); }},
      {"fade overlay", [&] { layer.DrawColouredQuad(m_Fade); }},
      {"object bounds",
       [&] {
         g_ViewState.SetWorld(m_Bounds.world);
         DrawColouredQuadPC(m_Bounds);
       }},
      {"markers of a placed object", [&] { layer.DrawMarkers(m_Bounds, 0, false); }},
      {"markers of a highlighted static object", [&] { layer.DrawMarkers(m_Bounds, 1, true); }},
      {"pulsing quad", [&] { layer.DrawPulsing(m_Pulsing, &m_PulsingParent, true); }},
      {"steady quad", [&] { layer.DrawPulsing(m_Pulsing, &m_PulsingParent, false); }},
      {"opaque 3D part", [&] { layer.DrawObject3D(PartView(0)); }},
      {"translucent 3D part", [&] { layer.DrawObject3D(PartView(1)); }},
      {"sprites, normal blend", [&] { layer.DrawSpriteArray(Sprites(false, 0)); }},
      {"sprites, additive", [&] { layer.DrawSpriteArray(Sprites(false, 2)); }},
      {"sprites with an additive overlay", [&] { layer.DrawSpriteArray(Sprites(true, 1)); }},
      {"frame tree", [&] { layer.DrawFrameTree(m_Tree); }},
      {"indexed PT mesh through an effect",
       [&] {
         g_ViewState.SetWorld(identity);  // this draw leaves the transforms to the effect
         layer.DrawIndexedPT(m_EffectMesh, Technique("Common"));
       }},
      {"PT quad through an effect's pixel shader", [&] { layer.DrawMeshPT(m_EffectQuad, Technique("Blend_Normal")); }},
      {"indexed PCT mesh through an effect", [&] { layer.DrawIndexedPCT(m_Particles, Technique("Common")); }},
      // The kinds' own passes, each on the view state its layer lays out.
      {"fire brush: the scene texture, then the grid", [&] { kinds.fire.Render(layer); }},
      {"heat distortion", [&] { kinds.distortion.Draw(layer, m_Pattern.Get()); }},
      {"underwater effect", [&] { kinds.underwater.Render(layer); }},
      {"lake: picture, bump-mapped reflection, tint and strip",
       [&] {
         kinds.lake.Layout(kWidth, kHeight);
         kinds.lake.RenderBackground(false);
       }},
      {"water ring: the lit water",
       [&] {
         kinds.water.Layout(kWidth, kHeight);
         kinds.water.DrawWater(m_Pattern.Get());
       }},
      {"glass ball: backdrop, lens, highlights, rim mask and stand",
       [&] {
         kinds.ball.Layout(kWidth, kHeight);
         kinds.ball.PostRender();
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const DS_PixelReadback clean = Render(c.draw, nullptr);
    ASSERT_EQ(clean.Width(), kWidth);
    // The draw shows on the defaults: a case that draws nothing would prove nothing.
    int drawn = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) drawn += SameColour(clean.At(x, y), kClearColour & 0xFFFFFFu) ? 0 : 1;
    EXPECT_GT(drawn, 200);
    for (const Scramble& s : kScrambles) {
      SCOPED_TRACE(s.name);
      const DS_PixelReadback scrambled = Render(c.draw, &s);
      ASSERT_EQ(scrambled.Width(), kWidth);
      int differing = 0;
      std::string first;
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
          if (SameColour(clean.At(x, y), scrambled.At(x, y))) continue;
          if (differing++ == 0) {
            char text[96];
            std::snprintf(text, sizeof text, "first at (%d, %d): %06X on the defaults, %06X after scrambling", x, y,
                          static_cast<unsigned>(clean.At(x, y)), static_cast<unsigned>(scrambled.At(x, y)));
            first = text;
          }
        }
      }
      EXPECT_EQ(differing, 0) << first;
    }
  }
}

}  // namespace
