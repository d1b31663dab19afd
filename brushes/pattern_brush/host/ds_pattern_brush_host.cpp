// The host build's side of the pattern brush: there is no device, so no pattern is bound.
#include "brushes/pattern_brush/ds_pattern_brush.h"

void DS_PatternBrush::LoadPattern() {
  pattern = Pattern();
  frameIndex = 0;
}
