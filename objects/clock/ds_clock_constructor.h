// The clock: a 3D object that shows the computer's local time. Each element is a face frame
// placed by AC_Static at the centre of a square placement rectangle and scaled by the object's
// size, and two hand frames turned by AC_ClockArrow from the local time (clock_time.h). Face and
// hands use the same square mesh with different pictures. The placement rectangle (picture
// pixels) stays a square of side `size` around its centre, and answers hit tests and bounds.
#pragma once

#ifdef _WIN32
#include <d3dx9math.h>
#endif

#include <cstdint>
#include <memory>
#include <vector>

#include "core/data/media_kinds.h"
#include "objects/base_objects3d/ds_3d_obj_ctrl.h"

class DS_ClockConstructor final : public DS_3D_Obj_Ctrl {
 public:
  static constexpr uint32_t kVersion = 1;

  // The centre is the middle of the current picture; the edges stay 0 until a live object's
  // AC_Static derives them.
  DS_ClockConstructor();
  DS_ClockConstructor(const DS_ClockConstructor& source);
  ~DS_ClockConstructor() override;

  template <class R>
  void Record(R& r) {
    r.About("An analogue clock showing the local time: the placement (left, right, top, bottom, centre x, centre y "
            "in picture pixels; the live clock makes it a square of side size around the centre), the hands' "
            "picture, then the 3D part (a clock starts with size 400, picture common_res.dll 71 and mesh 70).");
    r.Field("placement", placement);
    r.Field("handImage", handImage);
    r.Base("DS_3D_Obj_Ctrl", static_cast<DS_3D_Obj_Ctrl&>(*this));
  }
  void Write(DS_IOF_Virtual& out) const override;
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);

  std::unique_ptr<DS_3D_Obj_Ctrl> Clone() const override;
#ifdef _WIN32
  // The placement's corners (left, bottom), (left, top), (right, bottom), (right, top).
  void PixelQuad(DS_ScreenQuad& result) const override;
  // Whether the layer point, mapped into picture pixels, lies in the placement (edges included).
  bool HitTest(float x, float y) override;

  // Part 0 the face (picture `image`), part 1 the hands (`handImage`), both translucent.
  void BuildMeshParts(std::vector<DS_MeshPart>& parts) override;
  void AssignPartFrames(const DS_ElementList& elements, std::vector<DS_MeshPart>& parts) override;
  std::unique_ptr<DS_FrameTree> BuildFrameTree() override;
  int MarkerFlag(int) override { return 1; }
#endif

  // Binds the face picture again (nothing before a live object has made its parts).
  void OnImageChanged();

  // Edges left, right, top, bottom; further1 and further2 are the centre x and y.
  MediaRectangle placement;
  DS_ImageFileLink handImage;
  std::vector<DS_MeshPart>* partsRef = nullptr;  // the live object's parts; not owned

 private:
  void AttachImageListener();

  DS_ListenerSet m_Listeners;  // the face-picture listener
};

#ifdef _WIN32
// The controller of the face frame: world = scale x local x translation, kept in step with the
// clock's size and placement.
class AC_Static final : public DS_AnimationBase {
 public:
  explicit AC_Static(DS_ClockConstructor& clock);
  void Animate(DS_Frame& frame) override;

  // The placement becomes the square of side `value` around its centre (edges stored, nobody
  // told); the scale follows.
  void OnSizeChanged(uint32_t value);
  // The same square for the current size around the current centre; the translation follows.
  void OnPlacementChanged();

  DS_ClockConstructor& control;
  D3DXMATRIX scale;
  D3DXMATRIX translation;

 private:
  void PlaceSquare(uint32_t side);

  DS_ListenerSet m_Listeners;
};

// The controller of one hand: world = local x RotationY (the hand's angle now).
class AC_ClockArrow final : public DS_AnimationBase {
 public:
  explicit AC_ClockArrow(bool hour) : hourHand(hour ? 1 : 0) {}
  void Animate(DS_Frame& frame) override;

  uint8_t hourHand;
};
#endif
