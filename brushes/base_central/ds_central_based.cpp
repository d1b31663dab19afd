#include "brushes/base_central/ds_central_based.h"

#include "core/render/picture_size.h"

namespace {

DS_Vector3 PictureMiddle() {
  return DS_Vector3{static_cast<float>(g_PictureWidth) * 0.5f, static_cast<float>(g_PictureHeight) * 0.5f, 0.0f};
}

float Fraction(float pixels, int size) { return size == 0 ? 0.0f : pixels / static_cast<float>(size); }

}  // namespace

DS_CentralBased::DS_CentralBased() : centre(PictureMiddle()) {}

void DS_CentralBased::LoadEffect(IDirect3DTexture9* mask) {
  if (!placed) {
    centre.Set(PictureMiddle());
    placed = true;
  }
  DS_FX_Constructor::LoadEffect(mask);
}

void DS_CentralBased::CentreFractions(float c[2]) const {
  c[0] = Fraction(centre.Get().x, g_PictureWidth);
  c[1] = Fraction(centre.Get().y, g_PictureHeight);
}
