#include "objects/discharge_fx/ds_discharge_fx_constructor.h"

#include <algorithm>
#include <utility>

#include "core/data/class_registry.h"

DS_DischargeFXConstructor::DS_DischargeFXConstructor() {
  effectLink.StoreKey(LibraryKey(97));
  baseSize.Set(50);
  blendMode.Set(1);
  colour.Set(0xFFFFCCu);
  glowColour.Set(0xFF9900u);
  jitter.SetScale(0.01f, 0.0f);
  jitter.Set(50);
  flickerInterval.SetScale(-0.001f, 0.1f);
  flickerInterval.Set(100);
  morphRate.SetScale(0.1f, 0.0f);
  morphRate.Set(50);
}

uint32_t DS_DischargeFXConstructor::SegmentCount() const { return std::min(count.Get(), kMaxSpritesPerSystem); }

void DS_DischargeFXConstructor::GeneratePath(std::vector<DS_DischargeSegment>& path) const {
  const DS_Vector3& s = startPoint.Get();
  const DS_Vector3& e = endPoint.Get();
  GenerateDischargePath(path, DS_Vec3{s.x, s.y, s.z}, DS_Vec3{e.x, e.y, e.z}, jitter.Derived(), random);
}

void DS_DischargeFXConstructor::ResizeAndGenerateBoth() {
  pathFrom.resize(SegmentCount());
  pathTo.resize(SegmentCount());
  GeneratePath(pathFrom);
  GeneratePath(pathTo);
}

void DS_DischargeFXConstructor::SpawnParticle(DS_Particle&) { ResizeAndGenerateBoth(); }

void DS_DischargeFXConstructor::UpdateFX() {
  segmentIndex = 0;
  // A count lowered since the last spawn spawns nothing: the paths follow it here, so that the
  // chain still ends on the end point and no segment is read beyond a path.
  if (pathTo.size() != SegmentCount() || pathFrom.size() != pathTo.size()) ResizeAndGenerateBoth();
  if (Phase() - lastRegeneration > kRegenerationPhase) {
    lastRegeneration = Phase();
    pathFrom = pathTo;
    GeneratePath(pathTo);
  }
}

void DS_DischargeFXConstructor::UpdateParticle(DS_Particle& p) {
  const size_t i = static_cast<size_t>(std::max(segmentIndex, 0));
  ++segmentIndex;
  // Particles beyond the chain (a count lowered below the particles made) are not drawn.
  if (i >= pathFrom.size() || i >= pathTo.size()) return;
  const float t = (Phase() - lastRegeneration) * morphRate.Derived();
  const DS_DischargeSegment s = BlendSegments(pathFrom[i], pathTo[i], t);
  p.axisA = s.direction;
  p.axisB = s.normal;
  p.halfWidth = s.length * 0.5f;
  p.halfHeight = static_cast<float>(baseSize.Get()) * 0.5f;
  p.flowSign = DS_Vec3{};
  p.velocity = DS_Vec3{};
  p.position = s.centre;
  const float clock = timeStep.lastTime;
  if (flickerInterval.Derived() < clock - p.timer) {
    p.timer = clock;
    if (Coin(*this)) {
      p.texTop = 0.0f;
      p.texBottom = 0.5f;
    } else {
      p.texTop = 0.5f;
      p.texBottom = 1.0f;
    }
    if (Coin(*this)) std::swap(p.texTop, p.texBottom);
  }
  p.texLeft = i == 0 ? 0.0f : kJoinLeft;
  p.texRight = i + 1 == pathFrom.size() ? 1.0f : kJoinRight;
  p.UpdateColour(*this);
}

#ifdef _WIN32
void DS_DischargeFXConstructor::CreateDeviceObjects() {
  image.StoreKey(LibraryKey(textureChoice.Get() != 0 ? kBoltPicture : kBranchedBoltPicture));
  DS_GlowEffectCtrl::CreateDeviceObjects();
  if (!placed) {
    startPoint.Set(DS_Vector3{100.0f, 100.0f, 0.0f});
    endPoint.Set(DS_Vector3{PixelRight() - 100.0f, PixelBottom() - 100.0f, 0.0f});
    placed = true;
  }
}
#endif

DS_REGISTER_CONSTRUCTOR(DS_DischargeFXConstructor);
