// One slide of the slide show: a background layer, two object lists (the first drawn, the second
// only updated and switched with the slide), a name and its fade-in, display and fade-out times.
// Read from the document as parameter sets; at scene start each parameter set makes its live
// object and is deleted.
//
// The record and the holders need neither the device nor the full layer and live-object types:
// this header and the reading part build everywhere, the playing part (under _WIN32 in the
// source) for Windows only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/data/abobj_constructor.h"
#include "core/data/media_param.h"
#include "core/data/record_values.h"
#include "scene/ds_ref_ptr.h"
#include "scene/slide_sequence.h"

class DS_2D_Light;
class DS_ABObj;

// How a slide reads and writes the parts whose classes need the device: its layer (header and
// record, through the layer registry; a holder with no layer for a class name no registry holds)
// and its live objects (each writes the parameter set it owns). The product installs these over
// its layer registry; host tests install their own.
struct DS_SlidePartsIO {
  DS_RefPtr<DS_2D_Light> (*readLayer)(DS_IOF_Virtual& in) = nullptr;
  void (*writeLayer)(const DS_2D_Light& layer, DS_IOF_Virtual& out) = nullptr;
  void (*writeObject)(const DS_ABObj& object, DS_IOF_Virtual& out) = nullptr;
};
void DS_SetSlidePartsIO(const DS_SlidePartsIO& io);

// A slide's layer and its object lists, as the slide's record lists them: through the parts IO
// above. The content tool writes them itself (a layer description, a list of object descriptions).
template <>
struct DS_Value<DS_RefPtr<DS_2D_Light>> {
  // Throws DS_DocumentError when no reader is installed or the class is not registered.
  static void Read(DS_IOF_Virtual& in, DS_RefPtr<DS_2D_Light>& v);
  // A slide without a layer writes none.
  static void Write(DS_IOF_Virtual& out, const DS_RefPtr<DS_2D_Light>& v);
  static const char* Type() { return "layer"; }
  static std::string Text(const DS_RefPtr<DS_2D_Light>&) { return ""; }
};
// A ulong count, then each parameter set: the live objects' own once they exist, the read
// parameter sets before. Read, the sets are added to the list.
struct DS_SlideObjectList {
  std::vector<DS_RefPtr<DS_ABObj>>& objects;
  std::vector<std::unique_ptr<DS_ABObj_Constructor>>& sets;
};
template <>
struct DS_Value<DS_SlideObjectList> {
  static void Read(DS_IOF_Virtual& in, DS_SlideObjectList v);
  static void Write(DS_IOF_Virtual& out, const DS_SlideObjectList& v);
  static const char* Type() { return "objects"; }
  static std::string Text(const DS_SlideObjectList&) { return ""; }
};

class DS_SlideContainer : public DS_IOF_Item {
 public:
  static constexpr uint32_t kVersion = 2;
  static constexpr uint32_t kMinVersion = 1;  // version 1 has no list 2

  DS_SlideContainer();
  ~DS_SlideContainer() override;
  DS_SlideContainer(const DS_SlideContainer&) = delete;
  DS_SlideContainer& operator=(const DS_SlideContainer&) = delete;

  // "DS_SlideContainer" version 2. A layer or parameter set of a class no registry holds leaves
  // the rest of the stream unreadable: the slide throws DS_DocumentError, so that no null layer
  // or object is ever kept.
  template <class R>
  void Record(R& r) {
    r.About("A slide: its fade-in, fade-out and display times in seconds, a further setting, its name, its layer, "
            "the objects drawn (list 1) and those only switched on with the slide (list 2).");
    r.Field("fade_in", fadeIn, DS_Range(0, 86400));
    r.Field("fade_out", fadeOut, DS_Range(0, 86400));
    r.Field("display", display, DS_Range(0, 86400));
    r.Field("further", furtherSetting);
    r.Field("name", name);
    r.Field("layer", m_Layer);
    r.Field("objects", DS_SlideObjectList{m_Objects1, m_Params1});
    r.Field("list2", DS_SlideObjectList{m_Objects2, m_Params2}, DS_Since(2));
  }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);
  void Write(DS_IOF_Virtual& out) const override;

  DS_SlideTimes Times() const;
  DS_RefPtr<DS_2D_Light> GetLayer() const { return m_Layer; }

#ifdef _WIN32
  // Scene start: the layer's device objects and a provisional 1 x 1 layout, then one live object
  // per parameter set (the parameter sets are deleted afterwards).
  void CreateObjects();
  // The scene of the current slide up to the layer's post render, which EndFrame draws.
  void Render();
  void EndFrame();
  void Update(float time);
  // The slide becomes current: its list-1 objects restart and its device objects are made again.
  void Restore();
  void SetSize(int width, int height);
  void SetPicturePosition(int mode);
  // List 2 only: its objects are switched on while the slide is current.
  void SetActive(bool active);
  // Device objects of the layer and of the live objects of both lists, never the resource
  // manager's (the scene tells it). OnDeviceLost releases them, on a device loss and when the
  // slide stops being current, so that only the current slide holds render targets; it may come
  // again without a reset in between. OnDeviceReset makes them again; it does nothing when they
  // are already made, so every object sees exactly one reset after each loss.
  void OnDeviceLost();
  void OnDeviceReset();
  bool DeviceObjectsMade() const { return m_DeviceObjectsMade; }
#endif

  MediaParamT<uint32_t> fadeIn;
  MediaParamT<uint32_t> fadeOut;
  MediaParamT<uint32_t> display;
  MediaParamT<int32_t> furtherSetting;
  MediaParamTB<ds_string> name;

  const std::vector<DS_RefPtr<DS_ABObj>>& Objects1() const { return m_Objects1; }
  const std::vector<DS_RefPtr<DS_ABObj>>& Objects2() const { return m_Objects2; }
  const std::vector<std::unique_ptr<DS_ABObj_Constructor>>& ParameterSets1() const { return m_Params1; }
  const std::vector<std::unique_ptr<DS_ABObj_Constructor>>& ParameterSets2() const { return m_Params2; }

 private:
  DS_RefPtr<DS_2D_Light> m_Layer;
  std::vector<DS_RefPtr<DS_ABObj>> m_Objects1;
  std::vector<DS_RefPtr<DS_ABObj>> m_Objects2;
  std::vector<std::unique_ptr<DS_ABObj_Constructor>> m_Params1;
  std::vector<std::unique_ptr<DS_ABObj_Constructor>> m_Params2;
#ifdef _WIN32
  bool m_DeviceObjectsMade = false;  // reset since the last loss or release
#endif
};
