#include "brushes/fire_fx/ds_fire_fx_device.h"

#include "brushes/base_fx/ds_fx_device.h"
#include "core/layer/ds_2d_light.h"
#include "core/render/device_globals.h"
#include "core/render/mesh_ops.h"
#include "core/render/view_state.h"

DS_FireGrid* DS_FireFX::NewGrid(const DS_FireGrid* source) {
  return source ? new DS_FireGrid(*source) : new DS_FireGrid();
}

void DS_FireFX::GridDeleter::operator()(DS_FireGrid* grid) const { delete grid; }

// Binding -------------------------------------------------------------------------------------------------

void DS_FireFX::LoadEffect(IDirect3DTexture9* mask) {
  DS_FX_Constructor::LoadEffect(mask);
  BuildGrid();
  FillGrid();
}

void DS_FireFX::BuildGrid() {
  DS_FireGrid& grid = *m_Grid;
  grid.columns = kGridCells;
  grid.rows = kGridCells;
  CreateVertexBufferPT((kGridCells + 1) * (kGridCells + 1), grid, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED);
  grid.primitiveType = D3DPT_TRIANGLELIST;
  grid.primitiveCount = 0;
  CreateGridIndices8x8(grid);
}

void DS_FireFX::FillGrid() {
  const float u = RepeatU();
  DX_V::PT vertices[4];
  const float uv[4][2] = {{0.0f, 0.0f}, {0.0f, 1.0f}, {u, 0.0f}, {u, 1.0f}};
  for (int i = 0; i < 4; ++i) {
    const DS_Vector3& c = corners.corners[i].Get();
    vertices[i] = {c.x, c.y, c.z, uv[i][0], uv[i][1]};
  }
  FillGridVerticesPT(*m_Grid, m_Grid->columns, m_Grid->rows, vertices);
}

// Frame ---------------------------------------------------------------------------------------------------

void DS_FireFX::SetNoiseParameters(const DS_MeshBase& mesh) {
  ID3DXEffect* e = DeviceRefs().effect.Get();
  if (!e) return;
  D3DXMATRIX m;
  e->SetMatrix("WorldViewProj", &g_ViewState.WorldViewProjection(m, mesh.world));
  e->SetMatrix("ViewProj", &g_ViewState.ViewProjection(m));
  DS_FX_Parameters noise;
  CollectNoiseParameters(noise);
  SetEffectParameters(noise);
}

void DS_FireFX::Render(DS_2D_Light& layer) {
  if (!WillDraw()) return;
  ID3DXEffect* e = DeviceRefs().effect.Get();
  // The layer has switched to a fresh target (or to the back buffer) for a fire that asks for the
  // scene: everything outside the grid would be lost without this.
  if (techniqueFlag.Get() != 0 && layer.SceneTexture()) {
    g_ViewState.ApplyTransforms();
    layer.DrawSceneTexture();
  }
  SetNoiseParameters(*m_Grid);
  DS_FX_Parameters values;
  CollectParameters(values, layer.PictureWidth(), layer.PictureHeight());
  if (g_ViewState.mode == kPicturePositionWholeTarget)
    values.Set("bg_scale_factor", 1.0f, 1.0f);
  else
    values.Set("bg_scale_factor", g_ViewState.widthRatio, g_ViewState.heightRatio);
  SetEffectParameters(values);
  e->SetTexture("Mask", DeviceRefs().maskTexture.Get());
  e->SetTexture("Background", layer.SceneTexture().Get());
  e->SetTechnique("Main");
  layer.DrawIndexedPT(*m_Grid, e);
}
