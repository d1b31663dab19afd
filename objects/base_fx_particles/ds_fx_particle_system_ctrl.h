// The particle kinds that draw through a compiled effect instead of the fixed-function sprite
// path: the glow systems and the effect objects (explosions, static text) build on this level.
// It adds the link to the effect and, on the device, the effect itself, shared by copies.
//
// The record is platform-free: "DS_FXParticleSystemCtrl" version 1 holds the effect link, then
// the nested sprite-property record. The effect belongs to the document's resource manager,
// which tells it of device loss and reset; this level holds one reference to it.
#pragma once

#include "core/data/file_links.h"
#include "core/data/record_values.h"
#include "objects/base_particles/ds_particle_system_ctrl.h"
#ifdef _WIN32
#include <d3dx9.h>

#include "core/com/ds_com_holder.h"
#endif

class DS_FXParticleSystemCtrl : public DS_ParticleSystemCtrl {
 public:
  // Stated here so that the nested part does not take the sprite properties' version.
  static constexpr uint32_t kVersion = 1;

  DS_FXParticleSystemCtrl() = default;
  // The copy shares the effect (one more reference).
  DS_FXParticleSystemCtrl(const DS_FXParticleSystemCtrl& source) = default;

  template <class R>
  void Record(R& r) {
    r.About("The shader particle level of the glow systems and effect objects: the link to the compiled effect "
            "they draw through (97 of common_res.dll for discharges and static text, 200 for explosions; carried "
            "by the document or found in the library), then the sprite properties.");
    r.Field("effect_library", DS_LinkLibrary(effectLink));
    r.Field("effect_id", DS_LinkId(effectLink));
    r.Base("DS_BaseSpriteProp", static_cast<DS_BaseSpriteProp&>(*this));
  }

  // The nested record "DS_FXParticleSystemCtrl": header, the effect link, the sprite record; read
  // by its header's version.
  void WriteBaseRecord(DS_IOF_Virtual& out) const { DS_WriteRecord(out, *this, "DS_FXParticleSystemCtrl"); }
  void ReadBaseRecord(DS_IOF_Virtual& in) { DS_ReadNestedRecord(in, *this); }

#ifdef _WIN32
  // Made once: the effect the link names, through the current resource manager; none when it
  // cannot be built (the kinds then draw nothing).
  virtual void CreateDeviceObjects();
  // Default-pool objects of the parameter set (a kind's own targets and fonts): released on a
  // device loss, made after the first creation and again after every reset. The effect is the
  // resource manager's to take through loss and reset.
  virtual void OnDeviceLost() {}
  virtual void OnDeviceReset() {}

  DS_ComHolder<ID3DXEffect> effect;
#endif

  DS_HLSLEffectFile effectLink;

 protected:
  // The link to resource `id` of "common_res.dll", the kinds' default effects.
  static DS_ResourceKey LibraryKey(int id);
};
