// The geometry of one particle system: one particle per sprite, updated through the parameter
// set's SpawnParticle and UpdateParticle, written into one managed indexed triangle list of four
// vertices and six indices per sprite; and its multi-frame form, which steps through the frames
// of an animated picture.
//
// The buffers are managed (they survive a device reset), so the geometry has nothing to release
// on device loss and nothing to make again on reset.
#pragma once

#include <memory>
#include <vector>

#include "core/data/change_listeners.h"
#include "core/render/mesh.h"
#include "objects/base_particles/ds_particle.h"

class DS_ParticleSystemCtrl;

class ParticleGeomArray : public DS_SpriteArrayT<DX_V::PCT> {
 public:
  ParticleGeomArray();
  ~ParticleGeomArray();
  ParticleGeomArray(const ParticleGeomArray&) = delete;
  ParticleGeomArray& operator=(const ParticleGeomArray&) = delete;

  // Listens to the control's count; the first call (at once) makes the buffers and particles.
  void AttachCountListener();
  // Buffers for min(n, 16383) sprites and particles up to that count (never fewer); n = 0 keeps
  // everything as it is.
  void OnCountChanged(uint32_t n);
  // The control's step, then every particle's update in list order.
  void Update(float time);
  // The sprites' vertices; skipped when the buffer does not hold the current count.
  void FillVertices();
  // Whether both buffers were made.
  bool CreateBuffers(int vertices, int indices);
  void FillIndices(uint32_t n);
  // The number of sprites the geometry draws for the control's count.
  uint32_t SpriteCount() const;

  DS_ParticleSystemCtrl* control = nullptr;  // not owned
  DS_ListenerSet listeners;
  std::vector<std::unique_ptr<DS_Particle>> particles;
  DS_SpriteSheetClock sheet;
  // Height over width of the sprite picture (1 without one); new particles take it.
  float pictureAspect = 1.0f;
};

// A geometry whose picture may have several frames, each shown for its own time.
template <class Geometry>
class AnimatedTexture : public Geometry {
 public:
  // Moves to the next frame once more than the current frame's time has passed since the last
  // switch; whether it moved.
  bool AdvanceFrame(float now) {
    if (frameTimes.empty()) return false;
    if (frame >= frameTimes.size()) frame = 0;
    if (now - lastSwitch > frameTimes[frame]) {
      lastSwitch = now;
      frame = (frame + 1) % static_cast<uint32_t>(frameTimes.size());
      return true;
    }
    return false;
  }

  std::vector<DS_ComHolder<IDirect3DTexture9>> textures;  // one per picture frame
  std::vector<float> frameTimes;
  int32_t width = 0, height = 0;
  float aspect = 1.0f;
  uint32_t frame = 0;
  float lastSwitch = 0.0f;
};
