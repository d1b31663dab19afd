// The 3D objects: textured X-file meshes drawn at the frames of small frame trees, one tree per
// element, each tree moved by its animation controllers. DS_3D_Obj_Ctrl is the parameter set
// every such kind derives from (count, size, one picture, one mesh over the view part); its live
// object DS_3DObjArray owns a clone of it, the element trees and the drawable parts, keeps as
// many trees as the count says, advances them every frame and draws every part through the
// layer's 3D-object draw (unlit: the layer's defaults keep lighting off).
//
// A kind says which parts exist (BuildMeshParts), how one element tree is built
// (BuildFrameTree) and at which frames of the trees each part is drawn (AssignPartFrames).
//
// The parameter sets are platform-free: the host build reads and writes their records (the
// document tests, the fuzzer) and makes no live object. Everything that needs the device is
// Windows only.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "core/data/change_listeners.h"
#include "core/data/file_links.h"
#include "core/data/record_values.h"
#include "core/layer/ds_abobj.h"
#include "core/layer/view_obj_ctrl.h"
#ifdef _WIN32
#include "objects/base_objects3d/ds_mesh_part.h"
#include "objects/base_objects3d/frame_tree.h"
#endif

class DS_MeshPart;
class DS_FrameTree;
using DS_ElementList = std::list<std::unique_ptr<DS_FrameTree>>;

class DS_3D_Obj_Ctrl : public DS_ViewObjCtrl {
 public:
  // The version of the nested "DS_3D_Obj_Ctrl" part; each kind states its own.
  static constexpr uint32_t kVersion = 1;
  // Far above any scene: the element count used is capped here, so that a damaged count neither
  // exhausts memory nor builds trees without end.
  static constexpr uint32_t kMaxElements = 16383;

  DS_3D_Obj_Ctrl();
  DS_3D_Obj_Ctrl(const DS_3D_Obj_Ctrl& source);
  DS_3D_Obj_Ctrl& operator=(const DS_3D_Obj_Ctrl&) = delete;
  ~DS_3D_Obj_Ctrl() override;

  // A new DS_3DObjArray over Clone() (none on the host).
  std::unique_ptr<DS_ABObj> CreateObject() const override;
  virtual std::unique_ptr<DS_3D_Obj_Ctrl> Clone() const = 0;

#ifdef _WIN32
  // The parts of one live object, made anew.
  virtual void BuildMeshParts(std::vector<DS_MeshPart>& parts) = 0;
  // Fills the parts' frame lists from the current element trees.
  virtual void AssignPartFrames(const DS_ElementList& elements, std::vector<DS_MeshPart>& parts) {
    (void)elements;
    (void)parts;
  }
  // One new element tree with its controllers.
  virtual std::unique_ptr<DS_FrameTree> BuildFrameTree() = 0;
  // The marker mode DrawBounds hands the layer.
  virtual int MarkerFlag(int mode) {
    (void)mode;
    return 0;
  }
  // The frame lists of two-part kinds: part 0 drawn at every root (in element order), part 1 at
  // every child, each element's children put in front of those before them. Fewer than two
  // parts are left as they are.
  static void AssignRootsAndChildren(const DS_ElementList& elements, std::vector<DS_MeshPart>& parts);
#endif

  // The nested part; its values are stored directly.
  template <class R>
  void Record(R& r) {
    r.About("The base part of the 3D objects (butterflies, clock): the number of elements, their size (each kind's "
            "own unit), the picture and the mesh (links), then the view part.");
    r.Field("count", count);
    r.Field("size", size);
    r.Field("image", image);
    r.Field("mesh", mesh);
    r.Base("DS_ViewObjCtrl", static_cast<DS_ViewObjCtrl&>(*this));
  }

  MediaParamT<uint32_t> count{1u};
  MediaParamT<uint32_t> size{50u};
  DS_ImageFileLink image;
  DS_MeshFile mesh;
};

// Resource `id` of "common_res.dll", where the kinds' default meshes and pictures lie.
inline DS_ResourceKey CommonResourceKey(int id) { return DS_ResourceKey{u"common_res.dll", id}; }

// rand() / 32767 (the runtime draws 0..32767).
float RandomUnit();
// The low bit of a fresh rand().
int RandomCoin();

#ifdef _WIN32
class DS_3DObjArray : public DS_ABObj {
 public:
  explicit DS_3DObjArray(std::unique_ptr<DS_3D_Obj_Ctrl> clone);
  ~DS_3DObjArray() override;

  void Render(DS_2D_Light& layer) override;
  void DrawBounds(DS_2D_Light& layer, int mode) override;
  // Steps the clone, then updates every element tree in order.
  void Update(float time) override;
  void SyncRect() override {}
  bool HitTest(float x, float y) override { return m_Ctrl->HitTest(x, y); }

  // Elements leave from the front and join at the back until there are n (capped at
  // kMaxElements); then the parts' frame lists are filled again.
  void OnCountChanged(uint32_t n);

  DS_3D_Obj_Ctrl& Ctrl() const { return *m_Ctrl; }
  const DS_ElementList& Elements() const { return m_Elements; }
  const std::vector<DS_MeshPart>& Parts() const { return m_Parts; }

 private:
  DS_3D_Obj_Ctrl* m_Ctrl;  // the clone the base owns
  std::vector<DS_MeshPart> m_Parts;
  DS_ElementList m_Elements;  // after the parts: the trees go first
  DS_ListenerSet m_Listeners;  // last: the count listener leaves before anything else goes
};
#endif
