#include "brushes/background_copy/ds_background_copy.h"

#include "core/data/class_registry.h"

namespace {

// Pixels as a fraction of a picture dimension; a picture that resolved to nothing shifts by 0.
float Fraction(int32_t pixels, unsigned size) {
  return size == 0 ? 0.0f : static_cast<float>(static_cast<double>(pixels) / static_cast<double>(size));
}

}  // namespace

DS_BackgroundCopy::DS_BackgroundCopy() { effectLink.StoreKey(LibraryKey(kEffectId)); }

void DS_BackgroundCopy::CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const {
  float ox = Fraction(sourceRect.further1.Get(), width);
  float oy = Fraction(sourceRect.further2.Get(), height);
  if (shiftY.Get() != 0) oy += 1.0f;
  if (shiftX.Get() != 0) ox += 1.0f;
  out.Set("offset", ox, oy);
}

DS_REGISTER_CONSTRUCTOR(DS_BackgroundCopy);
