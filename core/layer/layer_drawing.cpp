// The layer's drawing interface: live objects hand their geometry to the layer, which sets the
// world from the object's frame through g_ViewState, sets the whole pipeline state the kind of
// geometry needs (draw_states.h), binds and draws. Nothing is put back: every draw sets what it
// relies on, whatever the draw before it left.
#include <d3dx9.h>

#include "core/layer/ds_2d_light.h"
#include "core/layer/layer_drawing.h"
#include "core/layer/pulse_clock.h"
#include "core/render/device_globals.h"
#include "core/render/draw_states.h"
#include "core/render/layout_maths.h"
#include "core/render/mesh_ops.h"
#include "core/render/render_context.h"
#include "core/render/view_state.h"

namespace {

// The passes of an effect, each drawing through `draw`. A missing effect draws nothing.
template <class Draw>
void DrawEffectPasses(ID3DXEffect* effect, Draw draw) {
  if (!effect) return;
  UINT passes = 0;
  if (FAILED(effect->Begin(&passes, 0))) return;
  for (UINT p = 0; p < passes; ++p) {
    if (SUCCEEDED(effect->BeginPass(p))) {
      draw();
      effect->EndPass();
    }
  }
  effect->End();
}

template <class V>
void DrawIndexedAsBound(const DS_IndexedMesh<V>& mesh) {
  g_Device->DrawIndexedPrimitive(mesh.primitiveType, 0, 0, static_cast<UINT>(mesh.vertexCount), 0,
                                 static_cast<UINT>(mesh.triangleCount));
}

}  // namespace

void DrawColouredQuadPC(const DS_MeshBase& quad) {
  if (!CanDraw(quad)) return;
  SetColouredQuadStates();
  BindMeshPC(quad);
  DrawBoundPrimitives(quad);
}

unsigned MarkerAlpha(int mode, bool highlighted, float t) {
  if (mode == 0) return PulseAlpha(t, 5.0f) / 3 + 80;
  return highlighted ? 255u : PulseAlpha(t, 2.5f);
}

// Nested renders ----------------------------------------------------------------------------------

void DS_2D_Light::BeginNestedRender(const DS_RenderTargetPair& target, int mode) {
  m_SavedViewMode = g_ViewState.mode;
  CurrentRenderContext().renderSizeStack.emplace_back(m_LayerWidth, m_LayerHeight);
  m_LayerWidth = target.width;
  m_LayerHeight = target.height;
  g_ViewState.Configure(m_Background.picture, m_LayerWidth, m_LayerHeight, mode, true);
}

void DS_2D_Light::EndNestedRender() {
  // An end without its begin keeps the layer size it has.
  std::vector<std::pair<int, int>>& sizes = CurrentRenderContext().renderSizeStack;
  if (!sizes.empty()) {
    m_LayerWidth = sizes.back().first;
    m_LayerHeight = sizes.back().second;
    sizes.pop_back();
  }
  g_ViewState.Configure(m_Background.picture, m_LayerWidth, m_LayerHeight, m_SavedViewMode, false);
}

// Markers -----------------------------------------------------------------------------------------------

void DS_2D_Light::DrawMarkers(const DS_SimpleMesh<DX_V::PC>& bounds, int mode, bool highlighted) {
  if (!CanDraw(bounds)) return;
  IDirect3DDevice9* d = g_Device;
  g_ViewState.SetWorld(bounds.world);
  if (mode == 0) DrawColouredQuadPC(bounds);
  SetMarkerStates(MarkerAlpha(mode, highlighted, PulseTime()));
  BindMeshPC(bounds);
  if (mode == 0) {
    d->SetTexture(0, m_Markers[4].Get());
    d->DrawPrimitive(D3DPT_POINTLIST, 0, 4);
  } else {
    // Corner 1 (left-top), 3 (right-top), 2 (right-bottom), 0 (left-bottom), each its picture.
    static const struct {
      UINT corner;
      int marker;
    } kCorners[4] = {{1, 0}, {3, 1}, {2, 2}, {0, 3}};
    for (const auto& c : kCorners) {
      d->SetTexture(0, m_Markers[c.marker].Get());
      d->DrawPrimitive(D3DPT_POINTLIST, c.corner, 1);
    }
  }
}

// Meshes through effects -------------------------------------------------------------------------------

void DS_2D_Light::DrawIndexedPT(const DS_IndexedMesh<DX_V::PT>& mesh, ID3DXEffect* effect) {
  if (!effect || !CanDrawIndexed(mesh, mesh)) return;
  SetEffectStates();
  BindIndexedPT(mesh);
  DrawEffectPasses(effect, [&] { DrawIndexedAsBound(mesh); });
}

void DS_2D_Light::DrawMeshPT(const DS_SimpleMesh<DX_V::PT>& mesh, ID3DXEffect* effect) {
  if (!effect || !CanDraw(mesh)) return;
  g_ViewState.SetWorld(mesh.world);
  SetEffectStates();
  BindMeshPT(mesh);
  DrawEffectPasses(effect, [&] { DrawBoundPrimitives(mesh); });
}

void DS_2D_Light::DrawPicturePart(ID3DXEffect* effect, const DS_MaskBounds& part, bool replaces) {
  const DS_PictureQuad& quad = m_Background;
  if (!effect || !CanDraw(quad)) return;
  DS_PixelBox pixels;
  if (!part.Empty()) {
    D3DVIEWPORT9 viewport{};
    D3DXMATRIX worldViewProjection;
    g_ViewState.WorldViewProjection(worldViewProjection, quad.world);
    const float w = static_cast<float>(quad.picture.width), h = static_cast<float>(quad.picture.height);
    if (part.Whole() || FAILED(g_Device->GetViewport(&viewport)) ||
        !PixelBoundsOfRectangle(&worldViewProjection._11, part.left * w, part.top * h, part.right * w,
                                part.bottom * h,
                                DS_PixelBox{static_cast<int>(viewport.X), static_cast<int>(viewport.Y),
                                             static_cast<int>(viewport.X + viewport.Width),
                                             static_cast<int>(viewport.Y + viewport.Height)},
                                pixels)) {
      DrawMeshPT(quad, effect);
      return;
    }
  }
  // The effect keeps the states it finds when it begins, the textures with them: the scene
  // texture is unbound before it begins.
  if (replaces) DrawSceneTexture();
  if (pixels.Empty()) return;
  g_ViewState.SetWorld(quad.world);
  SetEffectStates();
  const RECT scissor{pixels.left, pixels.top, pixels.right, pixels.bottom};
  g_Device->SetScissorRect(&scissor);
  g_Device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
  BindMeshPT(quad);
  DrawEffectPasses(effect, [&] { DrawBoundPrimitives(quad); });
  // Clears honour the scissor too: it goes off with the draw that needed it.
  g_Device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
}

void DS_2D_Light::DrawSceneTexture() {
  const DS_PictureQuad& quad = m_Background;
  if (!CanDraw(quad)) return;
  g_ViewState.SetWorld(quad.world);
  SetPictureStates();
  BindMeshPT(quad);
  g_Device->SetTexture(0, m_SceneTexture.Get());
  DrawBoundPrimitives(quad);
  g_Device->SetTexture(0, nullptr);
}

void DS_2D_Light::DrawIndexedPCT(const DS_IndexedMesh<DX_V::PCT>& mesh, ID3DXEffect* effect) {
  if (!effect || !CanDrawIndexed(mesh, mesh)) return;
  g_ViewState.SetWorld(mesh.world);
  SetEffectStates();
  BindIndexedPCT(mesh);
  DrawEffectPasses(effect, [&] { DrawIndexedAsBound(mesh); });
}

// Fixed-function geometry -------------------------------------------------------------------------------

void DS_2D_Light::DrawObject3D(const DS_Object3DPartView& part) {
  if (!part.mesh || !CanDrawIndexed(*part.mesh, *part.mesh)) return;
  const DS_SpriteArrayT<DX_V::PNT>& mesh = *part.mesh;
  IDirect3DDevice9* d = g_Device;
  const bool translucent = (mesh.flags & 0xFF) != 0;
  g_ViewState.ApplyTransforms();
  SetObject3DStates(translucent);
  d->SetTexture(0, mesh.texture.Get());
  BindIndexedPNT(mesh);
  const int passes = translucent ? 2 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    // The second pass of a translucent part draws the back faces.
    for (size_t i = 0; i < part.frameCount; ++i) {
      const DS_Frame* frame = part.frames[i];
      if (!frame) continue;
      g_ViewState.SetWorld(frame->world);
      const bool front = (frame->frontFace == 1) != (pass == 1);
      d->SetRenderState(D3DRS_CULLMODE, front ? D3DCULL_CCW : D3DCULL_CW);
      DrawIndexedAsBound(mesh);
    }
  }
}

void DS_2D_Light::DrawSpriteArray(const DS_SpriteArrayView& sprites) {
  if (!sprites.geometry || !CanDrawIndexed(*sprites.geometry, *sprites.geometry)) return;
  const DS_IndexedMesh<DX_V::PCT>& geometry = *sprites.geometry;
  IDirect3DDevice9* d = g_Device;
  g_ViewState.ApplyTransforms();
  g_ViewState.SetWorld(geometry.world);
  const bool blendNormally = sprites.overlay || sprites.blendMode == 0;
  SetSpriteArrayStates(false, blendNormally ? D3DBLEND_INVSRCALPHA : D3DBLEND_ONE);
  d->SetTexture(0, sprites.CurrentTexture());
  BindIndexedPCT(geometry);
  DrawIndexedAsBound(geometry);
  if (sprites.overlay) {
    // The overlay's colour over the first pass, additive for blend mode 1.
    SetSpriteArrayStates(true, sprites.blendMode == 1 ? D3DBLEND_ONE : D3DBLEND_INVSRCALPHA);
    d->SetTexture(0, sprites.overlay);
    DrawIndexedAsBound(geometry);
  }
}

void DS_2D_Light::DrawFrameTree(const DS_SpriteArrayT<DX_V::PNT>& geometry) {
  // Geometry without elements (falling objects of count 0) draws nothing.
  if (geometry.children.empty() || !CanDrawIndexed(geometry, geometry)) return;
  IDirect3DDevice9* d = g_Device;
  g_ViewState.ApplyTransforms();
  SetFrameTreeStates();
  d->SetTexture(0, geometry.texture.Get());
  BindIndexedPNT(geometry);
  for (const DS_Frame* child : geometry.children) {
    if (!child) continue;
    g_ViewState.SetWorld(child->world);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    DrawIndexedAsBound(geometry);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    DrawIndexedAsBound(geometry);
  }
}

void DS_2D_Light::DrawPulsing(DS_TexturedQuad& quad, const D3DXMATRIX* parent, bool pulse) {
  quad.UpdateWorld(parent);
  if (!CanDraw(quad)) return;
  // The quad keeps its size in area units whatever the picture's size.
  const float f = g_ViewState.fitRatio / g_ViewState.viewZoom;
  D3DXMATRIX scaling, world;
  D3DXMatrixScaling(&scaling, f, f, 1.0f);
  D3DXMatrixMultiply(&world, &scaling, &quad.world);
  g_ViewState.SetWorld(world);
  SetPulsingQuadStates(pulse ? PulseAlpha(PulseTime(), 2.5f) : 255u);
  BindQuadPT(quad);
  DrawBoundPrimitives(quad);
}
