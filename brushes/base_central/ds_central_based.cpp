#include "brushes/base_central/ds_central_based.h"

#include "core/render/render_context.h"

namespace {

DS_Vector3 PictureMiddle() {
  const DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
  return DS_Vector3{static_cast<float>(mapping.pictureWidth) * 0.5f, static_cast<float>(mapping.pictureHeight) * 0.5f,
                    0.0f};
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
  const DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
  c[0] = Fraction(centre.Get().x, mapping.pictureWidth);
  c[1] = Fraction(centre.Get().y, mapping.pictureHeight);
}
