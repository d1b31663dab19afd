// The device side of the brush effects: the device objects a brush holds, and the live brush.
// The effect belongs to the document's resource manager (which tells it of device loss and reset
// and drops the textures it was given), the mask and the kind's pictures are managed textures of
// the manager's tables; a brush holds one reference to each and so has nothing of its own to
// release or rebuild on a reset.
#pragma once

#include <d3dx9.h>

#include <vector>

#include "brushes/base_fx/ds_fx_constructor.h"
#include "core/layer/ds_abobj.h"
#include "core/com/ds_com_holder.h"

struct DS_FX_DeviceRefs {
  DS_ComHolder<IDirect3DTexture9> maskTexture;
  DS_ComHolder<ID3DXEffect> effect;
  // One per Pictures() entry; a kind that binds a picture of several frames (the pattern)
  // puts its frames here itself, frame k at index k.
  std::vector<DS_ComHolder<IDirect3DTexture9>> pictures;
  // Where the mask's alpha can be above 0, as found when it was decoded: the part of the picture
  // quad the brush draws (the whole quad without a mask).
  DS_MaskBounds maskBounds;
};

// The live object of every brush effect.
class DS_BrushObj final : public DS_ABObj {
 public:
  // Owns the clone; binds its mask (from g_DocResManager's mask table, an empty entry when the
  // key is missing), its effect and its pictures.
  explicit DS_BrushObj(std::unique_ptr<DS_FX_Constructor> clone);

  void Render(DS_2D_Light& layer) override { m_Brush->Render(layer); }
  void DrawBounds(DS_2D_Light& layer, int) override { m_Brush->DrawBounds(layer); }
  void Update(float time) override { m_Brush->Advance(time); }
  void SyncRect() override {}
  bool NeedsSceneTexture() override { return m_Brush->NeedsSceneTexture(); }

  DS_FX_Constructor& Brush() const { return *m_Brush; }

 private:
  DS_FX_Constructor* m_Brush;  // the clone the DS_ABObj part owns
};
