// What a slide holds of each scene object while it plays.
#pragma once

#include <cstdint>
#include <memory>

class DS_2D_Light;
class DS_ABObj_Constructor;

// The live object: what a slide updates and asks to draw each frame. It owns the private clone
// of the parameter set that created it.
class DS_ABObj {
 public:
  DS_ABObj();
  explicit DS_ABObj(std::unique_ptr<DS_ABObj_Constructor> control);
  virtual ~DS_ABObj();
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

  // Calls the parameter set's query with this object; 0 without a parameter set.
  virtual uint32_t ForwardToCtrl();
  // The parameter set's restart (a slide restarts its objects when it becomes current).
  void RestartControl();
  DS_ABObj_Constructor* Control() const { return m_Control.get(); }

  uint32_t word = 0;  // not used by the base

 private:
  std::unique_ptr<DS_ABObj_Constructor> m_Control;
};
