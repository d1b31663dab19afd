// The host build's side of the brush base: records and arithmetic only. There is no device, so
// a brush holds no device objects, binds and draws nothing, and makes no live object.
#include "brushes/base_fx/ds_fx_constructor.h"

struct DS_FX_DeviceRefs {};

DS_FX_DeviceRefs* DS_FX_Constructor::NewDeviceRefs(const DS_FX_DeviceRefs*) { return new DS_FX_DeviceRefs(); }
void DS_FX_Constructor::DeviceRefsDeleter::operator()(DS_FX_DeviceRefs* refs) const { delete refs; }
std::unique_ptr<DS_ABObj> DS_FX_Constructor::CreateObject() const { return nullptr; }
void DS_FX_Constructor::LoadEffect(IDirect3DTexture9*) {}
void DS_FX_Constructor::SetMaskTexture(IDirect3DTexture9*) {}
bool DS_FX_Constructor::WillDraw() const { return false; }
void DS_FX_Constructor::Render(DS_2D_Light&) {}
void DS_FX_Constructor::ApplyEffect(DS_2D_Light&) {}
void DS_FX_Constructor::SetEffectParameters(const DS_FX_Parameters&) {}
void DS_FX_Constructor::RegisterMaskForWrite() const {}
