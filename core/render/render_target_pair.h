// The off-screen drawing surface: two render-target textures of one size that take turns, so a
// pass can read the picture drawn so far from one while drawing into the other, and the device's
// render target and depth-stencil surface saved while drawing off screen.
//
// The textures live in the default pool. The pair is a holder, not a life-cycle entry: Create makes
// them at a given size and Release drops them, and its owner calls these from its OnDeviceReset
// and OnDeviceLost.
#pragma once

#include <d3d9.h>

#include "core/com/ds_com_holder.h"

class DS_RenderTargetPair {
 public:
  using Texture = DS_ComHolder<IDirect3DTexture9>;

  // Device objects ----------------------------------------------------------------------------
  // Two width x height A8R8G8B8 render targets; textures[index] becomes current (the index is
  // kept). Returns false, holding no textures, when either cannot be made.
  bool Create(int width, int height);
  // Create, then level 0 of the source (when there is one) copied into the current texture.
  bool CreateFrom(const Texture& source, int width, int height);
  // Drops the current texture, both textures and any saved surfaces.
  void Release();

  // Drawing -----------------------------------------------------------------------------------
  // Flips to the other texture, makes it render target 0 and clears it to opaque black; returns
  // the holder of the texture drawn into before, or null (nothing changed) when the pair has no
  // textures.
  const Texture* Swap();
  // Saves render target 0 and the depth-stencil surface, then draws into level 0 of the texture
  // without depth. Returns false, changing nothing, when the texture is missing.
  bool Begin(const Texture& texture);
  // Puts the saved render target and depth-stencil surface back and releases them; nothing when
  // no begin saved them.
  void End();

  Texture current;
  Texture textures[2];
  DS_ComHolder<IDirect3DSurface9> savedRenderTarget;
  DS_ComHolder<IDirect3DSurface9> savedDepthStencil;  // null when the device has none
  int width = 0, height = 0;
  int index = 0;  // which texture is current

 private:
  static bool SetAsRenderTarget(const Texture& texture);
};
