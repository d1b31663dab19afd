#include "objects/base_fx_objects/ds_stat_base_fx_ctrl.h"

#include "core/render/render_context.h"
#ifdef _WIN32
#include "objects/base_fx_objects/ds_fx_obj.h"
#endif

namespace {
DS_Vector3 PictureCentre() {
  const DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
  return DS_Vector3{static_cast<float>(mapping.pictureWidth) * 0.5f, static_cast<float>(mapping.pictureHeight) * 0.5f,
                    0.0f};
}
}  // namespace

DS_StatBaseFXCtrl::DS_StatBaseFXCtrl() : centre(PictureCentre()) {}

void DS_StatBaseFXCtrl::PlaceOnce() {
  if (placed) return;
  const DS_Vector3 middle = PictureCentre();
  DS_Vector3 value = centre.Get();
  value.x = middle.x;
  value.y = middle.y;
  centre.Store(value);
  placed = true;
}

#ifdef _WIN32
void DS_StatBaseFXCtrl::CreateDeviceObjects() {
  DS_FXParticleSystemCtrl::CreateDeviceObjects();
  PlaceOnce();
}

std::unique_ptr<DS_ABObj> DS_StatBaseFXCtrl::CreateObject() const {
  std::unique_ptr<DS_ParticleSystemCtrl> clone = Clone();
  return std::make_unique<DS_FXObj>(
      std::unique_ptr<DS_StatBaseFXCtrl>(static_cast<DS_StatBaseFXCtrl*>(clone.release())));
}
#else
std::unique_ptr<DS_ABObj> DS_StatBaseFXCtrl::CreateObject() const { return nullptr; }
#endif
