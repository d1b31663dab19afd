// The parameter set of every visible object system: the rectangle of the picture in which the
// system lives, kept both in picture pixels (what the authoring side edits) and as fractions of
// the picture size (what the system uses, so that it scales with the picture), a speed, and the
// per-frame time step derived from it.
//
// The record and the rectangle arithmetic are platform-free (the picture size they scale with is
// the current render context's, render_context.h); only the pixel quad needs the device types.
#pragma once

#include <cstdint>

#include "core/data/abobj_constructor.h"
#include "core/data/change_listeners.h"
#include "core/data/media_kinds.h"
#include "core/data/record_values.h"
#include "core/layer/view_fractions.h"

struct DS_ScreenQuad;

// The fractions are stored left, right, top, bottom.
template <>
struct DS_Value<DS_ViewFractions> {
  static void Read(DS_IOF_Virtual& in, DS_ViewFractions& v) {
    for (float* f : {&v.left, &v.right, &v.top, &v.bottom}) in.ReadFloat(*f);
  }
  static void Write(DS_IOF_Virtual& out, const DS_ViewFractions& v) {
    for (float f : {v.left, v.right, v.top, v.bottom}) out.WriteFloat(f);
  }
  static const char* Type() { return "float[4]"; }
  static std::string Text(const DS_ViewFractions& v) {
    return "[" + DS_JsonFloat(v.left) + ", " + DS_JsonFloat(v.right) + ", " + DS_JsonFloat(v.top) + ", " +
           DS_JsonFloat(v.bottom) + "]";
  }
};

#ifdef _WIN32
// The hit test of an object placed by a rectangle of picture pixels: the layer point is scaled to
// back-buffer pixels by the screen mapping, mapped into picture pixels through the current view
// (zoom, pan, picture position), and then lies inside when it is within the edges, edges
// included.
bool PlacementContainsLayerPoint(const MediaRectangle& placement, float x, float y);
#endif

class DS_ViewObjCtrl : public DS_ABObj_Constructor {
 public:
  static constexpr uint32_t kVersion = 2;
  static constexpr uint32_t kDefaultSpeed = 50;

  DS_ViewObjCtrl();
  // The fractions, flag and speed are copied; the pixel rectangle is made again from the
  // fractions with the picture size current now, and the step starts from 0.
  DS_ViewObjCtrl(const DS_ViewObjCtrl& source);
  DS_ViewObjCtrl& operator=(const DS_ViewObjCtrl&) = delete;
  ~DS_ViewObjCtrl() override;

#ifdef _WIN32
  // The view rectangle in picture pixels: corners (L W, B H), (L W, T H), (R W, B H), (R W, T H),
  // z 1, unit texture coordinates.
  virtual void PixelQuad(DS_ScreenQuad& result) const;
#endif
  virtual bool HitTest(float x, float y) {
    (void)x;
    (void)y;
    return false;
  }

  float PixelLeft() const;
  float PixelRight() const;
  float PixelTop() const;
  float PixelBottom() const;

  // Each edge := trunc(fraction x picture size), telling the edge's observers when it changes.
  void PushRectToParams();
  void AttachRectListeners();
  void OnLeftChanged(int32_t pixel);
  void OnRightChanged(int32_t pixel);
  void OnTopChanged(int32_t pixel);
  void OnBottomChanged(int32_t pixel);

  // Once per frame with the application time.
  void Step(float time) { timeStep.Step(time, speed.Get()); }
  float StepValue() const { return timeStep.step; }
  float Phase() const { return timeStep.phase; }
  float FrameTime() const { return timeStep.frameTime; }

  // A random point of the view rectangle in picture pixels (x drawn first), z 0; the inset form
  // keeps a particle of the given half size inside.
  DS_Point3 RandomPoint() const;
  DS_Point3 RandomPointInset(float halfWidth, float halfHeight) const;

  // Stored values go in directly: the pixel rectangle and the fractions stay exactly as read.
  template <class R>
  void Record(R& r) {
    r.About("The base part of every visible object system: its rectangle of the picture in pixels (left, right, "
            "top, bottom and two further values), the same as fractions of the picture size (left, right, top, "
            "bottom), a flag and the speed.");
    r.Field("rectangle", rectangle);
    r.Field("view", view);
    r.Field("flag", flag);
    r.Field("speed", speed, DS_Since(2));
    r.Base("DS_ABObj_Constructor", static_cast<DS_ABObj_Constructor&>(*this));
  }
  void WriteObject(DS_IOF_Virtual& out) const;
  void WriteFields(DS_IOF_Virtual& out) const;
  // The nested part: its header (the name is not compared), then the fields of its version.
  void ReadObject(DS_IOF_Virtual& in);
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);

  MediaRectangle rectangle;
  MediaParamT<uint32_t> speed{kDefaultSpeed};
  bool flag = false;  // carried in the record; nothing reads it
  DS_ViewFractions view;
  DS_ViewTimeStep timeStep;
  DS_RandomSource random;  // rand unless a test supplies a sequence

 private:
  DS_ListenerSet m_Listeners;
};
