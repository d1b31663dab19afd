#include "layers/matrix_code/ds_matrix_code_light_params.h"

#include "core/layer/layer_parts.h"

DS_REGISTER_LAYER_PART(DS_MatrixCodeLight, DS_MatrixCodeLightParams);

DS_MatrixCodeLightParams::DS_MatrixCodeLightParams() {
  transparency.SetScale(-0.01f, 1.0f);
  glyphPicture.StoreKey(DS_ResourceKey{u"common_res.dll", kGlyphStripId});
  glyphPicture.History().OnChanged(nullptr);
}
