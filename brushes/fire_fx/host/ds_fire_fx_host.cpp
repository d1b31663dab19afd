// The host build's side of the fire: records and values only. There is no device, so the fire
// holds no grid and binds and draws nothing.
#include "brushes/fire_fx/ds_fire_fx.h"

struct DS_FireGrid {};

DS_FireGrid* DS_FireFX::NewGrid(const DS_FireGrid*) { return new DS_FireGrid(); }
void DS_FireFX::GridDeleter::operator()(DS_FireGrid* grid) const { delete grid; }
void DS_FireFX::LoadEffect(IDirect3DTexture9*) {}
void DS_FireFX::BuildGrid() {}
void DS_FireFX::FillGrid() {}
void DS_FireFX::SetNoiseParameters(const DS_MeshBase&) {}
void DS_FireFX::Render(DS_2D_Light&) {}
