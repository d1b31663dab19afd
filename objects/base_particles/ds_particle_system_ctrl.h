// The parameter-set level of every plain particle kind: what a kind adds to the sprite
// properties is its own parameters, its placement and motion (SpawnParticle, UpdateParticle) and
// its clone; the live object (DS_SpriteArrayObj) is the same for all of them. The shared pieces
// of motion (the fade cycle, random ranges) live here once.
#pragma once

#include <memory>

#include "core/layer/ds_abobj.h"
#include "objects/base_particles/ds_particle.h"
#include "objects/base_sprite_prop/ds_base_sprite_prop.h"

class DS_ParticleSystemCtrl : public DS_BaseSpriteProp {
 public:
  DS_ParticleSystemCtrl() = default;
  DS_ParticleSystemCtrl(const DS_ParticleSystemCtrl&) = default;

  // Prepares the image links, then a sprite-array object over a clone of this set.
  std::unique_ptr<DS_ABObj> CreateObject() const override;
  virtual std::unique_ptr<DS_ParticleSystemCtrl> Clone() const = 0;

  // a + u x (b - a).
  float RandomInRange(float a, float b) const { return a + Uniform(*this) * (b - a); }
  // fade += step x fadeRate; below the fade minimum the particle is spawned again at the minimum,
  // above the maximum it stays at the maximum; either way the fade turns round.
  void FadeCycle(DS_Particle& p);
  // The standard size from the particle's size factor and the base size.
  void ApplyStandardSize(DS_Particle& p) const {
    p.SetStandardSize(p.sizeFactor * static_cast<float>(baseSize.Get()) * 0.5f);
  }

  // What a kind built on this level writes and reads after its own fields: the nested
  // sprite-property record, which every kind's record ends with.
  void WriteBaseRecord(DS_IOF_Virtual& out) const { DS_BaseSpriteProp::WriteObject(out); }
  void ReadBaseRecord(DS_IOF_Virtual& in) { DS_BaseSpriteProp::ReadObject(in); }
};

// The record and clone of a particle kind. The kind lists its record (Record: its own fields,
// then the part it builds on) and states kClassName and kVersion.
template <class Kind, class Base = DS_ParticleSystemCtrl>
class DS_ParticleKindT : public Base {
 public:
  void Write(DS_IOF_Virtual& out) const override {
    static_assert(DS_HasRecord<Kind>::value, "a particle kind lists its record");
    DS_WriteRecord(out, static_cast<const Kind&>(*this), Kind::kClassName);
  }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) {
    DS_ReadRecordFields(in, static_cast<Kind&>(*this), version);
  }
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override {
    return std::make_unique<Kind>(static_cast<const Kind&>(*this));
  }
};
