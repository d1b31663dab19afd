#include "objects/fx_objects/ds_base_fx_ctrl.h"

void DS_BaseFXCtrl::WriteBaseRecord(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_BaseFXCtrl", kBaseFXVersion);
  DS_FXParticleSystemCtrl::WriteBaseRecord(out);
}

void DS_BaseFXCtrl::ReadBaseRecord(DS_IOF_Virtual& in) {
  DS_ReadHeader(in);
  DS_FXParticleSystemCtrl::ReadBaseRecord(in);
}
