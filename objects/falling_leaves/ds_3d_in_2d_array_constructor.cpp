#include "objects/falling_leaves/ds_3d_in_2d_array_constructor.h"

#include <algorithm>
#include <cmath>

#include "core/data/class_registry.h"
#include "core/data/media_kinds.h"
#ifdef _WIN32
#include "core/layer/ds_2d_light.h"
#include "core/render/render_context.h"
#include "core/resources/noise.h"
#include "core/resources/resource_cache.h"
#include "objects/base_objects3d/ds_3d_obj_ctrl.h"
#include "objects/base_objects3d/object_matrices.h"
#endif

float g_FallClock = 0.0f;

// Motion ---------------------------------------------------------------------------------------

DS_FallMotion::DS_FallMotion(const DS_FallMotion& source)
    : size(source.size),
      angle(source.angle),
      directionAxis(source.directionAxis),
      crossAxis(source.crossAxis),
      speed(source.speed),
      sway(source.sway),
      swayChange(source.swayChange),
      spin(source.spin) {}

void DS_FallMotion::SetAngle(uint32_t degrees) {
  angle = degrees;
  // (1, 0, 0, 0) x RotationZ(a) is (cos a, sin a, 0, 0); the picture's y grows downwards.
  const float a = static_cast<float>(degrees) * 3.1415927f / 180.0f;
  const float b = (static_cast<float>(degrees) + 90.0f) * 3.1415927f / 180.0f;
  directionAxis = DS_Vector4{std::cos(a), -std::sin(a), 0.0f, 0.0f};
  crossAxis = DS_Vector4{std::cos(b), -std::sin(b), 0.0f, 0.0f};
}

// Parameter set --------------------------------------------------------------------------------

DS_3D_in_2D_array_Constructor::DS_3D_in_2D_array_Constructor(const DS_3D_in_2D_array_Constructor& source)
    : DS_ABObj_Constructor(source),
      liveObject(source.liveObject),
      meshEntry(source.meshEntry),
      textureEntry(source.textureEntry),
      count(source.count),
      motion(source.motion) {}

DS_3D_in_2D_array_Constructor::~DS_3D_in_2D_array_Constructor() = default;

void DS_3D_in_2D_array_Constructor::Write(DS_IOF_Virtual& out) const {
  DS_WriteRecord(out, *this, "DS_3D_in_2D_array_Constructor");
}

void DS_3D_in_2D_array_Constructor::ReadFields(DS_IOF_Virtual& in, uint32_t version) {
  DS_ReadRecordFields(in, *this, version);
  motion.SetAngle(motion.angle);
}

#ifndef _WIN32
std::unique_ptr<DS_ABObj> DS_3D_in_2D_array_Constructor::CreateObject() const { return nullptr; }
#else
std::unique_ptr<DS_ABObj> DS_3D_in_2D_array_Constructor::CreateObject() const {
  return std::make_unique<DS_3D_in_2D_array>(std::make_unique<DS_3D_in_2D_array_Constructor>(*this));
}

// Live object ----------------------------------------------------------------------------------

DS_3D_in_2D_array::DS_3D_in_2D_array(std::unique_ptr<DS_3D_in_2D_array_Constructor> copy)
    : DS_ABObj(std::move(copy)), m_Ctrl(static_cast<DS_3D_in_2D_array_Constructor*>(Control())) {
  m_Ctrl->liveObject = this;
  m_Geometry.texture = LoadImageThrough(g_ResourceCache, m_Ctrl->textureEntry).texture;
  // A mesh that does not load leaves the geometry without buffers: nothing is drawn.
  const DS_MeshBuffers mesh = LoadMeshThrough(g_ResourceCache, m_Ctrl->meshEntry, kMeshVertexSize);
  if (!mesh.IsEmpty()) {
    m_Geometry.triangleCount = static_cast<int>(mesh.faceCount);
    m_Geometry.indexBuffer = mesh.indexBuffer;
    m_Geometry.vertexCount = static_cast<int>(mesh.vertexCount);
    m_Geometry.vertexBuffer = mesh.vertexBuffer;
  }
  m_Geometry.scalar = mesh.radius;
  m_Geometry.position = D3DXVECTOR3(mesh.centre[0], mesh.centre[1], mesh.centre[2]);
  m_Geometry.primitiveType = D3DPT_TRIANGLELIST;
  SyncElements();
}

DS_3D_in_2D_array::~DS_3D_in_2D_array() { m_Elements.Clear(); }

void DS_3D_in_2D_array::SyncElements() {
  const size_t wanted = std::min(m_Ctrl->count.Get(), DS_3D_in_2D_array_Constructor::kMaxElements);
  while (m_Elements.Size() < wanted) AddChildFrame();
  while (m_Elements.Size() > wanted) m_Elements.EraseFirst();
}

void DS_3D_in_2D_array::AddChildFrame() {
  DS_Frame& child = m_Elements.Append();
  child.scalar = m_Geometry.scalar;
  child.position = m_Geometry.position;
  child.SetController(std::make_unique<DS_LeafFallAnim>(m_Ctrl->motion));
  // The mesh turns about its own centre.
  child.local._41 = -m_Geometry.position.x;
  child.local._42 = -m_Geometry.position.y;
  child.local._43 = -m_Geometry.position.z;
}

void DS_3D_in_2D_array::Update(float time) {
  g_FallClock = time;
  m_Geometry.world = m_Geometry.local;
  for (DS_Frame* child : m_Geometry.children) child->UpdateWorld(&m_Geometry.world);
}

void DS_3D_in_2D_array::Render(DS_2D_Light& layer) { layer.DrawFrameTree(m_Geometry); }

// Controllers ------------------------------------------------------------------------------------

DS_SreamAnim::DS_SreamAnim(const DS_FallMotion& fallMotion) : motion(&fallMotion) {
  const DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
  const float x = RandomUnit() * static_cast<float>(mapping.pictureWidth);
  const float y = RandomUnit() * static_cast<float>(mapping.pictureHeight);
  drift = RandomUnit() * 2.0f - 1.0f;
  speedFactor = RandomUnit() * 0.06f + 0.07f;
  positionMatrix = TranslationMatrix(x, y, 0.0f);
}

void DS_SreamAnim::Animate(DS_Frame&) { Move(); }

void DS_SreamAnim::Move() {
  const float now = g_FallClock;
  dt = std::min(std::fabs(now - lastTime), 0.2f);
  lastTime = now;
  const float half = static_cast<float>(motion->size.Get()) * 0.5f;
  const float k = static_cast<float>(motion->sway.Get()) * 0.02f * drift;
  const float s = static_cast<float>(motion->speed.Get()) * speedFactor * dt * 50.0f;
  const float vx = s * (motion->directionAxis.x + k * motion->crossAxis.x);
  const float vy = s * (motion->directionAxis.y + k * motion->crossAxis.y);
  const DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
  const auto w = static_cast<float>(mapping.pictureWidth), h = static_cast<float>(mapping.pictureHeight);
  float& x = positionMatrix._41;
  float& y = positionMatrix._42;
  // Out at one side, in at the opposite one; a vertical wrap comes before a horizontal one.
  if (vy > 0.0f && y > h + half) {
    x = RandomInRange(0.0f, w);
    y = -half;
  } else if (vy < 0.0f && y < -half) {
    x = RandomInRange(0.0f, w);
    y = h + half;
  } else if (vx > 0.0f && x > w + half) {
    x = -half;
    y = RandomInRange(0.0f, h);
  } else if (vx < 0.0f && x < -half) {
    x = w + half;
    y = RandomInRange(0.0f, h);
  } else {
    x += vx;
    y += vy;
  }
  const uint32_t change = motion->swayChange.Get();
  if (change != 0 &&
      (now - lastDriftChange) * static_cast<float>(motion->speed.Get()) * 0.1f > 100.0f / static_cast<float>(change)) {
    lastDriftChange = now;
    if (RandomCoin() == 1) drift = RandomUnit() * 2.0f - 1.0f;
  }
}

DS_LeafFallAnim::DS_LeafFallAnim(const DS_FallMotion& fallMotion) : DS_SreamAnim(fallMotion) {
  for (Angle* a : {&spinX, &spinY, &spinZ}) {
    const int coin = RandomCoin();
    const float rate = RandomUnit() * 3.0f + 7.0f;
    a->rate = coin == 1 ? -rate : rate;
    a->angle = a->rate;
  }
  for (Angle* a : {&swingY, &swingX}) {
    const auto on = static_cast<float>(RandomCoin());
    const float sign = RandomCoin() == 1 ? -1.0f : 1.0f;
    a->rate = on * sign * (RandomUnit() * 4.0f + 3.0f);
    a->angle = a->rate;
  }
}

void DS_LeafFallAnim::Animate(DS_Frame& frame) {
  Move();
  // A mesh without size (none loaded) is scaled to nothing rather than divided by zero.
  const float r = frame.scalar;
  const float s = r != 0.0f ? static_cast<float>(motion->size.Get()) * 0.5f / r : 0.0f;
  const float spinStep = dt * static_cast<float>(motion->spin.Get()) * 0.4f;
  const float swingStep = dt * static_cast<float>(motion->sway.Get()) * 0.4f;
  for (Angle* a : {&spinX, &spinY, &spinZ}) a->angle += a->rate * spinStep;
  for (Angle* a : {&swingY, &swingX}) a->angle += a->rate * swingStep;
  const D3DXMATRIX m = ScalingMatrix(s) * RotationXDegrees(spinX.angle) * RotationZDegrees(spinZ.angle) *
                       RotationYDegrees(spinY.angle) *
                       (TranslationMatrix(0.0f, 0.0f, 50.0f) * RotationYDegrees(swingY.angle)) *
                       RotationXDegrees(swingX.angle) * positionMatrix;
  frame.world = frame.local * m;
}

#endif

DS_REGISTER_CONSTRUCTOR(DS_3D_in_2D_array_Constructor);
