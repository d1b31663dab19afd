// The brushes that work along a direction (the move): a strength and an angle, the unit
// direction the angle gives (kept in step by a listener), and the nested record
// "DS_DirectionBased".
#pragma once

#include "brushes/fx_base/ds_fx_constructor.h"
#include "core/data/change_listeners.h"

class DS_DirectionBased : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kDirectionVersion = 1;

  DS_DirectionBased();
  DS_DirectionBased(const DS_DirectionBased& source);
  DS_DirectionBased& operator=(const DS_DirectionBased&) = delete;

  // `direction` from `angle` (listener callback): (cos, sin) of 360 degrees minus the angle.
  void UpdateDirection();

  // The nested record "DS_DirectionBased": strength and angle, then the base part.
  void WriteDirection(DS_IOF_Virtual& out) const;
  void ReadDirection(DS_IOF_Virtual& in);

  UINTSclaleTo<float> strength;
  MediaParamT<uint32_t> angle{0u};  // degrees
  DS_Vector4 direction;
  DS_ListenerSet listeners;

 private:
  void AttachListener();
};
