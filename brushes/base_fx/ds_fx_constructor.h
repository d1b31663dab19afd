// The brush effects' shared base: the parameter set DS_FX_Constructor (speed, technique flag,
// effect link, scale factor, mask) with its nested record "DS_FX_Constructor", and the
// parameters each kind computes for its effect every frame.
//
// A kind derives from DS_FX_Constructor, names its effect in its constructor, lists its record
// (ending in the nested base part), its effect parameters in CollectParameters and implements
// Clone; the record and the arithmetic are
// platform-free (the host build reads and writes them). The device side - binding the effect and
// the mask, setting the parameters and drawing the picture quad, and the live brush DS_BrushObj -
// is in ds_fx_device.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "core/data/abobj_constructor.h"
#include "core/data/file_links.h"
#include "core/data/media_kinds.h"
#include "core/data/media_param.h"
#include "core/data/record_values.h"
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

// A brush's mask GUID. Every new brush draws a fresh one, so the record describes no default
// of its own for it (the content tool's is the zero GUID).
struct DS_FreshGuid {
  explicit DS_FreshGuid(DS_Guid& v) : value(v) {}
  DS_Guid& value;
};
template <>
struct DS_Value<DS_FreshGuid> {
  static void Read(DS_IOF_Virtual& in, DS_FreshGuid v) { DS_Value<DS_Guid>::Read(in, v.value); }
  static void Write(DS_IOF_Virtual& out, const DS_FreshGuid& v) { DS_Value<DS_Guid>::Write(out, v.value); }
  static const char* Type() { return DS_Value<DS_Guid>::Type(); }
  static std::string Text(const DS_FreshGuid&) { return ""; }
};

class DS_FX_Constructor : public DS_ABObj_Constructor {
 public:
  // The nested part's version; version 1 has no scale factor. The kinds declare their own.
  static constexpr uint32_t kVersion = 2;
  static constexpr uint32_t kMinVersion = 1;
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

  // The nested part "DS_FX_Constructor" that ends every kind's record. Writing it also puts the
  // brush's current mask into the document's mask table under its key (the device side's part).
  template <class R>
  void Record(R& r) {
    if constexpr (std::is_same_v<R, DS_RecordWriter>) RegisterMaskForWrite();
    r.About("The base part of every brush effect: the speed value (each kind has its own default and scale: "
            "waves 25, light 40, water, move, expand, radial wave and pattern 50, rotation and background copy "
            "0), the technique flag (0 \"Main\", else \"MainFX\" over the picture drawn so far), the mask key "
            "(GUID, name, flag) that names the brush's mask in the document's mask table, the effect link "
            "(each kind names its own of common_res.dll: waves 77, light 76, water 90, move 91, expand 102, "
            "radial wave 103, pattern 78, background copy 75; the rotation names none, give the document's "
            "104) and the scale factor (k = value x 0.02; the water's default is 30).");
    r.Field("speed", static_cast<UINTSclaleTo<float>&>(speed));
    r.Field("technique", techniqueFlag);
    r.Field("mask_guid", DS_FreshGuid(maskKey.id));
    r.Field("mask_name", maskKey.name);
    r.Field("mask_flag", maskKey.flag);
    r.Field("effect_library", DS_LinkLibrary(effectLink));
    r.Field("effect_id", DS_LinkId(effectLink));
    r.Field("scale", scaleFactor, DS_Since(2));
    r.Base("DS_ABObj_Constructor", static_cast<DS_ABObj_Constructor&>(*this));
  }
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
