// The brush effects' shared base: the parameter set DS_FX_Constructor (speed, technique flag,
// effect link, scale factor, mask) with its nested record "DS_FX_Constructor", and the
// parameters each kind computes for its effect every frame.
//
// A kind derives from DS_FX_Constructor, names its effect in its constructor, lists its effect
// parameters in CollectParameters and implements Clone; the record and the arithmetic are
// platform-free (the host build reads and writes them). The device side - binding the effect and
// the mask, setting the parameters and drawing the picture quad, and the live brush DS_BrushObj -
// is in ds_fx_device.h.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/data/abobj_constructor.h"
#include "core/data/file_links.h"
#include "core/data/media_kinds.h"
#include "core/data/media_param.h"
#include "core/resources/mask_entry.h"

class DS_2D_Light;
struct IDirect3DTexture9;
// The device objects a brush holds (its effect, its mask, its own pictures); see ds_fx_device.h.
struct DS_FX_DeviceRefs;

// What a kind sets on its effect: numbers (1 to 4 floats) and its own pictures by name.
struct DS_FX_Parameters {
  struct Value {
    const char* name;
    float v[4];
    unsigned count;
  };
  struct Picture {
    const char* name;
    size_t index;  // into the kind's Pictures()
  };
  void Set(const char* name, float a) { values.push_back({name, {a, 0, 0, 0}, 1}); }
  void Set(const char* name, float a, float b) { values.push_back({name, {a, b, 0, 0}, 2}); }
  void Set(const char* name, float a, float b, float c) { values.push_back({name, {a, b, c, 0}, 3}); }
  void Set(const char* name, float a, float b, float c, float d) { values.push_back({name, {a, b, c, d}, 4}); }
  void SetPicture(const char* name, size_t index) { pictures.push_back({name, index}); }

  std::vector<Value> values;
  std::vector<Picture> pictures;
};

class DS_FX_Constructor : public DS_ABObj_Constructor {
 public:
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

  // A live brush over a clone of this parameter set (none on the host, which has no device).
  std::unique_ptr<DS_ABObj> CreateObject() const override;
  // A fresh mask key (new GUID, empty name, flag set) and no mask texture.
  void NewIdentity() override;

  // Binds the effect named by the link (through g_DocResManager), the kind's pictures and the
  // mask texture `mask` (shared; none for a mask the document lacks).
  virtual void LoadEffect(IDirect3DTexture9* mask);
  virtual void DrawBounds(DS_2D_Light&) {}
  // Advances the effect's time by the frame (t in seconds, as the slide gives it).
  virtual void Advance(float t);
  // Sets the kind's parameters and draws the picture quad through the effect. A brush without
  // an effect, or one that would draw nothing, sets and draws nothing.
  virtual void Render(DS_2D_Light& layer);
  void SetMaskTexture(IDirect3DTexture9* mask);
  virtual std::unique_ptr<DS_FX_Constructor> Clone() const = 0;

  // The kind's own effect parameters at the current phase, for a picture of width x height.
  virtual void CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const = 0;
  // The pictures the kind binds besides its mask (the water's bump); the first texture of each.
  virtual std::vector<DS_ResourceKey> Pictures() const { return {}; }

  // Whether Render draws anything: not without an effect. Kinds with further needs (a picture of
  // their own) add them.
  virtual bool WillDraw() const;
  // Whether the live brush asks the layer for the picture drawn so far: only with a technique
  // flag and only when it will draw, since the layer switches to a fresh target for it.
  bool NeedsSceneTexture() const { return techniqueFlag.Get() != 0 && WillDraw(); }

  // The technique, "Scale", "Mask" and "Background", then the picture quad through the effect.
  void ApplyEffect(DS_2D_Light& layer);
  // The values and the kind's pictures on the effect; nothing without one.
  void SetEffectParameters(const DS_FX_Parameters& parameters);
  // "Scale" as ApplyEffect sets it for a picture of width x height: (w / h / k, 1 / k). A zero
  // height counts as an aspect of 1, a scale factor of 0 as its smallest step.
  void ScaleFor(unsigned width, unsigned height, float scale[2]) const;
  // A picture's aspect width / height (in double precision, as a float); a picture that
  // resolved to nothing is 0 x 0 and its aspect counts as 1.
  static float PictureAspect(unsigned width, unsigned height);

  // The nested record "DS_FX_Constructor" version 2 and, inside it, the object base part. Before
  // the fields the brush registers its mask in the current manager's mask table.
  void WriteObject(DS_IOF_Virtual& out) const;
  void WriteFields(DS_IOF_Virtual& out) const;
  // The nested record's header, then its fields as that header's version has them.
  void ReadBase(DS_IOF_Virtual& in);
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);

  DS_FX_DeviceRefs& DeviceRefs() const { return *m_Device; }

  MediaSpeedParam speed;
  MediaParamT<int32_t> techniqueFlag{0};
  DS_HLSLEffectFile effectLink;
  UINTSclaleTo<float> scaleFactor;
  DS_MaskKey maskKey;

 protected:
  // The link to resource `id` of "common_res.dll", which each kind names for its effect.
  static DS_ResourceKey LibraryKey(int id);
  // A kind's constructor: a scaled member's scale, offset and value (the derived value follows).
  static void InitScaled(UINTSclaleTo<float>& param, float scale, float offset, uint32_t value);
  // A kind's constructor: its speed (scale and value) and its effect, resource `effectId` of
  // "common_res.dll".
  void InitKind(int effectId, float speedScale, uint32_t speedValue);

 private:
  // The device side's part of writing: the mask's copy in the document's mask table.
  void RegisterMaskForWrite() const;

  struct DeviceRefsDeleter {
    void operator()(DS_FX_DeviceRefs* refs) const;
  };
  // Shared device objects, one reference each; a copy holds references of its own.
  std::unique_ptr<DS_FX_DeviceRefs, DeviceRefsDeleter> m_Device;
  static DS_FX_DeviceRefs* NewDeviceRefs(const DS_FX_DeviceRefs* source);
};
