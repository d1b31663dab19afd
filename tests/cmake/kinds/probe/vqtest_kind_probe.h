// A test-only kind built by vq_add_kind() like the product's kinds: a registered constructor
// with one field of its own. Platform-free, so the host build gets it too (its HOST list).
#pragma once

#include <cstdint>

#include "core/data/abobj_constructor.h"

class VQTest_KindProbe final : public DS_ABObj_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  void Write(DS_IOF_Virtual& out) const override;
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);
  // Tests read the record back; they never make a live object of it.
  std::unique_ptr<DS_ABObj> CreateObject() const override;

  int32_t value = 0;
};
