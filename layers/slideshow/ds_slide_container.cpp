#include "layers/slideshow/ds_slide_container.h"

#include "core/data/class_registry.h"
#include "core/data/media_kinds.h"
#include "layers/slideshow/slide_registry.h"

namespace {

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
