// The first frame of a decoded picture (an image set: one texture per frame, width, height),
// for the readers that show a picture's first frame: the layer background and the view border.
// A set without frames (a missing library id, a path the document does not hold) gives no
// texture, and as a picture the empty form: 0 x 0, which the layout treats as 1 x 1.
#pragma once

#include <d3d9.h>

#include "core/com/ds_com_holder.h"
#include "core/render/texture_info.h"

namespace image_set_detail {
inline IDirect3DTexture9* Raw(IDirect3DTexture9* texture) { return texture; }
inline IDirect3DTexture9* Raw(const DS_ComHolder<IDirect3DTexture9>& texture) { return texture.Get(); }
}  // namespace image_set_detail

// The set's first texture with a reference of its own, or none for a set without frames.
template <class ImageSet>
DS_ComHolder<IDirect3DTexture9> FirstTextureOf(const ImageSet& set) {
  DS_ComHolder<IDirect3DTexture9> first;
  if (!set.textures.empty()) first.Share(image_set_detail::Raw(set.textures.front()));
  return first;
}

// The first frame as a picture record: texture shared, the set's width and height; the empty
// form for a set without frames.
template <class ImageSet>
DS_TextureInfo PictureOfFirstFrame(const ImageSet& set) {
  DS_TextureInfo picture;
  if (!set.textures.empty()) picture.Assign(set.width, set.height, FirstTextureOf(set));
  return picture;
}
