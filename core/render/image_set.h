// One decoded picture: a texture per frame, the frame times of a multi-frame picture, and the
// pixel size and aspect of the frame decoded last.
#pragma once

#include <d3d9.h>

#include <vector>

#include "core/com/ds_com_holder.h"

struct DS_ImageSet {
  using Texture = DS_ComHolder<IDirect3DTexture9>;

  std::vector<Texture> textures;  // one per frame; a slot may be empty (a frame that failed)
  std::vector<float> frameTimes;  // seconds per frame; empty for a single frame
  unsigned width = 0;
  unsigned height = 0;
  float aspect = 1.0f;  // height / width

  // The first texture, or none for an empty set.
  IDirect3DTexture9* FirstTexture() const { return textures.empty() ? nullptr : textures.front().Get(); }
  // The texture of a frame counted without bound (a frame index that runs over the frame
  // times): the index wraps around the textures; none when there are none.
  IDirect3DTexture9* TextureAt(size_t frame) const {
    return textures.empty() ? nullptr : textures[frame % textures.size()].Get();
  }
  bool HasTexture() const { return FirstTexture() != nullptr; }
};
