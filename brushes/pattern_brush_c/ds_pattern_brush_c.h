// The pattern brush under its second class name: a record of its own that nests a whole
// "DS_PatternBrush" record, and nothing else of its own. Its live brush runs a DS_PatternBrush
// copy of the same values.
#pragma once

#include "brushes/pattern_brush/ds_pattern_brush.h"

class DS_PatternBrushC final : public DS_PatternBrush {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_PatternBrushC() = default;
  DS_PatternBrushC(const DS_PatternBrushC& source) = default;
  DS_PatternBrushC& operator=(const DS_PatternBrushC&) = delete;

  template <class R>
  void Record(R& r) {
    r.About("The pattern brush under its second name: nothing of its own, the pattern brush's record nested whole "
            "(its fields named as for DS_PatternBrush).");
    r.Base("DS_PatternBrush", static_cast<DS_PatternBrush&>(*this));
  }

  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_PatternBrushC"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }
};
