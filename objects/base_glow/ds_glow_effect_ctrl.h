// The glow systems: particle systems drawn through an effect in three passes - the particles'
// glow picture into a private target, that target blended over the finished picture in the glow
// colour, then the particles themselves on top. This level adds the glow colour and strength and
// the two pictures: the particle picture (the first picture link) and the glow picture (the
// second, the sprite properties' overlay). The live object is DS_GlowingObj.
//
// The record "DS_GlowEffectCtrl" version 1 (glow colour, glow strength, then the effect part) is
// platform-free; the pictures are device objects.
#pragma once

#include <memory>

#include "core/data/media_kinds.h"
#include "objects/base_fx_particles/ds_fx_particle_system_ctrl.h"

class DS_GlowEffectCtrl : public DS_FXParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_GlowEffectCtrl();
  // Copies both parameters; shares both pictures (one more reference each).
  DS_GlowEffectCtrl(const DS_GlowEffectCtrl& source);

  // A glow object over a clone of this set (none on the host, which has no device).
  std::unique_ptr<DS_ABObj> CreateObject() const override;
  // Once per frame, before the particles are stepped and updated.
  virtual void UpdateFX() {}

  // "BlendColor": the glow colour's red, green and blue over 255 and the glow strength.
  void BlendColour(float out[4]) const;

  // The colour is stored as read, the strength through the changing convention.
  template <class R>
  void Record(R& r) {
    r.About("The glow part of the shader-drawn glow systems: the glow colour (0x00BBGGRR; the discharge's default "
            "0xff9900, a sky blue) and the glow strength in percent (100 is full), then the effect part. The glow "
            "picture is the sprite properties' overlay (the second picture link); the library's 203 is made for "
            "the discharge.");
    r.Field("glow_colour", glowColour);
    r.Field("glow_strength", glowAlpha);
    r.Base("DS_FXParticleSystemCtrl", static_cast<DS_FXParticleSystemCtrl&>(*this));
  }

  // The nested record "DS_GlowEffectCtrl": header, then the fields above.
  void WriteBaseRecord(DS_IOF_Virtual& out) const { DS_WriteRecord(out, *this, "DS_GlowEffectCtrl"); }
  void ReadBaseRecord(DS_IOF_Virtual& in) { DS_ReadNestedRecord(in, *this); }

#ifdef _WIN32
  // The effect, then the first frame of the glow picture and of the particle picture; a picture
  // that resolves to no frame gives none.
  void CreateDeviceObjects() override;

  DS_ComHolder<IDirect3DTexture9> glowTexture;
  DS_ComHolder<IDirect3DTexture9> particleTexture;
#endif

  MediaColor glowColour{0u};        // 0x00BBGGRR
  UINTSclaleTo<float> glowAlpha;    // percent; derived: the strength 0..1
};
