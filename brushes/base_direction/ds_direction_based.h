// The brushes that work along a direction (the move): a strength and an angle, the unit
// direction the angle gives (kept in step by a listener), and the nested record
// "DS_DirectionBased".
#pragma once

#include "brushes/base_fx/ds_fx_constructor.h"
#include "core/data/change_listeners.h"

class DS_DirectionBased : public DS_FX_Constructor {
 public:
  // The nested part's version (not the base's).
  static constexpr uint32_t kVersion = 1;
  static constexpr uint32_t kMinVersion = 1;

  DS_DirectionBased();
  DS_DirectionBased(const DS_DirectionBased& source);
  DS_DirectionBased& operator=(const DS_DirectionBased&) = delete;

  // `direction` from `angle` (listener callback): (cos, sin) of 360 degrees minus the angle.
  void UpdateDirection();

  // The nested part "DS_DirectionBased": strength and angle, then the base part.
  template <class R>
  void Record(R& r) {
    r.About("The base part of the brushes that work along a direction (the move): the strength (the move's "
            "scale is x 0.0002 of the picture; its default 50) and the angle in degrees (0 points right, 90 up).");
    r.Field("strength", strength);
    r.Field("angle", angle);
    r.Base("DS_FX_Constructor", static_cast<DS_FX_Constructor&>(*this));
  }

  UINTSclaleTo<float> strength;
  MediaParamT<uint32_t> angle{0u};  // degrees
  DS_Vector4 direction;
  DS_ListenerSet listeners;

 private:
  void AttachListener();
};
