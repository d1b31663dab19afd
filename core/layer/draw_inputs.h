// What the objects hand the layer's drawing interface for their compound geometry: a 3D-object
// part with the frames it is drawn at, and a particle object's sprites with their animation.
#pragma once

#include <cstddef>

#include "core/render/mesh.h"

// A textured PNT part (low byte of its flags: translucent) drawn once at every frame.
struct DS_Object3DPartView {
  const DS_SpriteArrayT<DX_V::PNT>* mesh = nullptr;
  const DS_Frame* const* frames = nullptr;
  size_t frameCount = 0;
};

// A particle object's geometry with its frame, the textures of its animation and the current
// frame, its optional overlay and the blend mode of its parameter set (0 normal, 1 and 2
// additive; with an overlay only 1 makes the overlay pass additive).
struct DS_SpriteArrayView {
  const DS_IndexedMesh<DX_V::PCT>* geometry = nullptr;
  const DS_ComHolder<IDirect3DTexture9>* frameTextures = nullptr;
  size_t frameTextureCount = 0;
  size_t frameIndex = 0;
  IDirect3DTexture9* overlay = nullptr;
  int blendMode = 0;

  // The frame texture to draw: the index wraps around the textures (an animation whose frame
  // times outnumber its textures); none when there are none.
  IDirect3DTexture9* CurrentTexture() const {
    return frameTextureCount ? frameTextures[frameIndex % frameTextureCount].Get() : nullptr;
  }
};
