// A decoded one-frame picture put straight into a resource manager's store, so that the layer
// tests draw a layer on a picture of their own without a document.
#pragma once

#include <d3d9.h>

#include "core/resources/doc_res_manager.h"

inline void StorePicture(DS_DocResManager& manager, const DS_ResourceKey& key,
                         const DS_ComHolder<IDirect3DTexture9>& texture, unsigned width, unsigned height) {
  DS_ImageSet& set = manager.Store().imageSets[key];
  set.textures.assign(1, texture);
  set.width = width;
  set.height = height;
  set.aspect = static_cast<float>(height) / static_cast<float>(width);
}
