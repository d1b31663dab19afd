// The live object: what a slide updates and asks to draw each frame. It draws only through the
// layer's drawing interface.
#pragma once

#include <cstdint>

class DS_2D_Light;

class DS_ABObj {
 public:
  DS_ABObj() = default;
  virtual ~DS_ABObj() = default;
  DS_ABObj(const DS_ABObj&) = delete;
  DS_ABObj& operator=(const DS_ABObj&) = delete;

  virtual void Render(DS_2D_Light& layer) = 0;
  // The selection display, through DS_2D_Light::DrawMarkers.
  virtual void DrawBounds(DS_2D_Light& layer, int mode) = 0;
  virtual void Update(float time) = 0;
  // Pushes the view rectangle into the object's geometry.
  virtual void SyncRect() = 0;
  virtual void SetActive(bool active) { (void)active; }
  // Whether the object draws from the picture drawn so far (the layer then renders the scene
  // into its target first and hands it over).
  virtual bool NeedsSceneTexture() { return false; }
  virtual void Rewind() {}
  virtual bool HitTest(float x, float y) {
    (void)x;
    (void)y;
    return false;
  }
  // Device hooks: objects that hold default-pool targets or fonts release them on loss and make
  // them again on reset, so that the device can be reset at all.
  virtual void OnDeviceLost() {}
  virtual void OnDeviceReset() {}

  uint32_t word = 0;  // not used by the base
};
