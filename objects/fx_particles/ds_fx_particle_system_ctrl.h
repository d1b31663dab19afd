// The particle kinds that draw through a compiled effect instead of the fixed-function sprite
// path: the glow systems and the effect objects (explosions, static text) build on this level.
// It adds the link to the effect and, on the device, the effect itself, shared by copies.
//
// The record is platform-free: "DS_FXParticleSystemCtrl" version 1 holds the effect link, then
// the nested sprite-property record. The effect belongs to the document's resource manager,
// which tells it of device loss and reset; this level holds one reference to it.
#pragma once

#include "core/data/file_links.h"
#include "objects/particles/ds_particle_system_ctrl.h"
#ifdef _WIN32
#include <d3dx9.h>

#include "core/render/ds_com_holder.h"
#endif

class DS_FXParticleSystemCtrl : public DS_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kFXVersion = 1;

  DS_FXParticleSystemCtrl() = default;
  // The copy shares the effect (one more reference).
  DS_FXParticleSystemCtrl(const DS_FXParticleSystemCtrl& source) = default;

  // The nested record "DS_FXParticleSystemCtrl": header, the effect link, the sprite record.
  void WriteBaseRecord(DS_IOF_Virtual& out) const;
  // Its header (the version is not compared), the link, the sprite record.
  void ReadBaseRecord(DS_IOF_Virtual& in);

#ifdef _WIN32
  // The effect the link names, through the current resource manager; none when it cannot be
  // built (the kinds then draw nothing).
  virtual void CreateDeviceObjects();
  // Default-pool objects of the parameter set (a kind's own targets and fonts): released on a
  // device loss, made again after the reset. The effect is the resource manager's to restore.
  virtual void InvalidateDeviceObjects() {}
  virtual void RestoreDeviceObjects() {}

  DS_ComHolder<ID3DXEffect> effect;
#endif

  DS_HLSLEffectFile effectLink;

 protected:
  // The link to resource `id` of "common_res.dll", the kinds' default effects.
  static DS_ResourceKey LibraryKey(int id);
};
