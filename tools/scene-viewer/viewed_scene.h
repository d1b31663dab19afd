// What the viewer plays: a whole scene document (slide show and resource manager) or, for the
// layer tests, a single layer record with an optional manager. Both step the same way: a frame
// at an application time, and the device loss and reset hooks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/scene-viewer/viewer_options.h"

class DS_2D_Light;

class ViewedScene {
 public:
  virtual ~ViewedScene() = default;
  // Update and draw at application time t; the caller has begun the scene.
  virtual void Frame(float t) = 0;
  virtual void OnDeviceLost() = 0;
  virtual void OnDeviceReset() = 0;
  // The layer whose camera the trace follows: the only one, or the current slide's.
  virtual DS_2D_Light* TracedLayer() const = 0;
};

// Reads the document (a scene document when the bytes begin as one, else a layer document) and
// prepares it as the saver does at scene start. Decoding happens here, so the device must be
// current. Null with the reason when the document cannot be shown: the scene loader's code and
// what it found wrong, or what is wrong with the layer document.
std::unique_ptr<ViewedScene> LoadViewedScene(const std::vector<uint8_t>& bytes, const ViewerOptions& options,
                                             std::wstring& error);
