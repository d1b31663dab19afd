#include "core/layer/layer_registry.h"
#include "layers/glass_ball/ds_glass_ball_light.h"

#include <cmath>

#include "core/data/class_registry.h"
#include "core/data/file_links.h"
#include "core/render/device_globals.h"
#include "core/render/draw_states.h"
#include "core/render/image_set_frames.h"
#include "core/render/layout_maths.h"
#include "core/render/mesh_ops.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"

DS_REGISTER_LAYER(DS_GlassBallLight);

namespace {

constexpr float kQuarterPi = 0.785398163f;
const float kBallBumpMatrix[4] = {0.2f, 0.0f, 0.0f, 0.25f};

const DX_V::PT2 kBallVertices[4] = {{-256.0f, -256.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f},
                                    {-256.0f, 256.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
                                    {256.0f, -256.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f},
                                    {256.0f, 256.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f}};
const DX_V::PT2 kStandVertices[4] = {{-230.4f, -185.61412f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f},
                                     {-230.4f, -372.19293f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
                                     {232.9f, -185.61412f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f},
                                     {232.9f, -372.19293f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f}};

DS_ComHolder<IDirect3DTexture9> FirstTextureOfLink(const DS_ImageFileLink& link) {
  DS_ComHolder<IDirect3DTexture9> texture;
  if (g_DocResManager) texture = FirstTextureOf(g_DocResManager->GetImageSet(link));
  return texture;
}

// A size that a division may use: 1 for 0 or anything not finite.
float Divisor(float value) { return std::isfinite(value) && value != 0.0f ? value : 1.0f; }

// The quad's texture as it is; `mipChain`: through the levels of its mip chain.
void DrawTexturedQuadTPCT(const DS_TexturedQuad& quad, bool mipChain = false) {
  if (!CanDraw(quad)) return;
  if (mipChain)
    SetMipmappedPictureStates();
  else
    SetPictureStates();
  BindQuadTPCT(quad);
  DrawBoundPrimitives(quad);
}

}  // namespace

DS_GlassBallLight::DS_GlassBallLight() {
  D3DXMatrixIdentity(&m_TextureMatrix);
}

DS_GlassBallLight::~DS_GlassBallLight() = default;

// Device objects ------------------------------------------------------------------------------------

void DS_GlassBallLight::CreateDeviceObjects() {
  DS_2D_Light::CreateDeviceObjects();
  // A link whose picture has no frame leaves its texture empty; the draw then shows nothing.
  m_OverlayA = FirstTextureOfLink(overlayA);
  m_OverlayB = FirstTextureOfLink(overlayB);
  m_Stand = FirstTextureOfLink(stand);
  MakeBumpTexture();
  MakeGradientTexture();
  MakeRimMask();
  DS_ScreenQuad screen;
  screen.SetBackBuffer();
  m_Backdrop.SetFromScreenQuad(m_Gradient, screen);
  for (DS_TexturedQuad& quad : m_Scroll) quad.ResetFromScreenQuad(screen);
  if (!MakeStrip(m_Ball, kBallVertices)) return;
  for (DS_SimpleMesh<DX_V::TPC>& bar : m_Bars) MakeColouredQuadTPC(bar, 0xFF000000, screen);
  if (!MakeStrip(m_StandStrip, kStandVertices)) return;
  UseGradientBackdrop();
  ChooseBackdrop();
  LoadBallPicture();
}

bool DS_GlassBallLight::MakeStrip(DS_SimpleMesh<DX_V::PT2>& strip, const DX_V::PT2 (&vertices)[4]) {
  if (!CreateVertexBufferOf<DX_V::PT2>(4, strip, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED)) return false;
  strip.primitiveType = D3DPT_TRIANGLESTRIP;
  strip.primitiveCount = 2;
  if (auto* v = static_cast<DX_V::PT2*>(LockVertexBuffer(strip)))
    for (int i = 0; i < 4; ++i) v[i] = vertices[i];
  UnlockVertexBuffer(strip);
  return true;
}

HRESULT DS_GlassBallLight::MakeBumpTexture() {
  m_Bump.Reset();
  if (!g_Device || FAILED(g_Device->CreateTexture(kGlassBumpSize, kGlassBumpSize, 1, 0, D3DFMT_V16U16,
                                                  D3DPOOL_MANAGED, m_Bump.Receive(), nullptr)) || !m_Bump) {
    m_Bump.Reset();
    return E_FAIL;
  }
  D3DLOCKED_RECT r;
  if (FAILED(m_Bump->LockRect(0, &r, nullptr, 0))) return E_FAIL;
  for (int y = 0; y < kGlassBumpSize; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(r.pBits) + y * r.Pitch);
    for (int x = 0; x < kGlassBumpSize; ++x) row[x] = GlassBumpTexel(x, y);
  }
  m_Bump->UnlockRect(0);
  return S_OK;
}

HRESULT DS_GlassBallLight::MakeRimMask() {
  m_RimMask.Reset();
  if (!g_Device || FAILED(g_Device->CreateTexture(kRimMaskSize, kRimMaskSize, 1, 0, D3DFMT_A8, D3DPOOL_MANAGED,
                                                  m_RimMask.Receive(), nullptr)) || !m_RimMask) {
    m_RimMask.Reset();
    return E_FAIL;
  }
  D3DLOCKED_RECT r;
  if (FAILED(m_RimMask->LockRect(0, &r, nullptr, 0))) return E_FAIL;
  for (int j = 0; j < kRimMaskSize; ++j) {
    BYTE* row = static_cast<BYTE*>(r.pBits) + j * r.Pitch;
    for (int i = 0; i < kRimMaskSize; ++i) row[i] = RimMaskTexel(i, j);
  }
  m_RimMask->UnlockRect(0);
  return S_OK;
}

void DS_GlassBallLight::MakeGradientTexture() {
  m_Gradient.Reset();
  // Without a texture there is no gradient: the backdrop draws untextured.
  if (!g_Device || FAILED(D3DXCreateTexture(g_Device, kGradientSize, kGradientSize, 0, 0, D3DFMT_A8R8G8B8,
                                            D3DPOOL_MANAGED, m_Gradient.Receive())) || !m_Gradient) {
    m_Gradient.Reset();
    return;
  }
  D3DLOCKED_RECT r;
  if (FAILED(m_Gradient->LockRect(0, &r, nullptr, 0))) return;
  for (int y = 0; y < kGradientSize; ++y) {
    const std::uint32_t texel = GradientTexel(gradientTop.Get(), gradientBottom.Get(), y);
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(r.pBits) + y * r.Pitch);
    for (int x = 0; x < kGradientSize; ++x) row[x] = texel;
  }
  m_Gradient->UnlockRect(0);
  // The smaller levels too: the preview window shows the backdrop minified through them.
  D3DXFilterTexture(m_Gradient.Get(), nullptr, 0, D3DX_FILTER_BOX);
}

void DS_GlassBallLight::OnDeviceLost() {
  DS_2D_Light::OnDeviceLost();
  for (DS_TexturedQuad& quad : m_Scroll) quad.texture.Reset();  // a render-target texture
}

void DS_GlassBallLight::UseGradientBackdrop() {
  MakeGradientTexture();
  m_Backdrop.texture = m_Gradient;
}

void DS_GlassBallLight::ChooseBackdrop() {
  const bool picture = backdropMode.Get() == 1;
  m_Backdrop.texture = picture ? m_BallPicture.texture : m_Gradient;
  m_EffectiveMode = picture ? 1 : 2;
  Layout(LayerWidth(), LayerHeight());
  Layout(LayerWidth(), LayerHeight());
}

void DS_GlassBallLight::LoadBallPicture() {
  m_BallPicture = DS_TextureInfo();
  if (g_DocResManager) m_BallPicture.FromImageRecord(g_DocResManager->GetImageSet(ballPicture));
  if (backdropMode.Get() != 1) return;
  m_Backdrop.texture = m_BallPicture.texture;
  Layout(LayerWidth(), LayerHeight());
}

// Layout ---------------------------------------------------------------------------------------------

void DS_GlassBallLight::ComputeLensConstants() {
  m_Lens = ::ComputeLensConstants(ballSize.Get(), lensStrength.Get(), m_Sx, m_Ky);
}

void DS_GlassBallLight::TargetSize(float& width, float& height) const {
  if (m_Nested) {
    width = static_cast<float>(LayerWidth());
    height = static_cast<float>(LayerHeight());
  } else {
    D3DSURFACE_DESC desc;
    GetBackBufferDesc(desc);
    width = static_cast<float>(desc.Width);
    height = static_cast<float>(desc.Height);
  }
  width = Divisor(width);
  height = Divisor(height);
}

void DS_GlassBallLight::Layout(int width, int height) {
  DS_2D_Light::Layout(width, height);
  g_ViewState.Configure(m_BallPicture, width, height, m_EffectiveMode, false);
  ComputeLensConstants();
  DS_ScreenQuad q;
  q.FitPicture(m_BallPicture, static_cast<float>(width), static_cast<float>(height));
  if (!m_Nested) q.ScaleToBackBuffer(static_cast<float>(width), static_cast<float>(height));
  const float l = q.corners[0].x, r = q.corners[3].x, t = q.corners[1].y, b = q.corners[0].y;
  const float pw = LayoutDimension(static_cast<float>(m_BallPicture.width));
  const float ph = LayoutDimension(static_cast<float>(m_BallPicture.height));
  D3DXMATRIX m;
  D3DXMatrixMultiply(&m, &g_ViewState.cameraMatrix, &g_ViewState.picturePositionMatrix);
  m_Sx = m._11;
  m_Sy = m._22;
  m_Ox = m._41 * (r - l) / pw;
  m_Oy = m._42 * (b - t) / ph;
  // The backdrop follows the camera's zoom and pan.
  DS_ScreenQuad backdrop = q;
  for (DS_ScreenQuad::Corner& c : backdrop.corners) {
    c.x = l + (c.x - l) * m_Sx + m_Ox;
    c.y = t + (c.y - t) * m_Sy + m_Oy;
  }
  CopyScreenQuadTPCT(backdrop, m_Backdrop);
  const float left = l * m_Sx, right = r * m_Sx, top = t * m_Sy, bottom = b * m_Sy;
  m_Kx = MarginScale(right - left, left);
  m_Ky = MarginScale(bottom - top, top);
  // The bars around the picture in backdrop mode 1.
  const float ia = g_ViewState.inverseScaleX, ib = g_ViewState.inverseScaleY;
  const float dx = (right - left) * g_ViewState.offsetX * ia / pw, dy = (bottom - top) * g_ViewState.offsetY * ib / ph;
  const float left2 = l + dx, right2 = l + (r - l) * ia + dx, top2 = t + dy, bottom2 = t + (b - t) * ib + dy;
  const float leftEdge = static_cast<float>(TruncateToInt(left2)) + 1.0f;
  const float topEdge = static_cast<float>(TruncateToInt(top2)) + 1.0f;
  const float barHeight = static_cast<float>(TruncateToInt(bottom2 - top2));
  const float barWidth = static_cast<float>(TruncateToInt(right2 - left2));
  const float bars[4][4] = {{0.0f, 0.0f, leftEdge, barHeight},
                            {right2, 0.0f, leftEdge, barHeight},
                            {0.0f, 0.0f, barWidth, topEdge},
                            {0.0f, bottom2, barWidth, topEdge}};
  for (int i = 0; i < 4; ++i) {
    DS_ScreenQuad bar;
    bar.SetRectangle(bars[i][0], bars[i][1], bars[i][2], bars[i][3]);
    if (auto* v = static_cast<DX_V::TPC*>(LockVertexBuffer(m_Bars[i]))) {
      for (int c = 0; c < 4; ++c) {
        v[c].x = bar.corners[c].x;
        v[c].y = bar.corners[c].y;
        v[c].z = 0.0f;
        v[c].rhw = bar.corners[c].z;
      }
    }
    UnlockVertexBuffer(m_Bars[i]);
  }
  ComputeLensConstants();
  g_ViewState.Configure(m_BallPicture, width, height, kPicturePositionFit, false);
}

void DS_GlassBallLight::SetPicturePosition(int mode) {
  m_EffectiveMode = backdropMode.Get() == 1 ? mode : 2;
  Layout(LayerWidth(), LayerHeight());
}

void DS_GlassBallLight::BeginNestedRender(const DS_RenderTargetPair& target, int mode) {
  m_SavedMode = m_EffectiveMode;
  m_Nested = true;
  m_SavedWidth = LayerWidth();
  m_SavedHeight = LayerHeight();
  if (mode != kPicturePositionWholeTarget) {
    m_EffectiveMode = backdropMode.Get() == 1 ? mode : 2;
    Layout(LayerWidth(), LayerHeight());
    Layout(target.width, target.height);
  }
  DS_2D_Light::BeginNestedRender(target, mode);
}

void DS_GlassBallLight::EndNestedRender() {
  m_Nested = false;
  Layout(m_SavedWidth, m_SavedHeight);
  m_EffectiveMode = backdropMode.Get() == 1 ? m_SavedMode : 2;
  Layout(LayerWidth(), LayerHeight());
  DS_2D_Light::EndNestedRender();
}

// Frame ----------------------------------------------------------------------------------------------

void DS_GlassBallLight::RenderBackground(bool flag) {
  (void)flag;
  DS_2D_Light::RenderBackground(false);
}

void DS_GlassBallLight::Update(float time) {
  DS_2D_Light::Update(time);
  Layout(LayerWidth(), LayerHeight());
  const int mode = scrollMode.Get();
  if (mode == 0) {
    m_Sway = 0.0f;
    return;
  }
  AdvanceGlassBallScroll(g_GlassBallScroll, time, scrollSpeed.Derived());
  const float phase = g_GlassBallScroll.phase;
  if (mode == 1 || mode == 2) {
    m_Sway = 0.0f;
    D3DSURFACE_DESC desc;
    GetBackBufferDesc(desc);
    const float w = static_cast<float>(desc.Width), h = static_cast<float>(desc.Height);
    float a = 0.0f, b = 0.0f;
    ScrollQuadEdges(mode, phase, w, a, b);
    const float lefts[2] = {a, b};
    for (int i = 0; i < 2; ++i) {
      DS_ScreenQuad quad;
      quad.SetRectangle(lefts[i], 0.0f, w, h);
      m_Scroll[i].SetPositions(quad);
    }
  } else if (mode == 3) {
    m_Sway = SwayValue(phase);
  }
}

void DS_GlassBallLight::SetBallTransforms(bool refraction) {
  if (!g_Device) return;
  float w = 1.0f, h = 1.0f;
  TargetSize(w, h);
  const float cz = m_Lens.cameraDistance;
  const float kx = Divisor(m_Kx), ky = Divisor(m_Ky);
  const float px = static_cast<float>(ballPosition.Get().x), py = static_cast<float>(ballPosition.Get().y);
  const float layerAspect = LayoutDimension(static_cast<float>(LayerWidth())) /
                            LayoutDimension(static_cast<float>(LayerHeight()));
  float x = (-cz / 600.0f) * ((px + 250.0f) * m_Sx - 250.0f + (m_Ox * 500.0f / w) / kx);
  float y = (cz / 600.0f) * ((py + 250.0f) * m_Sy - 250.0f + (m_Oy * 500.0f / h) / ky);
  if (backdropMode.Get() == 1) {
    y = ky * y;
    x = layerAspect * x * kx;
  }
  const float pictureAspect = LayoutDimension(static_cast<float>(PictureWidth())) /
                              LayoutDimension(static_cast<float>(PictureHeight()));
  float shiftU = 0.0f, shiftV = 0.0f, magnification = ky;
  if (refraction) {
    const float q = 1.5f - static_cast<float>(lensStrength.Get() / 2) * 0.02f * 0.5f;
    shiftU = m_Lens.swayAmplitude * m_Sway - q * (x / w) / pictureAspect;
    shiftV = (y / h) * q;
    magnification = m_Lens.magnification;
  }
  D3DXMATRIX world, view, projection;
  D3DXMatrixTranslation(&world, x, y, 0.0f);
  const D3DXVECTOR3 eye(0.0f, 0.0f, cz), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  D3DXMatrixPerspectiveFovLH(&projection, kQuarterPi, layerAspect, 1.0f, 3000.0f);
  g_Device->SetTransform(D3DTS_WORLD, &world);
  g_Device->SetTransform(D3DTS_VIEW, &view);
  g_Device->SetTransform(D3DTS_PROJECTION, &projection);
  const float aspect = !refraction && backdropMode.Get() != 0
                           ? LayoutDimension(static_cast<float>(m_BallPicture.width)) /
                                 LayoutDimension(static_cast<float>(m_BallPicture.height))
                           : pictureAspect;
  D3DXMATRIX p;
  D3DXMatrixPerspectiveFovLH(&p, kQuarterPi, aspect, 1.0f, 3000.0f);
  const float distance = std::sqrt(view._41 * view._41 + view._42 * view._42 + view._43 * view._43);
  const float f = Divisor(p._33 * (distance * magnification) + p._34);
  D3DXMATRIX& t = m_TextureMatrix;
  D3DXMatrixIdentity(&t);
  t._11 = p._11 / f * 0.5f;
  t._22 = p._22 / f * -0.5f;
  t._12 = t._21 = t._31 = t._32 = 0.0f;
  t._41 = (shiftU - std::floor(shiftU)) + 0.5f;
  t._42 = shiftV + 0.5f;
  g_Device->SetTransform(D3DTS_TEXTURE1, &t);
}

void DS_GlassBallLight::DrawStrip(const DS_SimpleMesh<DX_V::PT2>& strip) {
  if (!CanDraw(strip)) return;
  g_Device->SetFVF(DX_V::PT2::kFormat);
  g_Device->SetStreamSource(0, strip.vertexBuffer.Get(), 0, DX_V::PT2::kStride);
  DrawBoundPrimitives(strip);
}

void DS_GlassBallLight::PostRender() {
  if (!g_Device) return;
  IDirect3DDevice9* d = g_Device;
  const int mode = scrollMode.Get();
  // The scene wraps around sideways: what was drawn so far, twice, into the other target.
  if ((mode == 1 || mode == 2) && InTargetRender()) {
    if (const Texture* drawn = m_Targets.Swap()) {
      for (DS_TexturedQuad& quad : m_Scroll) {
        quad.texture = *drawn;
        DrawTexturedQuadTPCT(quad);
      }
    }
  }
  // The finished scene; the picture when nothing was drawn off screen.
  const bool drewScene = InTargetRender();
  const DS_RenderTargetPair& pair = EndTargetRender(false);
  const Texture scene = drewScene ? pair.current : m_Background.picture.texture;
  DrawTexturedQuadTPCT(m_Backdrop, true);  // the gradient's levels where it is drawn small

  // The scene through the lens.
  SetBallTransforms(true);
  SetBumpEnvironmentStates(kBallBumpMatrix, D3DTADDRESS_MIRROR, D3DTADDRESS_WRAP, true);
  d->SetTexture(0, m_Bump.Get());
  d->SetTexture(1, scene.Get());
  DrawStrip(m_Ball);

  // The highlights over the square.
  SetBallTransforms(false);
  SetTexturedBlendStates();
  d->SetTexture(1, nullptr);
  const struct {
    const MediaParamT<int32_t>& on;
    const Texture& texture;
  } overlays[] = {{overlayAOn, m_OverlayA}, {overlayBOn, m_OverlayB}};
  for (const auto& overlay : overlays) {
    if (overlay.on.Get() == 0) continue;
    d->SetTexture(0, overlay.texture.Get());
    DrawStrip(m_Ball);
  }

  // The backdrop over the square's corners, so that a disc remains.
  float w = 1.0f, h = 1.0f;
  TargetSize(w, h);
  const float sx = Divisor(m_Sx), sy = Divisor(m_Sy);
  D3DXMATRIX& t = m_TextureMatrix;
  t._11 /= sx;
  t._22 /= sy;
  t._41 = (t._41 - (m_Ox / w) / Divisor(m_Kx)) / sx;
  t._42 = (t._42 - (m_Oy / h) / Divisor(m_Ky)) / sy;
  d->SetTransform(D3DTS_TEXTURE1, &t);
  SetMaskedProjectionStates();
  d->SetTexture(0, m_RimMask.Get());
  d->SetTexture(1, m_Backdrop.texture.Get());
  DrawStrip(m_Ball);
  d->SetTexture(1, nullptr);

  if (standOn.Get() != 0) {
    SetTexturedBlendStates();
    d->SetTexture(0, m_Stand.Get());
    DrawStrip(m_StandStrip);
  }
  d->SetTexture(0, nullptr);
  if (backdropMode.Get() == 1 && m_EffectiveMode == 1)
    for (const DS_SimpleMesh<DX_V::TPC>& bar : m_Bars) DrawColouredQuad(bar);
}
