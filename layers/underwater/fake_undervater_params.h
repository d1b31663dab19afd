// The underwater layer's own stored field, its embedded effect, and its record list,
// platform-free (the host's content tool and readers take them from here; FakeUndervater derives
// from it and adds the base layer part).
#pragma once

#include <cstdint>

#include "brushes/underwater_fx/ds_underwater_fx.h"
#include "core/data/ds_record.h"

class FakeUndervaterParams {
 public:
  static constexpr uint32_t kVersion = 2;
  // Version 1 holds the effect's speed, stored doubled, in place of the nested effect record.
  static constexpr uint32_t kMinVersion = 1;

  template <class R>
  void Record(R& r) {
    r.About("The underwater layer's own field, its embedded effect as a nested record (for example \"effect\": "
            "{ \"amplitude\": 50 }); the base layer part follows it.");
    r.Step(DoubledSpeed());
    r.Part("effect", "DS_UnderwaterFX", effect, DS_Since(2));
  }

  DS_UnderwaterFX effect;

 private:
  // Version 1's only field: the effect's speed, stored at twice its value.
  DS_Step DoubledSpeed() {
    return {"the effect's speed, doubled", DS_Only(1),
            [this](DS_IOF_Virtual& in, uint32_t) {
              effect.speed.ReadValue(in);
              effect.speed.Set(effect.speed.Get() >> 1);
            },
            [this](DS_IOF_Virtual& out, uint32_t) { out.WriteUInt(effect.speed.Get() << 1); }};
  }
};
