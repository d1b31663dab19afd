#include "core/layer/view_obj_ctrl.h"

#include <cstdlib>

#include "core/render/render_context.h"
#ifdef _WIN32
#include "core/render/quads.h"
#include "core/render/view_state.h"
#endif

namespace {
int StandardRandom() { return std::rand(); }

void PushEdge(MediaParamT<int32_t>& edge, float fraction, int size) {
  edge.Set(PixelOfFraction(fraction, size));
}

const DS_ScreenMapping& Mapping() { return CurrentRenderContext().mapping; }
}  // namespace

DS_ViewObjCtrl::DS_ViewObjCtrl() : random(StandardRandom) { AttachRectListeners(); }

DS_ViewObjCtrl::DS_ViewObjCtrl(const DS_ViewObjCtrl& source)
    : DS_ABObj_Constructor(source), flag(source.flag), view(source.view), random(source.random) {
  speed.SetDefault(source.speed.Get());
  AttachRectListeners();
}

DS_ViewObjCtrl::~DS_ViewObjCtrl() = default;

float DS_ViewObjCtrl::PixelLeft() const { return view.left * static_cast<float>(Mapping().pictureWidth); }
float DS_ViewObjCtrl::PixelRight() const { return view.right * static_cast<float>(Mapping().pictureWidth); }
float DS_ViewObjCtrl::PixelTop() const { return view.top * static_cast<float>(Mapping().pictureHeight); }
float DS_ViewObjCtrl::PixelBottom() const { return view.bottom * static_cast<float>(Mapping().pictureHeight); }

#ifdef _WIN32
bool PlacementContainsLayerPoint(const MediaRectangle& placement, float x, float y) {
  float picture[3];
  MapScreenPointToPicture(x * Mapping().scaleX, y * Mapping().scaleY, 0.0f, picture);
  return placement.ContainsPicturePoint(picture[0], picture[1]);
}

void DS_ViewObjCtrl::PixelQuad(DS_ScreenQuad& result) const {
  result.Init();
  const float l = PixelLeft(), r = PixelRight(), t = PixelTop(), b = PixelBottom();
  const float xs[4] = {l, l, r, r}, ys[4] = {b, t, b, t};
  for (int i = 0; i < 4; ++i) {
    result.corners[i].x = xs[i];
    result.corners[i].y = ys[i];
  }
}
#endif

void DS_ViewObjCtrl::PushRectToParams() {
  PushEdge(rectangle.left, view.left, Mapping().pictureWidth);
  PushEdge(rectangle.right, view.right, Mapping().pictureWidth);
  PushEdge(rectangle.top, view.top, Mapping().pictureHeight);
  PushEdge(rectangle.bottom, view.bottom, Mapping().pictureHeight);
}

void DS_ViewObjCtrl::AttachRectListeners() {
  PushRectToParams();
  m_Listeners.SetOwner(this, false);
  DS_AttachListener(m_Listeners, rectangle.left, &DS_ViewObjCtrl::OnLeftChanged);
  DS_AttachListener(m_Listeners, rectangle.right, &DS_ViewObjCtrl::OnRightChanged);
  DS_AttachListener(m_Listeners, rectangle.top, &DS_ViewObjCtrl::OnTopChanged);
  DS_AttachListener(m_Listeners, rectangle.bottom, &DS_ViewObjCtrl::OnBottomChanged);
}

// A picture of size 0 (one that failed to decode) leaves the fractions as they are.
void DS_ViewObjCtrl::OnLeftChanged(int32_t pixel) {
  view.left = FractionOfPixel(pixel, Mapping().pictureWidth, view.left);
}
void DS_ViewObjCtrl::OnRightChanged(int32_t pixel) {
  view.right = FractionOfPixel(pixel, Mapping().pictureWidth, view.right);
}
void DS_ViewObjCtrl::OnTopChanged(int32_t pixel) {
  view.top = FractionOfPixel(pixel, Mapping().pictureHeight, view.top);
}
void DS_ViewObjCtrl::OnBottomChanged(int32_t pixel) {
  view.bottom = FractionOfPixel(pixel, Mapping().pictureHeight, view.bottom);
}

DS_Point3 DS_ViewObjCtrl::RandomPoint() const {
  return RandomPointIn(PixelLeft(), PixelRight(), PixelTop(), PixelBottom(), random);
}

DS_Point3 DS_ViewObjCtrl::RandomPointInset(float halfWidth, float halfHeight) const {
  return RandomPointIn(PixelLeft() + halfWidth, PixelRight() - halfWidth, PixelTop() + halfHeight,
                       PixelBottom() - halfHeight, random);
}

void DS_ViewObjCtrl::WriteObject(DS_IOF_Virtual& out) const { DS_WriteRecord(out, *this, "DS_ViewObjCtrl"); }

void DS_ViewObjCtrl::WriteFields(DS_IOF_Virtual& out) const {
  DS_RecordWriter writer(out, kVersion);
  DS_WalkRecord(const_cast<DS_ViewObjCtrl&>(*this), writer);
}

void DS_ViewObjCtrl::ReadObject(DS_IOF_Virtual& in) { DS_ReadNestedRecord(in, *this); }

void DS_ViewObjCtrl::ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }
