// The pattern brush's device side: its pattern's frames bound as the brush's pictures.
#include "brushes/base_fx/ds_fx_device.h"
#include "brushes/pattern_brush/ds_pattern_brush.h"
#include "core/resources/doc_res_manager.h"

void DS_PatternBrush::LoadPattern() {
  DS_FX_DeviceRefs& refs = DeviceRefs();
  refs.pictures.clear();
  pattern = Pattern();
  frameIndex = 0;
  if (!g_DocResManager) return;
  const DS_ImageSet& set = patternLink.GetExtension() == u".dll" ? g_DocResManager->GetImageSetFromLibrary(patternLink)
                                                                 : g_DocResManager->GetImageSet(patternLink);
  refs.pictures.assign(set.textures.begin(), set.textures.end());  // shared, one reference each
  pattern.frameTimes = set.frameTimes;
  pattern.frames = set.textures.size();
  pattern.width = set.width;
  pattern.height = set.height;
  pattern.aspect = set.aspect;
}
