// The brush effects' shared base: the parameter set DS_FX_Constructor (speed, technique flag,
// effect link, scale factor, mask) with its nested record "DS_FX_Constructor", the common effect
// set-up that every kind ends its drawing with, and the live brush DS_BrushObj that owns a clone
// of a kind and forwards the slide's update and render to it.
//
// A kind derives from DS_FX_Constructor, names its effect in its constructor, sets its own
// effect parameters in SetEffectParameters and implements Clone. Device objects: the effect
// belongs to the document's resource manager (which tells it of device loss and reset and drops
// the textures it was given), the mask is a managed texture of the manager's mask table; a brush
// holds one reference to each and so has nothing of its own to release or rebuild on a reset.
#pragma once

#include <d3dx9.h>

#include <cstdint>
#include <memory>

#include "core/data/abobj_constructor.h"
#include "core/data/file_links.h"
#include "core/data/media_kinds.h"
#include "core/data/media_param.h"
#include "core/layer/ds_abobj.h"
#include "core/render/ds_com_holder.h"
#include "core/resources/mask_entry.h"

class DS_2D_Light;

class DS_FX_Constructor : public DS_ABObj_Constructor {
 public:
  using TextureSlot = DS_ComHolder<IDirect3DTexture9>;

  // The nested part's version; version 1 has no scale factor.
  static constexpr uint32_t kFxVersion = 2;
  static constexpr uint32_t kFxMinVersion = 1;
  // The scale factor's stored step: a value of 50 is k = 1.
  static constexpr float kScaleStep = 0.02f;

  DS_FX_Constructor();
  DS_FX_Constructor(const DS_FX_Constructor& source);
  // The embedded effects of the flame and underwater layers take a freshly read one with this.
  DS_FX_Constructor& operator=(const DS_FX_Constructor& source);
  ~DS_FX_Constructor() override;

  // A live brush over a clone of this parameter set.
  std::unique_ptr<DS_ABObj> CreateObject() const override;
  // A fresh mask key (new GUID, empty name, flag set) and no mask texture.
  void NewIdentity() override;

  // Binds the effect named by the link (through g_DocResManager) and the mask texture of `slot`.
  virtual void LoadEffect(TextureSlot& slot);
  virtual void DrawBounds(DS_2D_Light&) {}
  TextureSlot& MaskTextureSlot() { return maskTexture; }
  // Advances the effect's time by the frame (t in seconds, as the slide gives it).
  virtual void Advance(float t);
  // Sets the kind's parameters and draws the picture quad through the effect. A brush without
  // an effect, or one that would draw nothing, sets and draws nothing.
  virtual void Render(DS_2D_Light& layer);
  void SetMaskTexture(TextureSlot& slot);
  virtual std::unique_ptr<DS_FX_Constructor> Clone() const = 0;

  // Whether Render draws anything: not without an effect. Kinds with further needs (a picture of
  // their own) add them.
  virtual bool WillDraw() const { return static_cast<bool>(effect); }
  // Whether the live brush asks the layer for the picture drawn so far: only with a technique
  // flag and only when it will draw, since the layer switches to a fresh target for it.
  bool NeedsSceneTexture() const { return techniqueFlag.Get() != 0 && WillDraw(); }

  // The technique, "Scale", "Mask" and "Background", then the picture quad through the effect.
  void ApplyEffect(DS_2D_Light& layer);
  // "Scale" as ApplyEffect sets it for a picture of width x height: (w / h / k, 1 / k). A zero
  // height counts as an aspect of 1, a scale factor of 0 as its smallest step.
  void ScaleFor(unsigned width, unsigned height, float scale[2]) const;

  // The nested record "DS_FX_Constructor" version 2 and, inside it, the object base part. Before
  // the fields the brush registers its mask in the current manager's mask table.
  void WriteObject(DS_IOF_Virtual& out) const;
  void WriteFields(DS_IOF_Virtual& out) const;
  // The nested record's header, then its fields as that header's version has them.
  void ReadBase(DS_IOF_Virtual& in);
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);

  MediaSpeedParam speed;
  MediaParamT<int32_t> techniqueFlag{0};
  DS_HLSLEffectFile effectLink;
  UINTSclaleTo<float> scaleFactor;
  DS_MaskKey maskKey;
  TextureSlot maskTexture;
  DS_ComHolder<ID3DXEffect> effect;

 protected:
  // The kind's own effect parameters, set before ApplyEffect.
  virtual void SetEffectParameters(ID3DXEffect& e, DS_2D_Light& layer) = 0;
  // The link to resource `id` of "common_res.dll", which each kind names for its effect.
  static DS_ResourceKey LibraryKey(int id);
  // A kind's constructor: a scaled member's scale, offset and value (the derived value follows).
  static void InitScaled(UINTSclaleTo<float>& param, float scale, float offset, uint32_t value);
  // A kind's constructor: its speed (scale and value) and its effect, resource `effectId` of
  // "common_res.dll".
  void InitKind(int effectId, float speedScale, uint32_t speedValue);
};

// The live object of every brush effect.
class DS_BrushObj final : public DS_ABObj {
 public:
  // Owns the clone; binds its mask (from g_DocResManager's mask table, an empty entry when the
  // key is missing) and its effect.
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
