// Butterflies: 3D objects that fly about inside the object's view rectangle. Each element is a
// body frame moved by the flight controller AC_Butterfly and two wing frames turned by the
// AC_ButterflyWing controllers it drives. The flight is a small state machine over four smoothly
// approached quantities (vertical speed, heading, roll, forward speed), steered back whenever the
// butterfly leaves the view rectangle, with random changes of course a few times per second and
// a gliding posture of the wings.
//
// Flight states (gliding, glideRequested): flapping (0, 0); glide starting (0, 1): the wings
// close to below half their lowest angle, then slow down and the state becomes gliding (1, 1);
// glide ending (1, 0): for one frame the wing beat is set up again, then flapping.
#pragma once

#ifdef _WIN32
#include <d3dx9math.h>
#endif

#include <cstdint>
#include <memory>

#include "core/data/media_kinds.h"
#include "objects/base_objects3d/ds_3d_obj_ctrl.h"

class DS_ButterflyConstructor final : public DS_3D_Obj_Ctrl {
 public:
  static constexpr uint32_t kVersion = 2;
  static constexpr uint32_t kMinVersion = 1;  // version 1 has no wing scale

  DS_ButterflyConstructor();
  DS_ButterflyConstructor(const DS_ButterflyConstructor& source);
  ~DS_ButterflyConstructor() override;

  template <class R>
  void Record(R& r) {
    r.About("Butterflies flying about inside the view rectangle: the body picture and mesh (links), two stored "
            "values nothing reads, the wing scale, then the 3D part, whose picture and mesh are the wing's (a "
            "butterfly starts with size 100, mesh common_res.dll 69 and the view part's flag on).");
    r.Field("bodyImage", bodyImage);
    r.Field("bodyMesh", bodyMesh);
    r.Field("scaledA", scaledA);
    r.Field("scaledB", scaledB);
    r.Field("wingScale", wingScale, DS_Since(2));
    r.Base("DS_3D_Obj_Ctrl", static_cast<DS_3D_Obj_Ctrl&>(*this));
  }
  void Write(DS_IOF_Virtual& out) const override;
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);

  std::unique_ptr<DS_3D_Obj_Ctrl> Clone() const override;
#ifdef _WIN32
  // Part 0 the body (body picture and mesh), part 1 the wing (picture and mesh of the 3D part),
  // translucent.
  void BuildMeshParts(std::vector<DS_MeshPart>& parts) override;
  // The body at every root, the wing at every wing frame (each tree's wings put in front).
  void AssignPartFrames(const DS_ElementList& elements, std::vector<DS_MeshPart>& parts) override;
  std::unique_ptr<DS_FrameTree> BuildFrameTree() override;
#endif

  DS_ImageFileLink bodyImage;
  DS_MeshFile bodyMesh;
  // Stored and copied; nothing in playback reads them.
  UINTSclaleTo<float> scaledA, scaledB;
  float wingScale = 1.0f;
};

// A value that moves towards its target at `rate` units per step and stops there.
struct ApproachValue {
  float current = 0.0f;
  float target = 0.0f;
  float rate = 0.0f;  // its sign points from current to target

  ApproachValue(float currentValue, float targetValue, float rateValue)
      : current(currentValue), target(targetValue), rate(rateValue) {}
  void Advance(float dt);
  // A rate of 0 keeps the old magnitude.
  void SetTarget(float newTarget, float newRate);
};

#ifdef _WIN32
class AC_ButterflyWing final : public DS_AnimationBase {
 public:
  AC_ButterflyWing() { D3DXMatrixIdentity(&rotation); }
  // world := local x rotation, and the frame's front face follows the wing's.
  void Animate(DS_Frame& frame) override;

  D3DXMATRIX rotation;
  BYTE frontFace = 1;
};

class AC_Butterfly final : public DS_AnimationBase {
 public:
  explicit AC_Butterfly(DS_ButterflyConstructor& control);
  ~AC_Butterfly() override;

  void Animate(DS_Frame& frame) override;
  // The wing controllers, for their frames to own: each is handed over once (null after).
  std::unique_ptr<AC_ButterflyWing> TakeWing1() { return std::move(m_NewWing1); }
  std::unique_ptr<AC_ButterflyWing> TakeWing2() { return std::move(m_NewWing2); }
  void OnSizeChanged(uint32_t value);

  // The steps of Animate.
  void AdvanceApproaches(float step);
  void Steer();
  void ChoosePosture(float phase);

  DS_ButterflyConstructor& control;
  AC_ButterflyWing* wing1;
  AC_ButterflyWing* wing2;
  float wingAngle = 0.0f;
  float wingSpeed = 100.0f;
  float wingMax = 55.0f;
  float wingMin = -55.0f;
  D3DXVECTOR3 position;
  ApproachValue verticalSpeed{50.0f, 50.0f, 250.0f};  // pixels per step, positive downwards
  ApproachValue heading{0.0f, 0.0f, 350.0f};
  ApproachValue roll{0.0f, 0.0f, 50.0f};
  ApproachValue forwardSpeed{50.0f, 50.0f, 350.0f};  // pixels per step
  D3DXMATRIX tilt;
  D3DXMATRIX mirror;
  D3DXMATRIX scale;
  int32_t gliding = 0;
  int32_t glideRequested = 0;
  float lastDecision = 0.0f;

 private:
  std::unique_ptr<AC_ButterflyWing> m_NewWing1, m_NewWing2;
  DS_ListenerSet m_Listeners;  // the size listener
};
#endif
