#include "brushes/pattern_brush_c/ds_pattern_brush_c.h"

#include "core/data/class_registry.h"

DS_REGISTER_CONSTRUCTOR(DS_PatternBrushC);
