// One decoded texture with the pixel size of the picture it came from: the result of every
// picture decoder.
#pragma once

#include <d3d9.h>

#include "core/com/ds_com_holder.h"
#include "core/render/image_set.h"

struct DS_TextureInfo {
  DS_ComHolder<IDirect3DTexture9> texture;
  unsigned width = 0;   // pixels of the source picture, not of the texture
  unsigned height = 0;
  float aspect = 1.0f;  // height / width

  // Shares `source` (AddRef) and records the picture's size.
  void Assign(unsigned pictureWidth, unsigned pictureHeight, const DS_ComHolder<IDirect3DTexture9>& source) {
    if (&source != &texture) texture = source;
    width = pictureWidth;
    height = pictureHeight;
    aspect = pictureWidth != 0 ? static_cast<float>(pictureHeight) / static_cast<float>(pictureWidth) : 1.0f;
  }

  // The empty form, then the set's first texture (none for an empty set) with its size.
  void FromImageRecord(const DS_ImageSet& set) {
    texture.Share(set.FirstTexture());
    width = set.width;
    height = set.height;
    aspect = set.aspect;
  }

  bool HasTexture() const { return static_cast<bool>(texture); }
};
