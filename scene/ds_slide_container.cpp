#include "scene/ds_slide_container.h"

#include "core/data/class_registry.h"
#include "core/data/media_kinds.h"
#include "scene/slide_registry.h"

namespace {

DS_SlidePartsIO g_PartsIO;

void ReadParameterSets(DS_IOF_Virtual& in, std::vector<std::unique_ptr<DS_ABObj_Constructor>>& sets) {
  const uint32_t count = DS_ReadCount(in, DS_MIN_HEADER_BYTES);
  for (uint32_t i = 0; i < count; ++i) {
    auto set = ReadConstructorObject(in);
    if (!set) throw DS_DocumentError("a slide names an object class that is not registered");
    sets.push_back(std::move(set));
  }
}

}  // namespace

void DS_SetSlidePartsIO(const DS_SlidePartsIO& io) { g_PartsIO = io; }

DS_SlideContainer::DS_SlideContainer() {
  fadeIn.SetDefault(1);
  fadeOut.SetDefault(1);
  display.SetDefault(10);
  furtherSetting.SetDefault(0);
}

// Objects of list 2 go first, then list 1, then the layer (members in reverse order).
DS_SlideContainer::~DS_SlideContainer() = default;

void DS_SlideContainer::ReadFields(DS_IOF_Virtual& in, uint32_t version) {
  ReadParamValue(in, fadeIn);
  ReadParamValue(in, fadeOut);
  ReadParamValue(in, display);
  ReadParamValue(in, furtherSetting);
  ReadParamValue(in, name);
  if (!g_PartsIO.readLayer) throw DS_DocumentError("no layer reader is installed");
  DS_RefPtr<DS_2D_Light> layer = g_PartsIO.readLayer(in);
  if (!layer) throw DS_DocumentError("a slide names a layer class that is not registered");
  m_Layer = layer;
  ReadParameterSets(in, m_Params1);
  if (version > 1) ReadParameterSets(in, m_Params2);
}

DS_SlideTimes DS_SlideContainer::Times() const {
  DS_SlideTimes times;
  times.fadeIn = static_cast<float>(fadeIn.Get());
  times.display = static_cast<float>(display.Get());
  times.fadeOut = static_cast<float>(fadeOut.Get());
  return times;
}

void DS_SlideContainer::Write(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"DS_SlideContainer", kVersion);
  WriteParamValue(out, fadeIn);
  WriteParamValue(out, fadeOut);
  WriteParamValue(out, display);
  WriteParamValue(out, furtherSetting);
  WriteParamValue(out, name);
  if (m_Layer && g_PartsIO.writeLayer) g_PartsIO.writeLayer(*m_Layer, out);
  const auto writeList = [&](const std::vector<DS_RefPtr<DS_ABObj>>& objects,
                             const std::vector<std::unique_ptr<DS_ABObj_Constructor>>& sets) {
    if (!objects.empty() && g_PartsIO.writeObject) {
      out.WriteULong(static_cast<uint32_t>(objects.size()));
      for (const auto& object : objects) g_PartsIO.writeObject(*object, out);
      return;
    }
    out.WriteULong(static_cast<uint32_t>(sets.size()));
    for (const auto& set : sets) set->Write(out);
  };
  writeList(m_Objects1, m_Params1);
  writeList(m_Objects2, m_Params2);
}

DS_REGISTER_SLIDE(DS_SlideContainer);
