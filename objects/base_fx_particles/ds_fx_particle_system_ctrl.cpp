#include "objects/base_fx_particles/ds_fx_particle_system_ctrl.h"

#ifdef _WIN32
#include "core/resources/doc_res_manager.h"
#endif

DS_ResourceKey DS_FXParticleSystemCtrl::LibraryKey(int id) {
  return DS_ResourceKey{u"common_res.dll", static_cast<int64_t>(id)};
}

#ifdef _WIN32
void DS_FXParticleSystemCtrl::CreateDeviceObjects() {
  effect.Reset();
  if (g_DocResManager) effect = g_DocResManager->GetEffect(effectLink);
}
#endif
