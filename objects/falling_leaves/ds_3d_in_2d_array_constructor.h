// Falling 3D objects in 2D (leaves, petals): copies of one small textured mesh scattered over
// the whole picture, drifting across it in a common direction, each tumbling about three axes and
// swinging on a circle, and coming back in at the opposite side when it leaves the picture. The
// live object holds the mesh once as the root of a frame tree with one child frame per copy; each
// child is moved by a DS_LeafFallAnim (the drift of DS_SreamAnim plus the tumbling), timed by the
// process-wide g_FallClock that the live object sets. There is no view rectangle and no speed
// of the object's own; mesh and picture are resource entries, not links.
//
// The parameter set and its motion are platform-free (the host reads and writes the record and
// makes no live object); the live object and the controllers are Windows only.
#pragma once

#include <cstdint>
#include <memory>

#include "core/data/abobj_constructor.h"
#include "core/data/ds_named_blob.h"
#include "core/data/ds_types.h"
#include "core/data/media_param.h"
#include "core/data/record_values.h"
#include "core/layer/ds_abobj.h"
#ifdef _WIN32
#include <d3dx9math.h>

#include "core/render/animation_base.h"
#include "core/render/mesh.h"
#include "objects/base_objects3d/frame_tree.h"
#endif

// The application time given to the last DS_3D_in_2D_array::Update, shared by every output; every
// DS_SreamAnim measures its time steps from it.
extern float g_FallClock;

// The motion parameters of the falling objects.
struct DS_FallMotion {
  DS_FallMotion() { SetAngle(0); }
  DS_FallMotion(const DS_FallMotion& source);
  DS_FallMotion& operator=(const DS_FallMotion&) = delete;

  // Stores the angle and turns both axes (the unit x axis turned about Z by the angle and by the
  // angle + 90, y negated): 0 moves to the right, 90 up the picture.
  void SetAngle(uint32_t degrees);

  MediaParamT<uint32_t> size{0u};  // element diameter in pixels, also the wrapping margin
  uint32_t angle = 0;
  DS_Vector4 directionAxis;
  DS_Vector4 crossAxis;
  MediaParamT<uint32_t> speed{50u};
  MediaParamT<uint32_t> sway{0u};        // sideways drift and the rate of the swing angles
  MediaParamT<uint32_t> swayChange{0u};  // how often the drift may change; 0: never
  MediaParamT<uint32_t> spin{100u};      // the rate of the tumbling angles
};

class DS_3D_in_2D_array;

class DS_3D_in_2D_array_Constructor final : public DS_ABObj_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;
  // Far above any scene: the element count used is capped here.
  static constexpr uint32_t kMaxElements = 16383;

  DS_3D_in_2D_array_Constructor() = default;
  DS_3D_in_2D_array_Constructor(const DS_3D_in_2D_array_Constructor& source);
  DS_3D_in_2D_array_Constructor& operator=(const DS_3D_in_2D_array_Constructor&) = delete;
  ~DS_3D_in_2D_array_Constructor() override;

  // Each resource entry is its id, library path, bytes and name, field by field.
  template <class R>
  void Record(R& r) {
    r.About("Falling 3D objects (leaves): the object name (stored again in the base part), the count, the mesh and "
            "the picture as resource entries (each: library id, library path, bytes - always 0 here, the mesh must "
            "be a library resource - and name), the element size in pixels, speed, sway, sway change, spin and the "
            "direction angle in degrees (0 right, 90 up, 270 down).");
    r.Field("title", objectName);
    r.Field("count", count);
    r.Field("meshId", meshEntry.resourceId);
    r.Field("meshLibrary", meshEntry.libraryPath);
    r.Field("meshBytes", DS_BlobBytes(meshEntry));
    r.Field("meshName", meshEntry.name);
    r.Field("pictureId", textureEntry.resourceId);
    r.Field("pictureLibrary", textureEntry.libraryPath);
    r.Field("pictureBytes", DS_BlobBytes(textureEntry));
    r.Field("pictureName", textureEntry.name);
    r.Field("size", motion.size);
    r.Field("speed", motion.speed);
    r.Field("sway", motion.sway);
    r.Field("swayChange", motion.swayChange);
    r.Field("spin", motion.spin);
    r.Field("angle", motion.angle);
    r.Base("DS_ABObj_Constructor", static_cast<DS_ABObj_Constructor&>(*this));
  }
  void Write(DS_IOF_Virtual& out) const override;
  // The fields, then the motion's axes follow the stored angle.
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);
  std::unique_ptr<DS_ABObj> CreateObject() const override;

  DS_3D_in_2D_array* liveObject = nullptr;  // the live object made last; nothing reads it
  DS_ResourceEntry meshEntry;
  DS_ResourceEntry textureEntry;
  MediaParamT<uint32_t> count{0u};
  DS_FallMotion motion;
};

#ifdef _WIN32
class DS_3D_in_2D_array final : public DS_ABObj {
 public:
  explicit DS_3D_in_2D_array(std::unique_ptr<DS_3D_in_2D_array_Constructor> copy);
  ~DS_3D_in_2D_array() override;

  void Render(DS_2D_Light& layer) override;
  void DrawBounds(DS_2D_Light&, int) override {}
  // g_FallClock := time, then the elements move with the root's world as parent.
  void Update(float time) override;
  void SyncRect() override {}

  const DS_SpriteArrayT<DX_V::PNT>& Geometry() const { return m_Geometry; }
  size_t ElementCount() const { return m_Elements.Size(); }

 private:
  // Elements join at the back and leave from the front until there are `count` (capped); the
  // count is fixed from then on.
  void SyncElements();
  void AddChildFrame();

  DS_3D_in_2D_array_Constructor* m_Ctrl;  // the copy the base owns
  DS_SpriteArrayT<DX_V::PNT> m_Geometry;  // the mesh and its texture; its frame is the root
  DS_FrameChildren m_Elements{m_Geometry};
};

// The drift of one element across the picture.
class DS_SreamAnim : public DS_AnimationBase {
 public:
  // A random position on the picture, drift and speed factor.
  explicit DS_SreamAnim(const DS_FallMotion& motion);
  // Moves the position; the frame's world matrix is not written.
  void Animate(DS_Frame& frame) override;

  D3DXMATRIX positionMatrix;  // a translation to the element's position (x, y, 0)
  float drift = 0.0f;         // -1..1, sideways
  float lastDriftChange = 0.0f;
  float speedFactor = 0.0f;  // 0.07..0.13
  float lastTime = 0.0f;
  float dt = 0.0f;
  const DS_FallMotion* motion;

 protected:
  void Move();
};

// The drift plus tumbling about three axes and a swing on a circle.
class DS_LeafFallAnim final : public DS_SreamAnim {
 public:
  struct Angle {
    float rate, angle;  // degrees
  };

  explicit DS_LeafFallAnim(const DS_FallMotion& motion);
  // world := local x scaling to `size` pixels x tumbling x swing x position.
  void Animate(DS_Frame& frame) override;

  Angle spinX, spinY, spinZ, swingY, swingX;
};
#endif
