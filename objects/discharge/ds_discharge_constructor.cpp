#include "objects/discharge/ds_discharge_constructor.h"

#include "core/data/class_registry.h"

uint32_t DS_DischargeConstructor::NextFrame(uint32_t frame) {
  const uint32_t n = SheetFrames();
  if (n < 2) return 0;
  // rand() finds another frame at once almost always; a source that keeps repeating one value
  // (a test sequence) must not hold the frame for ever either.
  for (int draw = 0; draw < 1000; ++draw) {
    const uint32_t r = static_cast<uint32_t>(random()) % n;
    if (r != frame) return r;
  }
  return (frame + 1) % n;
}

DS_REGISTER_CONSTRUCTOR(DS_DischargeConstructor);
