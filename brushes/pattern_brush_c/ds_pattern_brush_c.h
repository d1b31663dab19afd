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

  // "DS_PatternBrushC", then the nested "DS_PatternBrush" record.
  void Write(DS_IOF_Virtual& out) const override;
  // The nested record's header (not used), then the pattern brush's fields.
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);
};
