// A discharge: a still picture whose sprite sheet jumps to a different random frame at the
// sheet's frame rate.
#pragma once

#include "objects/stat_obj/ds_stat_obj_constructor.h"

class DS_DischargeConstructor final : public DS_ParticleKindT<DS_DischargeConstructor, DS_StatObjConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_DischargeConstructor";
  static constexpr uint32_t kVersion = 1;
  static constexpr uint32_t kMinVersion = 1;

  template <class R>
  void Record(R& r) {
    r.About("A discharge: the still-picture record, whose sprite sheet jumps to a random frame.");
    r.Base("DS_StatObjConstructor", static_cast<DS_StatObjConstructor&>(*this));
  }

  // A random frame other than `frame`; a sheet of fewer than two frames has no other and stays
  // on frame 0.
  uint32_t NextFrame(uint32_t frame) override;
};
