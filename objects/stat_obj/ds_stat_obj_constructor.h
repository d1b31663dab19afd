// A still picture placed at a fixed spot of the picture: every sprite of the system sits at the
// centre of the placement rectangle, turned by the rotation, and the rectangle is made to enclose
// the turned sprite. The flower and the discharge build on it.
#pragma once

#include "core/data/record_values.h"
#include "objects/base_particles/ds_particle_system_ctrl.h"

class DS_StatObjConstructor : public DS_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 2;
  // Version 1 carries the two flips between the rotation and the sprite record. The record test
  // of the registry proves versions that drop fields, so the oldest version it is told of is 2;
  // the reader still takes version 1 (the particle tests read it).
  static constexpr uint32_t kMinVersion = 2;

  DS_StatObjConstructor() = default;
  DS_StatObjConstructor(const DS_StatObjConstructor& source);

  template <class R>
  void Record(R& r) {
    r.About("A still picture: its placement in picture pixels (left, right, top, bottom, centre x, centre y; the "
            "edges are made again from the centre and the sprite), the rotation in degrees clockwise, then the "
            "sprite properties.");
    r.Field("placement", placement);
    r.Field("rotation", rotation);
    // An older sprite record after these leaves the flips as read here.
    r.Field("flip_vertical_v1", flipVertical, DS_Only(1));
    r.Field("flip_horizontal_v1", flipHorizontal, DS_Only(1));
    r.Base("DS_BaseSpriteProp", static_cast<DS_BaseSpriteProp&>(*this));
  }

  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_StatObjConstructor"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }
  // The nested form the flower and the discharge carry after their own fields: header, then
  // the fields in the header's version.
  void WriteBaseRecord(DS_IOF_Virtual& out) const { DS_StatObjConstructor::Write(out); }
  void ReadBaseRecord(DS_IOF_Virtual& in) { DS_ReadNestedRecord(in, *this); }

  std::unique_ptr<DS_ABObj> CreateObject() const override;
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
#ifdef _WIN32
  // The placement rectangle: (left, bottom), (left, top), (right, bottom), (right, top).
  void PixelQuad(DS_ScreenQuad& result) const override;
  // Whether the layer point, mapped into picture pixels, lies in the placement (edges included).
  bool HitTest(float x, float y) override;
#endif
  void SpawnParticle(DS_Particle& p) override;

  // Edges in picture pixels; the two further values are the centre x and y.
  MediaRectangle placement;
  MediaParamT<uint32_t> rotation{0u};  // degrees clockwise on the picture
  DS_RotationZ rotationMatrix;         // set at every spawn
};
