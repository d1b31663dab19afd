#include "brushes/waves_fx/ds_waves_fx.h"

#include <d3dx9.h>

#include "core/data/class_registry.h"

namespace {

DS_Vector4 Transformed(float x, float y, const D3DXMATRIX& m) {
  const D3DXVECTOR4 v(x, y, 0.0f, 0.0f);
  D3DXVECTOR4 r;
  D3DXVec4Transform(&r, &v, &m);
  return DS_Vector4{r.x, r.y, r.z, r.w};
}

}  // namespace

DS_WavesFX::DS_WavesFX() {
  InitScaled(amplitude, 0.00025f, 0.0f, 50);
  InitScaled(wavelength, 0.0005f, 0.001f, 50);
  InitKind(kEffectId, 1.0f, 25);
  AttachListeners();
}

DS_WavesFX::DS_WavesFX(const DS_WavesFX& source)
    : DS_FX_Constructor(source),
      amplitude(source.amplitude),
      wavelength(source.wavelength),
      angle(source.angle),
      secondDirection(source.secondDirection) {
  AttachListeners();
}

void DS_WavesFX::AttachListeners() {
  listeners.SetOwner(this, false);
  DS_AttachListener2(listeners, angle, this, &DS_WavesFX::UpdateDirections);
  DS_AttachListener2(listeners, secondDirection, this, &DS_WavesFX::UpdateDirections);
  UpdateDirections();
}

void DS_WavesFX::UpdateDirections() {
  const auto degrees = static_cast<int32_t>(360u - angle.Get());
  D3DXMATRIX r;
  D3DXMatrixRotationZ(&r, static_cast<float>(degrees) * D3DX_PI / 180.0f);
  direction = Transformed(1.0f, 0.0f, r);
  directionN = secondDirection.Get() == 0 ? Transformed(0.0f, 1.0f, r) : Transformed(-1.0f, 0.0f, r);
}

void DS_WavesFX::SetEffectParameters(ID3DXEffect& e, DS_2D_Light&) {
  const float towards[2] = {-direction.x, -direction.y};
  const float across[2] = {directionN.x, directionN.y};
  e.SetFloatArray("direction", towards, 2);
  e.SetFloatArray("direction_n", across, 2);
  e.SetFloat("frequency", 1.0f / wavelength.Derived());
  e.SetFloat("amplitude", amplitude.Derived());
  e.SetFloat("time", speed.Phase() * 0.08f);
}

void DS_WavesFX::Write(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_WavesFX", kVersion);
  amplitude.WriteValue(out);
  wavelength.WriteValue(out);
  out.WriteUInt(angle.Get());
  out.WriteInt(secondDirection.Get());
  WriteObject(out);
}

void DS_WavesFX::ReadFields(DS_IOF_Virtual& in, uint32_t) {
  amplitude.ReadValue(in);
  wavelength.ReadValue(in);
  ReadParamValue(in, angle);
  ReadParamValue(in, secondDirection);
  ReadBase(in);
}

DS_REGISTER_CONSTRUCTOR(DS_WavesFX);
