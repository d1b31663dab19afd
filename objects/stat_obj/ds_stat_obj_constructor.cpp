#include "objects/stat_obj/ds_stat_obj_constructor.h"

#include <cmath>

#include "core/data/class_registry.h"
#include "core/render/render_context.h"
#ifdef _WIN32
#include "core/render/quads.h"
#include "objects/base_particles/ds_sprite_array_obj.h"
#endif

DS_StatObjConstructor::DS_StatObjConstructor(const DS_StatObjConstructor& source)
    : DS_ParticleSystemCtrl(source),
      placement(source.placement),
      rotation(source.rotation),
      rotationMatrix(source.rotationMatrix) {}

std::unique_ptr<DS_ParticleSystemCtrl> DS_StatObjConstructor::Clone() const {
  return std::make_unique<DS_StatObjConstructor>(*this);
}

#ifdef _WIN32
std::unique_ptr<DS_ABObj> DS_StatObjConstructor::CreateObject() const {
  std::unique_ptr<DS_ParticleSystemCtrl> clone = Clone();
  auto& set = static_cast<DS_StatObjConstructor&>(*clone);
  if (!set.placed) {
    // A set made by hand, not read: centred in the picture once.
    const DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
    set.placement.further1.Store(mapping.pictureWidth / 2);
    set.placement.further2.Store(mapping.pictureHeight / 2);
    set.placed = true;
  }
  set.PrepareImageLinks();
  auto object = std::make_unique<DS_SpriteArrayObj>(std::move(clone));
  object->isStatic = 1;
  return object;
}

void DS_StatObjConstructor::PixelQuad(DS_ScreenQuad& result) const {
  result.Init();
  const float l = static_cast<float>(placement.left.Get()), r = static_cast<float>(placement.right.Get());
  const float t = static_cast<float>(placement.top.Get()), b = static_cast<float>(placement.bottom.Get());
  const float xs[4] = {l, l, r, r}, ys[4] = {b, t, b, t};
  for (int i = 0; i < 4; ++i) {
    result.corners[i].x = xs[i];
    result.corners[i].y = ys[i];
  }
}

bool DS_StatObjConstructor::HitTest(float x, float y) { return PlacementContainsLayerPoint(placement, x, y); }
#else
std::unique_ptr<DS_ABObj> DS_StatObjConstructor::CreateObject() const { return nullptr; }
#endif

void DS_StatObjConstructor::SpawnParticle(DS_Particle& p) {
  const float x = static_cast<float>(placement.further1.Get()), y = static_cast<float>(placement.further2.Get());
  p.position = DS_Vec3{x, y, 0.0f};
  ApplyStandardSize(p);
  p.UpdateColour(*this);
  rotationMatrix = DS_RotationZ::Of(-static_cast<float>(rotation.Get()) * 3.1415927f / 180.0f);
  p.axisA = rotationMatrix.Apply(DS_Vec3{1.0f, 0.0f, 0.0f});
  p.axisB = rotationMatrix.Apply(DS_Vec3{0.0f, 1.0f, 0.0f});
  // The placement encloses the turned sprite.
  const float ex = std::fabs(p.axisA.x * p.halfWidth) + std::fabs(p.axisB.x * p.halfHeight);
  const float ey = std::fabs(p.halfHeight * p.axisB.y) + std::fabs(p.axisA.y * p.halfWidth);
  placement.left.Set(DS_FloatToInt32(x - ex));
  placement.right.Set(DS_FloatToInt32(x + ex));
  placement.top.Set(DS_FloatToInt32(y - ey));
  placement.bottom.Set(DS_FloatToInt32(y + ey));
}

DS_REGISTER_CONSTRUCTOR(DS_StatObjConstructor);
