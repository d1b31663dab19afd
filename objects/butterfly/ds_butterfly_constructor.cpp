#include "objects/butterfly/ds_butterfly_constructor.h"

#include <cmath>

#include "core/data/class_registry.h"
#ifdef _WIN32
#include "core/resources/noise.h"
#include "objects/base_objects3d/object_matrices.h"
#endif

// Parameter set --------------------------------------------------------------------------------

DS_ButterflyConstructor::DS_ButterflyConstructor() {
  bodyImage.StoreKey(CommonResourceKey(6));
  bodyMesh.StoreKey(CommonResourceKey(68));
  scaledA.SetScale(1.0f, 0.0f);
  scaledB.SetScale(1.0f, 0.0f);
  scaledA.Set(50u);
  scaledB.Set(50u);
  mesh.StoreKey(CommonResourceKey(69));  // the wing
  size.SetDefault(100u);
  flag = true;
}

DS_ButterflyConstructor::DS_ButterflyConstructor(const DS_ButterflyConstructor& source)
    : DS_3D_Obj_Ctrl(source),
      bodyImage(source.bodyImage),
      bodyMesh(source.bodyMesh),
      scaledA(source.scaledA),
      scaledB(source.scaledB),
      wingScale(source.wingScale) {}

DS_ButterflyConstructor::~DS_ButterflyConstructor() = default;

void DS_ButterflyConstructor::Write(DS_IOF_Virtual& out) const {
  DS_WriteRecord(out, *this, "DS_ButterflyConstructor");
}

void DS_ButterflyConstructor::ReadFields(DS_IOF_Virtual& in, uint32_t version) {
  DS_ReadRecordFields(in, *this, version);
}

std::unique_ptr<DS_3D_Obj_Ctrl> DS_ButterflyConstructor::Clone() const {
  return std::make_unique<DS_ButterflyConstructor>(*this);
}

// Approached values ------------------------------------------------------------------------------

void ApproachValue::Advance(float dt) {
  if (target == current) return;
  current += dt * rate;
  if ((rate > 0.0f && current > target) || (rate < 0.0f && current < target)) current = target;
}

void ApproachValue::SetTarget(float newTarget, float newRate) {
  if (newRate != 0.0f) rate = newRate;
  target = newTarget;
  rate = target > current ? std::fabs(rate) : -std::fabs(rate);
}

// Live side (Windows only) -----------------------------------------------------------------------
#ifdef _WIN32

void DS_ButterflyConstructor::BuildMeshParts(std::vector<DS_MeshPart>& parts) {
  parts.clear();
  parts.resize(2);
  DS_MeshPart::BindTexture(bodyImage, parts[0], bodyMesh);
  DS_MeshPart::BindTexture(image, parts[1], mesh);
  parts[1].flags = DS_MeshPart::kTranslucent;
}

void DS_ButterflyConstructor::AssignPartFrames(const DS_ElementList& elements, std::vector<DS_MeshPart>& parts) {
  AssignRootsAndChildren(elements, parts);
}

std::unique_ptr<DS_FrameTree> DS_ButterflyConstructor::BuildFrameTree() {
  auto tree = std::make_unique<DS_FrameTree>();
  DS_Frame& root = tree->Root();
  auto flight = std::make_unique<AC_Butterfly>(*this);
  AC_Butterfly& controller = *flight;
  root.SetController(std::move(flight));
  DS_Frame& w1 = tree->Children().Append();
  DS_Frame& w2 = tree->Children().Append();
  root.local = ScalingMatrix(0.5f) * RotationYDegrees(90.0f);
  w1.local = ScalingMatrix(wingScale);
  w2.local = w1.local;
  w1.SetController(controller.TakeWing1());
  w2.SetController(controller.TakeWing2());
  return tree;
}

// Controllers ------------------------------------------------------------------------------------

void AC_ButterflyWing::Animate(DS_Frame& frame) {
  D3DXMatrixMultiply(&frame.world, &frame.local, &rotation);
  frame.frontFace = frontFace;
}

AC_Butterfly::AC_Butterfly(DS_ButterflyConstructor& controlSet)
    : control(controlSet),
      m_NewWing1(std::make_unique<AC_ButterflyWing>()),
      m_NewWing2(std::make_unique<AC_ButterflyWing>()) {
  wing1 = m_NewWing1.get();
  wing2 = m_NewWing2.get();
  const DS_Point3 start = control.RandomPoint();
  position = D3DXVECTOR3(start.x, start.y, 0.0f);
  const float h = RandomUnit() * 360.0f;
  heading = ApproachValue(h, h, 350.0f);
  tilt = RotationXDegrees(10.0f);
  D3DXMatrixScaling(&mirror, -1.0f, 1.0f, 1.0f);
  m_Listeners.SetOwner(this, false);
  DS_AttachListener(m_Listeners, control.size, &AC_Butterfly::OnSizeChanged);
}

AC_Butterfly::~AC_Butterfly() = default;

void AC_Butterfly::OnSizeChanged(uint32_t value) { scale = ScalingMatrix(static_cast<float>(value) / 100.0f); }

void AC_Butterfly::Animate(DS_Frame& frame) {
  const float step = control.StepValue();
  D3DXMATRIX world = frame.local;
  // Body: heading, pitch while slow, tilt and roll, each applied before what came so far.
  world = RotationYDegrees(heading.current) * world;
  const float d = heading.current - heading.target;
  if (d < -5.0f)
    roll.SetTarget(25.0f, 0.0f);
  else if (d > 5.0f)
    roll.SetTarget(-25.0f, 0.0f);
  if (forwardSpeed.current < 100.0f) world = RotationXDegrees((1.0f - forwardSpeed.current / 100.0f) * 15.0f) * world;
  world = tilt * world;
  world = RotationZDegrees(roll.current) * world;
  if (roll.current == roll.target) roll.SetTarget(0.0f, 0.0f);

  // Wing beat, turning at its highest and lowest angle; the body bobs against it.
  wingAngle += step * 7.0f * wingSpeed;
  if (wingAngle > wingMax) wingSpeed = -160.0f;
  if (wingAngle < wingMin) wingSpeed = 100.0f;
  world = TranslationMatrix(0.0f, -wingAngle * 3.0f / 45.0f, 0.0f) * world;
  wing1->rotation = RotationZDegrees(wingAngle);
  wing2->rotation = RotationZDegrees(wingAngle) * mirror;
  wing1->frontFace = wingAngle > 0.0f ? 1 : 0;
  wing2->frontFace = wingAngle < 0.0f ? 1 : 0;

  // Movement along the heading in the picture plane.
  D3DXVECTOR3 velocity;
  const D3DXVECTOR3 forward(forwardSpeed.current, 0.0f, 0.0f);
  const D3DXMATRIX headingTurn = RotationYDegrees(heading.current);
  D3DXVec3TransformCoord(&velocity, &forward, &headingTurn);
  position.x += velocity.x * step;
  position.y += verticalSpeed.current * step;
  position.z = 0.0f;
  world = world * TranslationMatrix(position.x, position.y, position.z);

  AdvanceApproaches(step);
  Steer();
  ChoosePosture(control.Phase());
  frame.world = scale * world;
}

void AC_Butterfly::AdvanceApproaches(float step) {
  verticalSpeed.Advance(step);
  roll.Advance(step);
  heading.Advance(step);
  forwardSpeed.Advance(step);
}

void AC_Butterfly::Steer() {
  if (control.PixelTop() > position.y) {
    glideRequested = 1;
    verticalSpeed.SetTarget(100.0f, 0.0f);
  } else if (control.PixelBottom() < position.y) {
    glideRequested = 0;
    verticalSpeed.SetTarget(-190.0f, 0.0f);
  }
  if (control.PixelLeft() > position.x) {
    heading.SetTarget(0.0f, 350.0f);
    forwardSpeed.SetTarget(300.0f, 0.0f);
  } else if (control.PixelRight() < position.x) {
    heading.SetTarget(-180.0f, 350.0f);
    forwardSpeed.SetTarget(300.0f, 0.0f);
  }
}

void AC_Butterfly::ChoosePosture(float phase) {
  if (gliding == glideRequested) {
    if (phase - lastDecision <= 0.25f) return;
    switch (std::rand() % 5) {
      case 0:
        glideRequested = 0;
        verticalSpeed.SetTarget(RandomInRange(-190.0f, 0.0f), 0.0f);
        break;
      case 1:
        glideRequested = 1;
        verticalSpeed.SetTarget(RandomInRange(100.0f, 150.0f), 0.0f);
        break;
      case 2:
        glideRequested = 0;
        forwardSpeed.SetTarget(RandomInRange(-25.0f, 300.0f), 0.0f);
        break;
      default:
        if (gliding == 0 && heading.current == heading.target) {
          const int coin = RandomCoin();
          const float rate = RandomInRange(50.0f, 350.0f);
          if (coin == 0)
            heading.SetTarget(RandomInRange(155.0f, 205.0f), rate);
          else
            heading.SetTarget(RandomInRange(-25.0f, 25.0f), rate);
        }
        break;
    }
    lastDecision = phase;
  } else if (glideRequested == 1) {
    // A glide begins: the wings close, then slow to a drift.
    wingMax = 0.0f;
    if (wingAngle < wingMin * 0.5f) {
      gliding = 1;
      wingSpeed = -std::fabs(wingSpeed) / 100.0f;
    }
  } else {
    // A glide ends: the beat starts again.
    gliding = 0;
    wingMax = -wingMin;
    wingSpeed = forwardSpeed.current > 20.0f ? RandomInRange(-160.0f, forwardSpeed.current / 3.0f - 50.0f) : 160.0f;
  }
}

#endif

DS_REGISTER_CONSTRUCTOR(DS_ButterflyConstructor);
