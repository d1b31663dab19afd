#include "objects/clock/ds_clock_constructor.h"

#include "core/data/class_registry.h"
#include "core/render/render_context.h"
#ifdef _WIN32
#include "core/render/quads.h"
#include "core/render/view_state.h"
#include "objects/clock/clock_time.h"
#include "objects/base_objects3d/object_matrices.h"
#endif

// Parameter set --------------------------------------------------------------------------------

DS_ClockConstructor::DS_ClockConstructor() {
  const DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
  placement.further1.Store(mapping.pictureWidth / 2);
  placement.further2.Store(mapping.pictureHeight / 2);
  handImage.StoreKey(CommonResourceKey(72));
  mesh.StoreKey(CommonResourceKey(70));  // face and hands alike
  image.StoreKey(CommonResourceKey(71));  // the face
  size.SetDefault(400u);
  AttachImageListener();
}

DS_ClockConstructor::DS_ClockConstructor(const DS_ClockConstructor& source)
    : DS_3D_Obj_Ctrl(source), placement(source.placement), handImage(source.handImage) {
  AttachImageListener();
}

DS_ClockConstructor::~DS_ClockConstructor() = default;

void DS_ClockConstructor::AttachImageListener() {
  DS_AttachListener2(m_Listeners, image, this, &DS_ClockConstructor::OnImageChanged);
}

void DS_ClockConstructor::Write(DS_IOF_Virtual& out) const { DS_WriteRecord(out, *this, "DS_ClockConstructor"); }

void DS_ClockConstructor::ReadFields(DS_IOF_Virtual& in, uint32_t version) {
  DS_ReadRecordFields(in, *this, version);
}

std::unique_ptr<DS_3D_Obj_Ctrl> DS_ClockConstructor::Clone() const {
  return std::make_unique<DS_ClockConstructor>(*this);
}

#ifndef _WIN32
// The host makes no live clock, so there are no parts to bind.
void DS_ClockConstructor::OnImageChanged() {}
#else
void DS_ClockConstructor::OnImageChanged() {
  if (partsRef && !partsRef->empty()) DS_MeshPart::BindTexture(image, partsRef->front(), mesh);
}

// Live side (Windows only) -----------------------------------------------------------------------

void DS_ClockConstructor::PixelQuad(DS_ScreenQuad& result) const {
  result.Init();
  const auto l = static_cast<float>(placement.left.Get()), r = static_cast<float>(placement.right.Get());
  const auto t = static_cast<float>(placement.top.Get()), b = static_cast<float>(placement.bottom.Get());
  const float xs[4] = {l, l, r, r}, ys[4] = {b, t, b, t};
  for (int i = 0; i < 4; ++i) {
    result.corners[i].x = xs[i];
    result.corners[i].y = ys[i];
  }
}

bool DS_ClockConstructor::HitTest(float x, float y) { return PlacementContainsLayerPoint(placement, x, y); }

void DS_ClockConstructor::BuildMeshParts(std::vector<DS_MeshPart>& parts) {
  parts.clear();
  parts.resize(2);
  DS_MeshPart::BindTexture(image, parts[0], mesh);
  DS_MeshPart::BindTexture(handImage, parts[1], mesh);
  parts[0].flags = DS_MeshPart::kTranslucent;
  parts[1].flags = DS_MeshPart::kTranslucent;
  partsRef = &parts;
}

void DS_ClockConstructor::AssignPartFrames(const DS_ElementList& elements, std::vector<DS_MeshPart>& parts) {
  AssignRootsAndChildren(elements, parts);
}

std::unique_ptr<DS_FrameTree> DS_ClockConstructor::BuildFrameTree() {
  auto tree = std::make_unique<DS_FrameTree>();
  DS_Frame& root = tree->Root();
  // The quarter turn about X lays the model's xz square into the picture, +z up.
  root.local = ScalingMatrix(0.01f) * RotationXDegrees(90.0f);
  root.SetController(std::make_unique<AC_Static>(*this));
  DS_Frame& hour = tree->Children().Append();
  hour.local = ScalingMatrix(0.01f, 1.0f, 0.3f) * TranslationMatrix(0.0f, 0.0f, 10.0f);
  hour.SetController(std::make_unique<AC_ClockArrow>(true));
  DS_Frame& minute = tree->Children().Append();
  minute.local = ScalingMatrix(0.01f, 1.0f, 0.38f) * TranslationMatrix(0.0f, 0.0f, 13.0f);
  minute.SetController(std::make_unique<AC_ClockArrow>(false));
  return tree;
}

// Controllers ------------------------------------------------------------------------------------

AC_Static::AC_Static(DS_ClockConstructor& clock) : control(clock) {
  m_Listeners.SetOwner(this, false);
  DS_AttachListener(m_Listeners, control.size, &AC_Static::OnSizeChanged);
  DS_AttachListener2(m_Listeners, control.placement, this, &AC_Static::OnPlacementChanged);
  translation = TranslationMatrix(static_cast<float>(control.placement.further1.Get()),
                                  static_cast<float>(control.placement.further2.Get()), 0.0f);
  scale = ScalingMatrix(static_cast<float>(control.size.Get()));
}

void AC_Static::PlaceSquare(uint32_t side) {
  const auto h = static_cast<int32_t>(side / 2);
  const int32_t cx = control.placement.further1.Get(), cy = control.placement.further2.Get();
  control.placement.left.SetDefault(cx - h);
  control.placement.right.SetDefault(cx + h);
  control.placement.top.SetDefault(cy - h);
  control.placement.bottom.SetDefault(cy + h);
}

void AC_Static::OnSizeChanged(uint32_t value) {
  PlaceSquare(value);
  scale = ScalingMatrix(static_cast<float>(value));
}

void AC_Static::OnPlacementChanged() {
  PlaceSquare(control.size.Get());
  translation = TranslationMatrix(static_cast<float>(control.placement.further1.Get()),
                                  static_cast<float>(control.placement.further2.Get()), 0.0f);
}

void AC_Static::Animate(DS_Frame& frame) { frame.world = scale * frame.local * translation; }

void AC_ClockArrow::Animate(DS_Frame& frame) {
  struct tm now = {};
  // A time the runtime cannot convert leaves the hand's world as it was.
  if (!ClockLocalTime(now)) return;
  const float angle = hourHand ? HourHandDegrees(now) : MinuteHandDegrees(now);
  frame.world = frame.local * RotationYDegrees(angle);
}

#endif

DS_REGISTER_CONSTRUCTOR(DS_ClockConstructor);
