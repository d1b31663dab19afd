#include "scene/ds_slide_container.h"

#include "core/data/class_registry.h"
#include "core/data/media_kinds.h"
#include "scene/slide_registry.h"

#ifdef _WIN32
#include <vector>

#include "core/layer/ds_2d_light.h"
#include "core/layer/ds_abobj.h"
#endif

namespace {

// Installed once for the process by the program that reads the documents.
DS_SlidePartsIO g_PartsIO;

}  // namespace

void DS_Value<DS_RefPtr<DS_2D_Light>>::Read(DS_IOF_Virtual& in, DS_RefPtr<DS_2D_Light>& v) {
  if (!g_PartsIO.readLayer) throw DS_DocumentError("no layer reader is installed");
  DS_RefPtr<DS_2D_Light> layer = g_PartsIO.readLayer(in);
  if (!layer) throw DS_DocumentError("a slide names a layer class that is not registered");
  v = layer;
}

void DS_Value<DS_RefPtr<DS_2D_Light>>::Write(DS_IOF_Virtual& out, const DS_RefPtr<DS_2D_Light>& v) {
  if (v && g_PartsIO.writeLayer) g_PartsIO.writeLayer(*v, out);
}

void DS_Value<DS_SlideObjectList>::Read(DS_IOF_Virtual& in, DS_SlideObjectList v) {
  const uint32_t count = DS_ReadCount(in, DS_MIN_HEADER_BYTES);
  for (uint32_t i = 0; i < count; ++i) {
    auto set = ReadConstructorObject(in);
    if (!set) throw DS_DocumentError("a slide names an object class that is not registered");
    v.sets.push_back(std::move(set));
  }
}

void DS_Value<DS_SlideObjectList>::Write(DS_IOF_Virtual& out, const DS_SlideObjectList& v) {
  if (!v.objects.empty() && g_PartsIO.writeObject) {
    out.WriteULong(static_cast<uint32_t>(v.objects.size()));
    for (const auto& object : v.objects) g_PartsIO.writeObject(*object, out);
    return;
  }
  out.WriteULong(static_cast<uint32_t>(v.sets.size()));
  for (const auto& set : v.sets) set->Write(out);
}

void DS_SetSlidePartsIO(const DS_SlidePartsIO& io) { g_PartsIO = io; }

DS_SlideContainer::DS_SlideContainer() {
  fadeIn.SetDefault(1);
  fadeOut.SetDefault(1);
  display.SetDefault(10);
  furtherSetting.SetDefault(0);
}

// Objects of list 2 go first, then list 1, then the layer (members in reverse order).
DS_SlideContainer::~DS_SlideContainer() = default;

void DS_SlideContainer::ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }

DS_SlideTimes DS_SlideContainer::Times() const {
  DS_SlideTimes times;
  times.fadeIn = static_cast<float>(fadeIn.Get());
  times.display = static_cast<float>(display.Get());
  times.fadeOut = static_cast<float>(fadeOut.Get());
  return times;
}

void DS_SlideContainer::Write(DS_IOF_Virtual& out) const { DS_WriteRecord(out, *this, "DS_SlideContainer"); }

DS_REGISTER_SLIDE(DS_SlideContainer);

#ifdef _WIN32
// The slide on the device: its layer and live objects. ------------------------------------------

namespace {

// A kind whose parameter set makes no live object leaves no entry: no null object is kept.
void CreateLiveObjects(std::vector<std::unique_ptr<DS_ABObj_Constructor>>& sets,
                       std::vector<DS_RefPtr<DS_ABObj>>& objects) {
  for (const auto& set : sets) {
    std::unique_ptr<DS_ABObj> object = set->CreateObject();
    if (object) objects.emplace_back(std::move(object));
  }
}

}  // namespace

void DS_SlideContainer::CreateObjects() {
  if (DS_RefPtr<DS_2D_Light> layer = GetLayer()) {
    layer->CreateDeviceObjects();
    layer->Layout(1, 1);
  }
  CreateLiveObjects(m_Params1, m_Objects1);
  CreateLiveObjects(m_Params2, m_Objects2);
  m_Params1.clear();
  m_Params2.clear();
}

void DS_SlideContainer::Render() {
  DS_RefPtr<DS_2D_Light> layer = GetLayer();
  if (!layer) return;
  std::vector<DS_ABObj*> objects;
  objects.reserve(m_Objects1.size());
  for (const auto& object : m_Objects1) objects.push_back(object.get());
  layer->RenderScene(objects.data(), objects.size());
}

void DS_SlideContainer::EndFrame() {
  if (DS_RefPtr<DS_2D_Light> layer = GetLayer()) layer->PostRender();
}

void DS_SlideContainer::Update(float time) {
  if (DS_RefPtr<DS_2D_Light> layer = GetLayer()) layer->Update(time);
  for (const auto& object : m_Objects1) object->Update(time);
  for (const auto& object : m_Objects2) object->Update(time);
}

void DS_SlideContainer::Restore() {
  for (const auto& object : m_Objects1) object->RestartControl();
  OnDeviceReset();
}

void DS_SlideContainer::SetSize(int width, int height) {
  if (DS_RefPtr<DS_2D_Light> layer = GetLayer()) layer->Layout(width, height);
}

void DS_SlideContainer::SetPicturePosition(int mode) {
  if (DS_RefPtr<DS_2D_Light> layer = GetLayer()) layer->SetPicturePosition(mode);
}

void DS_SlideContainer::SetActive(bool active) {
  for (const auto& object : m_Objects2) object->SetActive(active);
}

void DS_SlideContainer::OnDeviceLost() {
  if (DS_RefPtr<DS_2D_Light> layer = GetLayer()) layer->OnDeviceLost();
  // Objects holding default-pool targets or fonts must let go of them, or the reset fails.
  for (const auto& object : m_Objects1) object->OnDeviceLost();
  for (const auto& object : m_Objects2) object->OnDeviceLost();
  m_DeviceObjectsMade = false;
}

void DS_SlideContainer::OnDeviceReset() {
  if (m_DeviceObjectsMade) return;
  if (DS_RefPtr<DS_2D_Light> layer = GetLayer()) {
    layer->OnDeviceReset();
    // The border quads belong to the output's view, which the slide shown before used.
    layer->ApplyBorderImage();
  }
  for (const auto& object : m_Objects1) object->OnDeviceReset();
  for (const auto& object : m_Objects2) object->OnDeviceReset();
  m_DeviceObjectsMade = true;
}
#endif  // _WIN32
