#include "objects/fx_particles/ds_fx_particle_system_ctrl.h"

#ifdef _WIN32
#include "core/resources/doc_res_manager.h"
#endif

void DS_FXParticleSystemCtrl::WriteBaseRecord(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_FXParticleSystemCtrl", kFXVersion);
  WriteFileLink(effectLink, out);
  DS_ParticleSystemCtrl::WriteBaseRecord(out);
}

void DS_FXParticleSystemCtrl::ReadBaseRecord(DS_IOF_Virtual& in) {
  DS_ReadHeader(in);
  ReadFileLink(in, effectLink);
  DS_ParticleSystemCtrl::ReadBaseRecord(in);
}

DS_ResourceKey DS_FXParticleSystemCtrl::LibraryKey(int id) {
  return DS_ResourceKey{u"common_res.dll", static_cast<int64_t>(id)};
}

#ifdef _WIN32
void DS_FXParticleSystemCtrl::CreateDeviceObjects() {
  effect.Reset();
  if (g_DocResManager) effect = g_DocResManager->GetEffect(effectLink);
}
#endif
