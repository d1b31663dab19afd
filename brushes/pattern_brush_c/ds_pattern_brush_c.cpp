#include "brushes/pattern_brush_c/ds_pattern_brush_c.h"

#include "core/data/class_registry.h"

void DS_PatternBrushC::Write(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_PatternBrushC", kVersion);
  WritePattern(out);
}

void DS_PatternBrushC::ReadFields(DS_IOF_Virtual& in, uint32_t) {
  const DS_ObjectHeader nested = DS_ReadHeader(in);
  DS_PatternBrush::ReadFields(in, nested.version);
}

DS_REGISTER_CONSTRUCTOR(DS_PatternBrushC);
